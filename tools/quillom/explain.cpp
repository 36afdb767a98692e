#include <cstdio>

#include "cli_engine.h"
#include "commands.h"
#include "config/json.h"

namespace quillom::cli {

namespace {

const char* kHelp =
    "usage: quillom explain WORD [--layout en|ru|uk] [--app NAME] [--json] [common options]\n"
    "\n"
    "Shows what the engine decides for WORD, typed with the given layout active\n"
    "(default en) in the application NAME (default none).\n";

}  // namespace

int runExplain(std::vector<std::string> args) {
    CommonOptions common;
    if (const std::optional<int> exit = startCommand(args, "explain", kHelp, common)) return *exit;
    const bool asJson = takeFlag(args, "--json");
    const std::string layout = takeOption(args, "--layout").value_or("en");
    const std::string app = takeOption(args, "--app").value_or("");
    if (args.size() != 1) return usageError(kHelp);
    auto engine = Engine::open(common);
    if (!engine) return 1;
    const std::string& word = args.front();
    const Decision d = engine->evaluate(word, app, layout);
    if (asJson) {
        std::printf(
            "{\"input\": %s, \"should_correct\": %s, \"corrected\": %s, \"confidence\": %.4f, "
            "\"reason\": %s, \"target\": %s}\n",
            json::quote(word).c_str(), d.shouldCorrect ? "true" : "false", json::quote(d.corrected).c_str(),
            d.confidence, json::quote(d.reason).c_str(), json::quote(d.targetLang).c_str());
    } else {
        std::printf("%s -> %s\n", word.c_str(), d.shouldCorrect ? d.corrected.c_str() : "(unchanged)");
        std::printf("  corrects:   %s\n", d.shouldCorrect ? "yes" : "no");
        std::printf("  confidence: %.4f\n", d.confidence);
        std::printf("  reason:     %s\n", d.reason.c_str());
        std::printf("  target:     %s\n", d.targetLang.empty() ? "-" : d.targetLang.c_str());
    }
    return 0;
}

}  // namespace quillom::cli
