// libFuzzer target: arbitrary bytes as a rules file (decoding and a few
// evaluations on the result) and as words for the shipped rules file.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "config/json.h"
#include "config/rules_config.h"
#include "quillom.hpp"
#include "scoring/evaluate/rules_engine.h"

namespace {

namespace cabi = quillom::cabi;

cabi::EnginePtr createShippedEngine() {
    const auto prefs = std::filesystem::temp_directory_path() / "quillom-fuzz-prefs.json";
    std::ofstream(prefs) << R"({"active_languages": ["en", "uk", "ru"], "protect_endings_after_delete": false})";
    return cabi::createEngine(QUILLOM_RULES_FILE, prefs.string());
}

qm_engine* shippedEngine() {
    static const cabi::EnginePtr engine = createShippedEngine();
    return engine.get();
}

// The word stops at its first NUL, as a C caller's string would.
void evaluateWord(const std::string& word) {
    cabi::evaluateContext(shippedEngine(), word, "fuzz.exe", "en", false);
    cabi::evaluate(shippedEngine(), word, "fuzz.exe");
    cabi::convertSelection(shippedEngine(), word);
    cabi::convertSelectionTo(shippedEngine(), word, "uk");
}

void decodeRules(std::string_view text) {
    auto root = quillom::json::parse(text);
    if (!root || !root->isObject()) return;
    quillom::UserPreferences prefs;
    prefs.activeLanguages = {"en", "ru", "uk"};
    const quillom::RulesEngine engine(quillom::RulesConfig::parse(*root, prefs));
    for (const char* word : {"ghbdtn", "hello", "руддщ", "Ab,", "a1"})
        engine.evaluate(word, "fuzz.exe", std::string("en"), std::string("ru"));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (data[0] & 1) {
        decodeRules(rest);
    } else {
        evaluateWord(rest);
    }
    return 0;
}
