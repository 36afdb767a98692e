// Why the engine decided as it did. Inside the engine a reason is this enum;
// the C interface hands out its name, a snake_case string. Each reason's name,
// kind and whether it corrects are in one table, kReasons, in the enum's order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quillom {

enum class Reason : std::uint8_t {
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
    AmbiguousTarget,
    SessionLanguageTieBreak,
    AmbiguousTrailingUnknownStem,
    LayoutMismatchEdgePunctuation,
    LayoutFollowsLanguage,
    ScriptSwitchedByUser,
    MixedScriptNoClearWinner,
    MixedScriptDualEval,
    InternalError,
    // The C interface refused a word longer than any word it scores.
    InputTooLong,
};

enum class ReasonKind : std::uint8_t {
    WordVeto,     // the word itself is no candidate: empty, too long, digits, no known script
    ListVeto,     // a list or rule keeps it whatever it scores: never-correct, capitals, protected
    ContextVeto,  // where or how it was typed keeps it: excluded application, unseen start, layout changed by hand
    Direction,    // the scoring of one direction (or of both readings of a mixed word) decided
    Choosing,     // chosen among directions, or among readings of the word's marks
    Session,      // a rule after the word, of what the user has been typing
    Failure,      // the C interface caught an exception
};

struct ReasonRow {
    Reason reason;
    std::string_view name;
    ReasonKind kind;
    bool corrects;
};

inline constexpr ReasonRow kReasons[] = {
    {Reason::ExcludedApp, "excluded_app", ReasonKind::ContextVeto, false},
    {Reason::UnknownWordBeginning, "unknown_word_beginning", ReasonKind::ContextVeto, false},
    {Reason::EmptyToken, "empty_token", ReasonKind::WordVeto, false},
    {Reason::TooShort, "too_short", ReasonKind::WordVeto, false},
    {Reason::TooLong, "too_long", ReasonKind::WordVeto, false},
    {Reason::UppercaseRequiresExactPair, "uppercase_requires_exact_pair", ReasonKind::ListVeto, false},
    {Reason::NeverCorrect, "never_correct", ReasonKind::ListVeto, false},
    {Reason::MixedScript, "mixed_script", ReasonKind::WordVeto, false},
    {Reason::ContainsDigits, "contains_digits", ReasonKind::WordVeto, false},
    {Reason::UnknownScript, "unknown_script", ReasonKind::WordVeto, false},
    {Reason::ExactSeedPair, "exact_seed_pair", ReasonKind::Direction, true},
    {Reason::NoTargetLanguage, "no_target_language", ReasonKind::Direction, false},
    {Reason::NoMappingChange, "no_mapping_change", ReasonKind::Direction, false},
    {Reason::Length1NoExactPair, "length_1_no_exact_pair", ReasonKind::Direction, false},
    {Reason::LayoutMismatchLength1, "layout_mismatch_length_1", ReasonKind::Direction, true},
    {Reason::Length2NoExactMatch, "length_2_no_exact_match", ReasonKind::Direction, false},
    {Reason::Length2SessionMismatch, "length_2_session_mismatch", ReasonKind::Direction, false},
    {Reason::SameScriptTooShort, "same_script_too_short", ReasonKind::Direction, false},
    {Reason::SameScriptRequiresKnownWord, "same_script_requires_known_word", ReasonKind::Direction, false},
    {Reason::SameScriptSourceIsKnownWord, "same_script_source_is_known_word", ReasonKind::Direction, false},
    {Reason::SameScriptSourceIsInflectedWord, "same_script_source_is_inflected_word", ReasonKind::Direction, false},
    {Reason::SameScriptContextIsSourceLanguage, "same_script_context_is_source_language", ReasonKind::Direction, false},
    {Reason::CandidateScoreTooLow, "candidate_score_too_low", ReasonKind::Direction, false},
    {Reason::HighConfidenceGibberishBypass, "high_confidence_gibberish_bypass", ReasonKind::Direction, true},
    {Reason::ProtectedPattern, "protected_pattern", ReasonKind::ListVeto, false},
    {Reason::LayoutMismatchProtectedOverride, "layout_mismatch_protected_override", ReasonKind::Direction, true},
    {Reason::LayoutMismatch, "layout_mismatch", ReasonKind::Direction, true},
    {Reason::LowConfidence, "low_confidence", ReasonKind::Direction, false},
    {Reason::AmbiguousTarget, "ambiguous_target", ReasonKind::Choosing, false},
    {Reason::SessionLanguageTieBreak, "session_language_tie_break", ReasonKind::Choosing, true},
    {Reason::AmbiguousTrailingUnknownStem, "ambiguous_trailing_unknown_stem", ReasonKind::Choosing, false},
    {Reason::LayoutMismatchEdgePunctuation, "layout_mismatch_edge_punctuation", ReasonKind::Choosing, true},
    {Reason::LayoutFollowsLanguage, "layout_follows_language", ReasonKind::Session, false},
    {Reason::ScriptSwitchedByUser, "script_switched_by_user", ReasonKind::ContextVeto, false},
    {Reason::MixedScriptNoClearWinner, "mixed_script_no_clear_winner", ReasonKind::Direction, false},
    {Reason::MixedScriptDualEval, "mixed_script_dual_eval", ReasonKind::Direction, true},
    {Reason::InternalError, "internal_error", ReasonKind::Failure, false},
    {Reason::InputTooLong, "input_too_long", ReasonKind::WordVeto, false},
};

namespace reason_table {
constexpr bool inEnumOrder() {
    for (std::size_t i = 0; i < std::size(kReasons); ++i)
        if (static_cast<std::size_t>(kReasons[i].reason) != i) return false;
    return static_cast<std::size_t>(Reason::InputTooLong) + 1 == std::size(kReasons);
}
constexpr bool namesDistinct() {
    for (std::size_t i = 0; i < std::size(kReasons); ++i) {
        if (kReasons[i].name.empty()) return false;
        for (std::size_t j = i + 1; j < std::size(kReasons); ++j)
            if (kReasons[i].name == kReasons[j].name) return false;
    }
    return true;
}
constexpr bool onlyDecisionsCorrect() {
    for (const ReasonRow& row : kReasons)
        if (row.corrects && row.kind != ReasonKind::Direction && row.kind != ReasonKind::Choosing) return false;
    return true;
}
}  // namespace reason_table
static_assert(reason_table::inEnumOrder(), "kReasons holds every reason once, in the enum's order");
static_assert(reason_table::namesDistinct(), "every reason has a name of its own");
static_assert(reason_table::onlyDecisionsCorrect(), "a veto or a rule after the word never corrects");

constexpr const ReasonRow& reasonRow(Reason reason) { return kReasons[static_cast<std::size_t>(reason)]; }

// The reason's name as the C interface reports it.
constexpr std::string_view reasonName(Reason reason) { return reasonRow(reason).name; }

constexpr ReasonKind reasonKind(Reason reason) { return reasonRow(reason).kind; }

// Decided by scoring or by choosing among scored readings: a reading of the
// word's marks, or a rule after the word, may overturn it. A veto may not.
constexpr bool decidedByScoring(Reason reason) {
    return reasonKind(reason) == ReasonKind::Direction || reasonKind(reason) == ReasonKind::Choosing;
}

}  // namespace quillom
