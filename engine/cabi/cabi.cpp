// The exported C functions. Every export catches everything: nothing escapes
// into the caller, and no input makes a call fail.
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "cabi/engine_handle.h"
#include "quillom.h"
#include "unicode/unicode.h"

struct qm_engine {
    std::unique_ptr<quillom::EngineHandle> engine;
};

namespace {

using quillom::RulesDecision;

// A word longer than this many bytes is refused unscored: scoring it would
// only spend the caller's time (see quillom.h).
constexpr std::size_t kMaxWordBytes = QM_MAX_WORD_BYTES;

bool overLong(const char* s) { return s && strnlen(s, kMaxWordBytes + 1) > kMaxWordBytes; }

std::string inputString(const char* s) { return s ? quillom::unicode::sanitizeUtf8(s) : std::string(); }

// The caller's text in place when it is valid UTF-8 (the usual case, which
// copies nothing); otherwise its repaired copy, kept in repaired.
std::string_view inputText(const char* s, std::string& repaired) {
    if (!s) return {};
    const std::string_view text(s);
    if (quillom::unicode::isValidUtf8(text)) return text;
    repaired = quillom::unicode::sanitizeUtf8(text);
    return repaired;
}

std::optional<std::string> optionalString(const char* s) {
    if (!s || !*s) return std::nullopt;
    return quillom::unicode::sanitizeUtf8(s);
}

void writeCString(std::string_view s, char* buf, int32_t cap) {
    if (!buf || cap <= 0) return;
    size_t n = std::min(static_cast<size_t>(cap) - 1, s.size());
    std::memcpy(buf, s.data(), n);
    buf[n] = '\0';
}

// A fresh malloc'd copy, released by qm_free_string; null only when allocation fails.
char* makeCString(const std::string& s) {
    char* p = static_cast<char*>(std::malloc(s.size() + 1));
    if (!p) return nullptr;
    std::memcpy(p, s.data(), s.size());
    p[s.size()] = '\0';
    return p;
}

void writeDecision(const RulesDecision& d, int32_t* outShouldCorrect, double* outConfidence, char* outTargetLang,
                   int32_t outTargetLangCap, char* outReason, int32_t outReasonCap) {
    if (outShouldCorrect) *outShouldCorrect = d.shouldCorrect ? 1 : 0;
    if (outConfidence) *outConfidence = d.confidence;
    writeCString(d.targetLanguage.value_or(""), outTargetLang, outTargetLangCap);
    writeCString(quillom::reasonName(d.reason), outReason, outReasonCap);
}

char* evaluate(qm_engine* handle, const char* token, const char* appId, const char* activeInputSource,
               int32_t hasUnknownBeginning, bool trackSession, int32_t* outShouldCorrect, double* outConfidence,
               char* outTargetLang, int32_t outTargetLangCap, char* outReason, int32_t outReasonCap) noexcept {
    RulesDecision decision;
    decision.reason = quillom::Reason::InternalError;
    try {
        if (overLong(token)) {
            decision.reason = quillom::Reason::InputTooLong;
        } else if (handle && handle->engine) {
            std::string repairedToken, repairedAppId;
            decision =
                handle->engine->evaluate(inputText(token, repairedToken), inputText(appId, repairedAppId),
                                         optionalString(activeInputSource), hasUnknownBeginning != 0, trackSession);
        }
    } catch (...) {
        decision = RulesDecision{};
        decision.reason = quillom::Reason::InternalError;
    }
    try {
        writeDecision(decision, outShouldCorrect, outConfidence, outTargetLang, outTargetLangCap, outReason,
                      outReasonCap);
        return makeCString(decision.correctedToken.value_or(""));
    } catch (...) {
        return nullptr;
    }
}

// A word the memory of recent words does not take: an over-long one breaks
// the text before the next word.
char* evaluateInText(qm_engine* handle, const char* token, const char* appId, const char* activeInputSource,
                     int32_t hasUnknownBeginning, const char* between, int32_t* outShouldCorrect, double* outConfidence,
                     char* outTargetLang, int32_t outTargetLangCap, char* outReason, int32_t outReasonCap,
                     int32_t* outPiecesBefore, char** outBefore) noexcept {
    if (outPiecesBefore) *outPiecesBefore = 0;
    if (outBefore) *outBefore = nullptr;
    RulesDecision decision;
    decision.reason = quillom::Reason::InternalError;
    quillom::session::Session::WordsBefore before;
    try {
        if (overLong(token)) {
            decision.reason = quillom::Reason::InputTooLong;
            if (handle && handle->engine) handle->engine->breakText();
        } else if (handle && handle->engine) {
            std::string repairedToken, repairedAppId, repairedBetween;
            std::optional<std::string_view> gap;
            if (between && !overLong(between)) gap = inputText(between, repairedBetween);
            decision = handle->engine->evaluateInText(inputText(token, repairedToken), inputText(appId, repairedAppId),
                                                      optionalString(activeInputSource), hasUnknownBeginning != 0, gap,
                                                      before);
        }
    } catch (...) {
        decision = RulesDecision{};
        decision.reason = quillom::Reason::InternalError;
        before = {};
    }
    try {
        writeDecision(decision, outShouldCorrect, outConfidence, outTargetLang, outTargetLangCap, outReason,
                      outReasonCap);
        if (before.pieces > 0 && outPiecesBefore && outBefore) {
            *outBefore = makeCString(before.text);
            if (*outBefore) *outPiecesBefore = static_cast<int32_t>(before.pieces);
        }
        return makeCString(decision.correctedToken.value_or(""));
    } catch (...) {
        return nullptr;
    }
}

template <typename Convert>
char* convert(qm_engine* handle, char* outTargetLang, int32_t outTargetLangCap, Convert&& run) noexcept {
    try {
        if (!handle || !handle->engine) return nullptr;
        quillom::layout::ManualConversionResult result = run(*handle->engine);
        writeCString(result.targetLanguage, outTargetLang, outTargetLangCap);
        return makeCString(result.text);
    } catch (...) {
        return nullptr;
    }
}

}  // namespace

extern "C" {

QM_API qm_engine* qm_engine_create(const char* rulesPath, const char* prefsPath) {
    try {
        if (!rulesPath) return nullptr;
        auto engine = quillom::EngineHandle::create(rulesPath, prefsPath ? prefsPath : "");
        if (!engine) return nullptr;
        return new qm_engine{std::move(engine)};
    } catch (...) {
        return nullptr;
    }
}

QM_API void qm_engine_destroy(qm_engine* handle) { delete handle; }

QM_API void qm_free_string(char* p) { std::free(p); }

QM_API char* qm_engine_evaluate(qm_engine* handle, const char* token, const char* appID, int32_t* outShouldCorrect,
                                double* outConfidence, char* outTargetLang, int32_t outTargetLangCap, char* outReason,
                                int32_t outReasonCap) {
    return evaluate(handle, token, appID, nullptr, 0, false, outShouldCorrect, outConfidence, outTargetLang,
                    outTargetLangCap, outReason, outReasonCap);
}

QM_API char* qm_engine_evaluate_context(qm_engine* handle, const char* token, const char* appID,
                                        const char* activeInputSource, int32_t hasUnknownBeginning,
                                        int32_t* outShouldCorrect, double* outConfidence, char* outTargetLang,
                                        int32_t outTargetLangCap, char* outReason, int32_t outReasonCap) {
    return evaluate(handle, token, appID, activeInputSource, hasUnknownBeginning, true, outShouldCorrect, outConfidence,
                    outTargetLang, outTargetLangCap, outReason, outReasonCap);
}

QM_API char* qm_engine_evaluate_in_text(qm_engine* handle, const char* token, const char* appID,
                                        const char* activeInputSource, int32_t hasUnknownBeginning, const char* between,
                                        int32_t* outShouldCorrect, double* outConfidence, char* outTargetLang,
                                        int32_t outTargetLangCap, char* outReason, int32_t outReasonCap,
                                        int32_t* outPiecesBefore, char** outBefore) {
    return evaluateInText(handle, token, appID, activeInputSource, hasUnknownBeginning, between, outShouldCorrect,
                          outConfidence, outTargetLang, outTargetLangCap, outReason, outReasonCap, outPiecesBefore,
                          outBefore);
}

QM_API void qm_engine_reset_context(qm_engine* handle) {
    if (handle && handle->engine) handle->engine->resetContext();
}

QM_API char* qm_engine_convert_selection(qm_engine* handle, const char* text, const char* activeInputSource,
                                         char* outTargetLang, int32_t outTargetLangCap) {
    return convert(handle, outTargetLang, outTargetLangCap, [&](const quillom::EngineHandle& e) {
        return e.convertSelectionSmart(inputString(text), optionalString(activeInputSource));
    });
}

QM_API char* qm_engine_convert_selection_to(qm_engine* handle, const char* text, const char* target,
                                            char* outTargetLang, int32_t outTargetLangCap) {
    return convert(handle, outTargetLang, outTargetLangCap, [&](const quillom::EngineHandle& e) {
        return e.convertSelection(inputString(text), inputString(target));
    });
}

QM_API char* qm_engine_correct_word_before(qm_engine* handle, const char* previousWord, const char* token,
                                           const char* target) {
    try {
        if (!handle || !handle->engine) return nullptr;
        if (overLong(previousWord) || overLong(token)) return makeCString("");
        auto corrected =
            handle->engine->correctWordBefore(inputString(previousWord), inputString(token), inputString(target));
        return makeCString(corrected.value_or(""));
    } catch (...) {
        return nullptr;
    }
}

}  // extern "C"
