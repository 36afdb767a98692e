// An engine on the shipped rules file for a set of active languages, and one
// word asked of it through the C interface: what the tables of word classes
// share.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "quillom.hpp"

namespace quillom::test {

// The engine for `languages` (a JSON array of language keys); null when the
// shipped rules file cannot be read.
inline cabi::EnginePtr shippedEngine(const char* languages) {
    const std::filesystem::path prefs =
        std::filesystem::temp_directory_path() / ("quillom-shipped-" + std::to_string(::getpid()) + ".json");
    std::ofstream(prefs) << R"({"active_languages": )" << languages << "}";
    cabi::EnginePtr e(qm_engine_create(QUILLOM_RULES_FILE, prefs.string().c_str()));
    std::filesystem::remove(prefs);
    return e;
}

struct ContextDecision {
    bool corrected = false;
    std::string text;  // "" when the word stays
};

// `word` typed on the layout of `layout`, in the engine's running session.
inline ContextDecision evaluateContext(qm_engine* e, const char* word, const char* layout) {
    int32_t should = -1;
    double confidence = 0;
    char target[16];
    char reason[64];
    cabi::OwnedString s(qm_engine_evaluate_context(e, word, "app.exe", layout, 0, &should, &confidence, target,
                                                   sizeof target, reason, sizeof reason));
    EXPECT_NE(s, nullptr);
    return {should == 1, s ? s.get() : ""};
}

}  // namespace quillom::test
