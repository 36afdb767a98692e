// Why the engine decided as it did. Inside the engine a reason is this enum;
// the C interface hands out its name, a snake_case string.
#pragma once

#include <cstdint>
#include <string_view>

namespace quillom {

enum class Reason : std::uint8_t {
    // Vetoes before scoring.
    ExcludedApp,
    UnknownWordBeginning,
    EmptyToken,
    TooShort,
    TooLong,
    UppercaseRequiresExactPair,
    NeverCorrect,
    MixedScript,
    ContainsDigits,
    UnknownScript,
    ExactSeedPair,
    NoTargetLanguage,
    // One direction's pair diagnosis.
    NoMappingChange,
    Length1NoExactPair,
    LayoutMismatchLength1,
    Length2NoExactMatch,
    Length2SessionMismatch,
    SameScriptTooShort,
    SameScriptRequiresKnownWord,
    SameScriptSourceIsKnownWord,
    SameScriptSourceIsInflectedWord,
    SameScriptContextIsSourceLanguage,
    CandidateScoreTooLow,
    HighConfidenceGibberishBypass,
    ProtectedPattern,
    LayoutMismatchProtectedOverride,
    LayoutMismatch,
    LowConfidence,
    // Choosing among directions and readings.
    AmbiguousTarget,
    SessionLanguageTieBreak,
    AmbiguousTrailingUnknownStem,
    LayoutMismatchEdgePunctuation,
    // A kept word whose language is another layout's of the same script.
    LayoutFollowsLanguage,
    // A word typed just after the user changed the layout's script by hand.
    ScriptSwitchedByUser,
    // Words mixing Latin and Cyrillic letters.
    MixedScriptNoClearWinner,
    MixedScriptDualEval,
    // The C interface caught an exception.
    InternalError,
    // The C interface refused a word longer than any word it scores.
    InputTooLong,
};

// The reason's name as the C interface reports it.
std::string_view reasonName(Reason reason);

}  // namespace quillom
