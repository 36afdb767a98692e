// A header-only C++ view of quillom.h for the programs that call the engine:
// the handle and the returned strings held by RAII types, one evaluation as
// one value. It calls only the qm_ functions, so it adds nothing to link.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "quillom.h"

namespace quillom::cabi {

struct EngineDeleter {
    void operator()(qm_engine* e) const noexcept { qm_engine_destroy(e); }
};
using EnginePtr = std::unique_ptr<qm_engine, EngineDeleter>;

// A string returned by the engine; null when the engine could not allocate it.
struct StringDeleter {
    void operator()(char* p) const noexcept { qm_free_string(p); }
};
using OwnedString = std::unique_ptr<char, StringDeleter>;

// Null when the rules file cannot be read or is not a JSON object.
inline EnginePtr createEngine(const std::string& rulesPath, const std::string& prefsPath) {
    return EnginePtr(qm_engine_create(rulesPath.c_str(), prefsPath.c_str()));
}

// The text of an owned string, released here; empty for null.
inline std::string takeString(char* s) {
    OwnedString owned(s);
    return owned ? std::string(owned.get()) : std::string();
}

// Room for a language code and for the longest reason, with margin.
inline constexpr int32_t kLanguageCap = 16;
inline constexpr int32_t kReasonCap = 64;

struct Decision {
    bool shouldCorrect = false;
    std::string corrected;  // UTF-8; empty when there is no correction
    double confidence = 0.0;
    std::string targetLang;
    std::string reason;
    // In running text: how many pieces before the word, between single
    // spaces on screen, go with it, and their new text.
    int32_t piecesBefore = 0;
    std::string before{};

    // A kept word that belongs to the language of another layout of its
    // script (reason "layout_follows_language"): that language, whose layout
    // the caller switches to without retyping anything; empty otherwise.
    std::string layoutToFollow() const {
        return !shouldCorrect && reason == "layout_follows_language" ? targetLang : std::string();
    }
};

struct Conversion {
    std::string text;  // UTF-8, empty when the engine converted nothing
    std::string targetLang;
};

// inputSource empty: the active layout is unknown.
inline Decision evaluateContext(qm_engine* engine, const std::string& word, const std::string& appId,
                                const std::string& inputSource, bool hasUnknownBeginning) {
    int32_t shouldCorrect = 0;
    Decision d;
    char targetLang[kLanguageCap] = {};
    char reason[kReasonCap] = {};
    d.corrected = takeString(qm_engine_evaluate_context(engine, word.c_str(), appId.c_str(), inputSource.c_str(),
                                                        hasUnknownBeginning ? 1 : 0, &shouldCorrect, &d.confidence,
                                                        targetLang, kLanguageCap, reason, kReasonCap));
    d.shouldCorrect = shouldCorrect == 1;
    d.targetLang = targetLang;
    d.reason = reason;
    return d;
}

// In running text: between is what was typed since the last word given here
// ended (see qm_engine_evaluate_in_text); null when unknown.
inline Decision evaluateInText(qm_engine* engine, const std::string& word, const std::string& appId,
                               const std::string& inputSource, bool hasUnknownBeginning, const char* between) {
    int32_t shouldCorrect = 0;
    Decision d;
    char targetLang[kLanguageCap] = {};
    char reason[kReasonCap] = {};
    char* before = nullptr;
    d.corrected = takeString(qm_engine_evaluate_in_text(
        engine, word.c_str(), appId.c_str(), inputSource.c_str(), hasUnknownBeginning ? 1 : 0, between, &shouldCorrect,
        &d.confidence, targetLang, kLanguageCap, reason, kReasonCap, &d.piecesBefore, &before));
    d.before = takeString(before);
    d.shouldCorrect = shouldCorrect == 1;
    d.targetLang = targetLang;
    d.reason = reason;
    return d;
}

// Without context: no session language, no active layout.
inline Decision evaluate(qm_engine* engine, const std::string& word, const std::string& appId) {
    int32_t shouldCorrect = 0;
    Decision d;
    char targetLang[kLanguageCap] = {};
    char reason[kReasonCap] = {};
    d.corrected = takeString(qm_engine_evaluate(engine, word.c_str(), appId.c_str(), &shouldCorrect, &d.confidence,
                                                targetLang, kLanguageCap, reason, kReasonCap));
    d.shouldCorrect = shouldCorrect == 1;
    d.targetLang = targetLang;
    d.reason = reason;
    return d;
}

// The engine chooses the direction.
inline Conversion convertSelection(qm_engine* engine, const std::string& text) {
    char targetLang[kLanguageCap] = {};
    std::string converted =
        takeString(qm_engine_convert_selection(engine, text.c_str(), nullptr, targetLang, kLanguageCap));
    return {converted, targetLang};
}

// To the layout of language target ("en", "ru", "uk").
inline Conversion convertSelectionTo(qm_engine* engine, const std::string& text, const std::string& target) {
    char targetLang[kLanguageCap] = {};
    std::string converted =
        takeString(qm_engine_convert_selection_to(engine, text.c_str(), target.c_str(), targetLang, kLanguageCap));
    return {converted, targetLang};
}

}  // namespace quillom::cabi
