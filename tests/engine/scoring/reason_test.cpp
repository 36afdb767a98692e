#include "scoring/reason.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace quillom {
namespace {

// The names callers of the C interface receive; a renamed or duplicated
// name would break the application's log, the golden tests and the
// accuracy benchmark's reports.
TEST(Reason, EveryReasonHasItsOwnName) {
    const std::pair<Reason, const char*> names[] = {
        {Reason::ExcludedApp, "excluded_app"},
        {Reason::UnknownWordBeginning, "unknown_word_beginning"},
        {Reason::EmptyToken, "empty_token"},
        {Reason::TooShort, "too_short"},
        {Reason::TooLong, "too_long"},
        {Reason::UppercaseRequiresExactPair, "uppercase_requires_exact_pair"},
        {Reason::NeverCorrect, "never_correct"},
        {Reason::MixedScript, "mixed_script"},
        {Reason::ContainsDigits, "contains_digits"},
        {Reason::UnknownScript, "unknown_script"},
        {Reason::ExactSeedPair, "exact_seed_pair"},
        {Reason::NoTargetLanguage, "no_target_language"},
        {Reason::NoMappingChange, "no_mapping_change"},
        {Reason::Length1NoExactPair, "length_1_no_exact_pair"},
        {Reason::LayoutMismatchLength1, "layout_mismatch_length_1"},
        {Reason::Length2NoExactMatch, "length_2_no_exact_match"},
        {Reason::Length2SessionMismatch, "length_2_session_mismatch"},
        {Reason::SameScriptTooShort, "same_script_too_short"},
        {Reason::SameScriptRequiresKnownWord, "same_script_requires_known_word"},
        {Reason::SameScriptSourceIsKnownWord, "same_script_source_is_known_word"},
        {Reason::SameScriptSourceIsInflectedWord, "same_script_source_is_inflected_word"},
        {Reason::SameScriptContextIsSourceLanguage, "same_script_context_is_source_language"},
        {Reason::CandidateScoreTooLow, "candidate_score_too_low"},
        {Reason::HighConfidenceGibberishBypass, "high_confidence_gibberish_bypass"},
        {Reason::ProtectedPattern, "protected_pattern"},
        {Reason::LayoutMismatchProtectedOverride, "layout_mismatch_protected_override"},
        {Reason::LayoutMismatch, "layout_mismatch"},
        {Reason::LowConfidence, "low_confidence"},
        {Reason::AmbiguousTarget, "ambiguous_target"},
        {Reason::SessionLanguageTieBreak, "session_language_tie_break"},
        {Reason::AmbiguousTrailingUnknownStem, "ambiguous_trailing_unknown_stem"},
        {Reason::LayoutMismatchEdgePunctuation, "layout_mismatch_edge_punctuation"},
        {Reason::LayoutFollowsLanguage, "layout_follows_language"},
        {Reason::ScriptSwitchedByUser, "script_switched_by_user"},
        {Reason::MixedScriptNoClearWinner, "mixed_script_no_clear_winner"},
        {Reason::MixedScriptDualEval, "mixed_script_dual_eval"},
        {Reason::InternalError, "internal_error"},
    };
    std::set<std::string_view> seen;
    for (const auto& [reason, name] : names) {
        EXPECT_EQ(reasonName(reason), name);
        EXPECT_TRUE(seen.insert(reasonName(reason)).second) << name;
    }
    // The table covers the whole enum (its last member closes the list).
    EXPECT_EQ(static_cast<std::size_t>(Reason::InternalError) + 1, std::size(names));
}

}  // namespace
}  // namespace quillom
