// libFuzzer target: arbitrary bytes as a rules file (decoding and a few
// evaluations on the result) and as words for the shipped rules file.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "config/json.h"
#include "config/rules_config.h"
#include "quillom.h"
#include "scoring/rules_engine.h"

namespace {

qm_engine* createShippedEngine() {
    const auto prefs = std::filesystem::temp_directory_path() / "quillom-fuzz-prefs.json";
    std::ofstream(prefs) << R"({"active_languages": ["en", "uk", "ru"], "protect_endings_after_delete": false})";
    return qm_engine_create(QUILLOM_RULES_FILE, prefs.string().c_str());
}

qm_engine* shippedEngine() {
    static qm_engine* engine = createShippedEngine();
    return engine;
}

void evaluateWord(const std::string& word) {
    int32_t should = 0;
    double confidence = 0;
    char target[16], reason[64], lang[16];
    qm_free_string(qm_engine_evaluate_context(shippedEngine(), word.c_str(), "fuzz.exe", "en", 0, &should,
                                              &confidence, target, sizeof target, reason, sizeof reason));
    qm_free_string(qm_engine_evaluate(shippedEngine(), word.c_str(), "fuzz.exe", &should, &confidence, target,
                                      sizeof target, reason, sizeof reason));
    qm_free_string(qm_engine_convert_selection(shippedEngine(), word.c_str(), nullptr, lang, sizeof lang));
    qm_free_string(qm_engine_convert_selection_to(shippedEngine(), word.c_str(), "uk", lang, sizeof lang));
}

void decodeRules(std::string_view text) {
    auto root = quillom::json::parse(text);
    if (!root || !root->isObject()) return;
    quillom::UserPreferences prefs;
    prefs.activeLanguages = {"en", "ru", "uk"};
    const quillom::RulesEngine engine(quillom::RulesConfig::parse(*root, prefs));
    for (const char* word : {"ghbdtn", "hello", "руддщ", "Ab,", "a1"})
        engine.evaluate(word, "fuzz.exe", false, std::string("en"), std::string("ru"));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (data[0] & 1) {
        decodeRules(rest);
    } else {
        evaluateWord(rest);  // stops at the first NUL, as a C caller's string would
    }
    return 0;
}
