#include <cstdio>
#include <map>

#include "cli_engine.h"
#include "commands.h"
#include "config/file_bytes.h"
#include "config/json.h"

namespace quillom::cli {

namespace {

const char* kHelp =
    "usage: quillom golden [--verbose] [common options]\n"
    "\n"
    "Runs the \"golden_tests\" of the rules file through the engine and prints each\n"
    "failure and a summary; exits with 1 when a test fails.\n"
    "\n"
    "Modes: \"auto\" evaluates the input as a finished word typed with\n"
    "\"active_input_source\" (default en), after three words of \"session_language\"\n"
    "when one is given; the output (the correction, or the input when there is\n"
    "none) must equal \"expected\" and the reason \"reason\". \"convert\" converts the\n"
    "input as selected text; \"convert_en\", \"convert_ru\" and \"convert_uk\" convert it\n"
    "to that language; the result must equal \"expected\".\n";

// Words of one language only, to establish a session language. They are
// typed on the layout of the test's input, corrected where that is another:
// a word kept on another layout just before would be a layout changed by
// hand, which the input then follows.
const std::map<std::string, std::string> kSessionPrimers{{"en", "hello"}, {"ru", "привет"}, {"uk", "привіт"}};

struct Outcome {
    bool pass = false;
    std::string got;
};

Outcome runAuto(Engine& engine, const json::Value& test, const std::string& app) {
    const std::string input = json::findString(test, "input").value_or("");
    const std::string layout = json::findString(test, "active_input_source").value_or("en");
    if (auto session = json::findString(test, "session_language")) {
        auto primer = kSessionPrimers.find(*session);
        if (primer != kSessionPrimers.end()) {
            const std::string typed = layout == *session ? primer->second : engine.convertTo(primer->second, layout);
            for (int i = 0; i < 3; ++i) engine.evaluate(typed, app, layout);
        }
    }
    const Decision d = engine.evaluate(input, app, layout);
    const std::string output = d.shouldCorrect ? d.corrected : input;
    const bool pass = output == json::findString(test, "expected").value_or("") &&
                      d.reason == json::findString(test, "reason").value_or("");
    return {pass, output + " (" + d.reason + (d.targetLang.empty() ? "" : ", " + d.targetLang) + ")"};
}

Outcome runOne(Engine& engine, const json::Value& test, const std::string& app) {
    const std::string mode = json::findString(test, "mode").value_or("");
    const std::string input = json::findString(test, "input").value_or("");
    const std::string expected = json::findString(test, "expected").value_or("");
    if (mode == "auto") return runAuto(engine, test, app);
    std::string got;
    if (mode == "convert") got = engine.convertSmart(input);
    else if (mode == "convert_en" || mode == "convert_ru" || mode == "convert_uk")
        got = engine.convertTo(input, mode.substr(8));
    else return {false, "unknown mode '" + mode + "'"};
    return {got == expected, got};
}

bool isComplete(const json::Value& test) {
    for (const char* key : {"input", "expected", "mode", "reason"})
        if (!json::findString(test, key)) return false;
    return true;
}

}  // namespace

int runGolden(std::vector<std::string> args) {
    CommonOptions common;
    if (const std::optional<int> exit = startCommand(args, "golden", kHelp, common)) return *exit;
    const bool verbose = takeFlag(args, "--verbose");
    if (!args.empty()) return usageError(kHelp);
    auto engine = Engine::open(common);
    if (!engine) return 1;
    auto root = json::parse(readConfigText(common.rulesPath).value_or(""));
    const json::Value* tests = root ? json::findArray(*root, "golden_tests") : nullptr;
    if (!tests) {
        std::fprintf(stderr, "quillom golden: the rules file has no \"golden_tests\" array\n");
        return 1;
    }
    int passed = 0, failed = 0, index = 0;
    for (const auto& test : tests->asArray()) {
        if (!isComplete(test)) continue;
        // A distinct application per test starts each one with a fresh session.
        const Outcome o = runOne(*engine, test, "golden-" + std::to_string(index++));
        (o.pass ? passed : failed)++;
        if (!o.pass || verbose) {
            std::printf("%s [%s] %s: expected %s (%s), got %s\n", o.pass ? "PASS" : "FAIL",
                        json::findString(test, "mode")->c_str(), json::findString(test, "input")->c_str(),
                        json::findString(test, "expected")->c_str(), json::findString(test, "reason")->c_str(),
                        o.got.c_str());
        }
    }
    std::printf("%d golden tests: %d passed, %d failed\n", passed + failed, passed, failed);
    return failed == 0 ? 0 : 1;
}

}  // namespace quillom::cli
