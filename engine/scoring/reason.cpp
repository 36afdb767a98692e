#include "scoring/reason.h"

namespace quillom {

std::string_view reasonName(Reason reason) {
    switch (reason) {
    case Reason::ExcludedApp: return "excluded_app";
    case Reason::UnknownWordBeginning: return "unknown_word_beginning";
    case Reason::EmptyToken: return "empty_token";
    case Reason::TooShort: return "too_short";
    case Reason::TooLong: return "too_long";
    case Reason::UppercaseRequiresExactPair: return "uppercase_requires_exact_pair";
    case Reason::NeverCorrect: return "never_correct";
    case Reason::MixedScript: return "mixed_script";
    case Reason::ContainsDigits: return "contains_digits";
    case Reason::UnknownScript: return "unknown_script";
    case Reason::ExactSeedPair: return "exact_seed_pair";
    case Reason::NoTargetLanguage: return "no_target_language";
    case Reason::NoMappingChange: return "no_mapping_change";
    case Reason::Length1NoExactPair: return "length_1_no_exact_pair";
    case Reason::LayoutMismatchLength1: return "layout_mismatch_length_1";
    case Reason::Length2NoExactMatch: return "length_2_no_exact_match";
    case Reason::Length2SessionMismatch: return "length_2_session_mismatch";
    case Reason::SameScriptTooShort: return "same_script_too_short";
    case Reason::SameScriptRequiresKnownWord: return "same_script_requires_known_word";
    case Reason::SameScriptSourceIsKnownWord: return "same_script_source_is_known_word";
    case Reason::SameScriptSourceIsInflectedWord: return "same_script_source_is_inflected_word";
    case Reason::SameScriptContextIsSourceLanguage: return "same_script_context_is_source_language";
    case Reason::CandidateScoreTooLow: return "candidate_score_too_low";
    case Reason::HighConfidenceGibberishBypass: return "high_confidence_gibberish_bypass";
    case Reason::ProtectedPattern: return "protected_pattern";
    case Reason::LayoutMismatchProtectedOverride: return "layout_mismatch_protected_override";
    case Reason::LayoutMismatch: return "layout_mismatch";
    case Reason::LowConfidence: return "low_confidence";
    case Reason::AmbiguousTarget: return "ambiguous_target";
    case Reason::SessionLanguageTieBreak: return "session_language_tie_break";
    case Reason::AmbiguousTrailingUnknownStem: return "ambiguous_trailing_unknown_stem";
    case Reason::LayoutMismatchEdgePunctuation: return "layout_mismatch_edge_punctuation";
    case Reason::LayoutFollowsLanguage: return "layout_follows_language";
    case Reason::ScriptSwitchedByUser: return "script_switched_by_user";
    case Reason::MixedScriptNoClearWinner: return "mixed_script_no_clear_winner";
    case Reason::MixedScriptDualEval: return "mixed_script_dual_eval";
    case Reason::InternalError: return "internal_error";
    case Reason::InputTooLong: return "input_too_long";
    }
    return "internal_error";
}

}  // namespace quillom
