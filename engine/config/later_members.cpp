#include "config/later_members.h"

#include <algorithm>

#include "config/json.h"
#include "config/json_fields.h"
#include "config/rules_config.h"

namespace quillom {

namespace {

using Type = LaterMember::Type;

// clang-format off
constexpr LaterMember kRows[] = {
    // section, key, type, generation 1, generation 2, field
    {"tokenization", "edge_punctuation_auto", Type::Bool, 0, 1,
     [](RulesConfig& c, int64_t v) { c.tokenization.edgePunctuationAuto = v != 0; }},
    {"tokenization", "prefer_whole_known_word", Type::Bool, 0, 1,
     [](RulesConfig& c, int64_t v) { c.tokenization.preferWholeKnownWord = v != 0; }},
    {"tokenization", "key_marks_at_edges", Type::Bool, 0, 1,
     [](RulesConfig& c, int64_t v) { c.tokenization.keyMarksAtEdges = v != 0; }},
    {"tokenization", "leading_letter_marks", Type::Bool, 0, 1,
     [](RulesConfig& c, int64_t v) { c.tokenization.leadingLetterMarks = v != 0; }},
    {"tokenization", "letter_key_marks_in_word", Type::Bool, 0, 1,
     [](RulesConfig& c, int64_t v) { c.tokenization.letterKeyMarksInWord = v != 0; }},
    {"tokenization", "trailing_letter_makes_word", Type::Bool, 0, 1,
     [](RulesConfig& c, int64_t v) { c.tokenization.trailingLetterMakesWord = v != 0; }},
    {"tokenization", "trailing_reading_keeps_vetoes", Type::Bool, 0, 1,
     [](RulesConfig& c, int64_t v) { c.tokenization.trailingReadingKeepsVetoes = v != 0; }},
    {"tokenization", "apostrophes_in_known_words", Type::Bool, 0, 1,
     [](RulesConfig& c, int64_t v) { c.tokenization.apostrophesInKnownWords = v != 0; }},
    {"tokenization", "leading_mark_before_capital_kept", Type::Bool, 0, 1,
     [](RulesConfig& c, int64_t v) { c.tokenization.leadingMarkBeforeCapitalKept = v != 0; }},
    {"tokenization", "edge_colon_letter_auto", Type::Bool, 0, 1,
     [](RulesConfig& c, int64_t v) { c.tokenization.edgeColonLetterAuto = v != 0; }},
    {"tokenization", "edge_leading_ellipsis_auto", Type::Bool, 0, 1,
     [](RulesConfig& c, int64_t v) { c.tokenization.edgeLeadingEllipsisAuto = v != 0; }},
    {"keyboard_layout", "selection_keeps_typed_marks", Type::Bool, 0, 1,
     [](RulesConfig& c, int64_t v) { c.keyboardLayout.selectionKeepsTypedMarks = v != 0; }},
    {"decision.auto_thresholds", "gibberish_bypass_min_length", Type::Integer, 0, 3,
     [](RulesConfig& c, int64_t v) { c.decision.gibberishBypassMinLength = v; }},
    {"decision.auto_thresholds", "gibberish_bypass_needs_vowel", Type::Bool, 0, 1,
     [](RulesConfig& c, int64_t v) { c.decision.gibberishBypassNeedsVowel = v != 0; }},
    {"decision.auto_thresholds", "protected_override_min_length", Type::Integer, 0, 3,
     [](RulesConfig& c, int64_t v) { c.decision.protectedOverrideMinLength = v; }},
    {"decision.auto_thresholds", "capitals_word_max_band", Type::Integer, 0, 60,
     [](RulesConfig& c, int64_t v) { c.decision.capitalsWordMaxBand = v; }},
    {"decision", "keep_word_after_script_switch", Type::Bool, 0, 1,
     [](RulesConfig& c, int64_t v) { c.decision.keepWordAfterScriptSwitch = v != 0; }},
    {"decision", "typed_word_known_in_script", Type::Bool, 0, 1,
     [](RulesConfig& c, int64_t v) { c.decision.typedWordKnownInScript = v != 0; }},
    {"decision", "kept_twin_counts_for_none", Type::Bool, 0, 1,
     [](RulesConfig& c, int64_t v) { c.decision.keptTwinCountsForNone = v != 0; }},
    {"decision.language_evidence", "window", Type::Integer, 0, 8,
     [](RulesConfig& c, int64_t v) { c.decision.languageEvidence.window = std::clamp<int64_t>(v, 0, LanguageEvidenceConfig::maxWindow); }},
    {"decision.language_evidence", "min_lead", Type::Integer, 2, 1,
     [](RulesConfig& c, int64_t v) { c.decision.languageEvidence.minLead = v; }},
    {"decision.language_evidence", "twin_rank_margin", Type::Integer, 0, 8,
     [](RulesConfig& c, int64_t v) { c.decision.languageEvidence.twinRankMargin = v; }},
    {"decision.language_evidence", "same_text_rank_margin", Type::Integer, 0, 10,
     [](RulesConfig& c, int64_t v) { c.decision.languageEvidence.sameTextRankMargin = v; }},
    {"decision.language_evidence", "text_start_twin_rank_margin", Type::Integer, 0, 5,
     [](RulesConfig& c, int64_t v) { c.decision.languageEvidence.textStartTwinRankMargin = v; }},
    {"decision.language_evidence", "twin_known_tail_min_length", Type::Integer, 0, 4,
     [](RulesConfig& c, int64_t v) { c.decision.languageEvidence.twinKnownTailMinLength = v; }},
    {"decision.language_evidence", "same_text_layout_rank_margin", Type::Integer, 0, 16,
     [](RulesConfig& c, int64_t v) { c.decision.languageEvidence.sameTextLayoutRankMargin = v; }},
    {"decision", "text_start_taken_along", Type::Bool, 0, 1,
     [](RulesConfig& c, int64_t v) { c.decision.textStartTakenAlong = v != 0; }},
    {"decision", "keep_joined_piece_after_script_switch", Type::Bool, 0, 1,
     [](RulesConfig& c, int64_t v) { c.decision.keepJoinedPieceAfterScriptSwitch = v != 0; }},
    {"decision", "capital_after_lower_kept", Type::Bool, 0, 1,
     [](RulesConfig& c, int64_t v) { c.decision.capitalAfterLowerKept = v != 0; }},
    {"tokenization", "quote_keys_at_word_edges", Type::Bool, 0, 1,
     [](RulesConfig& c, int64_t v) { c.tokenization.quoteKeysAtEdges = v != 0; }},
    {"keyboard_layout", "selection_marks_by_target_layout", Type::Bool, 0, 1,
     [](RulesConfig& c, int64_t v) { c.keyboardLayout.selectionMarksByTargetLayout = v != 0; }},
    {"tokenization", "possessive_keys_after_word", Type::Bool, 0, 1,
     [](RulesConfig& c, int64_t v) { c.tokenization.possessiveKeysAfterWord = v != 0; }},
    {"tokenization", "quote_key_before_inner_capital", Type::Bool, 0, 1,
     [](RulesConfig& c, int64_t v) { c.tokenization.quoteKeyBeforeInnerCapital = v != 0; }},
    {"decision", "same_script_unlisted_reading", Type::Bool, 0, 1,
     [](RulesConfig& c, int64_t v) { c.decision.sameScriptUnlistedReading = v != 0; }},
    {"tokenization", "slash_key_of_russian_layout", Type::Bool, 0, 1,
     [](RulesConfig& c, int64_t v) { c.tokenization.slashKeyOfRussianLayout = v != 0; }},
    {"decision", "text_start_letter_min_band", Type::Integer, 0, 36,
     [](RulesConfig& c, int64_t v) { c.decision.textStartLetterMinBand = v; }},
    {"decision", "number_with_letters_taken_along", Type::Bool, 0, 1,
     [](RulesConfig& c, int64_t v) { c.decision.numberWithLettersTakenAlong = v != 0; }},
    {"decision", "rare_reading_min_band_in_typed_text", Type::Integer, 0, 50,
     [](RulesConfig& c, int64_t v) { c.decision.rareReadingMinBandInTypedText = v; }},
    {"tokenization", "slash_joined_words", Type::Bool, 0, 1,
     [](RulesConfig& c, int64_t v) { c.tokenization.slashJoinedWords = v != 0; }},
    {"decision", "capitals_of_no_acronym_read", Type::Bool, 0, 1,
     [](RulesConfig& c, int64_t v) { c.decision.capitalsOfNoAcronymRead = v != 0; }},
    {"decision", "top_reading_max_band", Type::Integer, 0, 28,
     [](RulesConfig& c, int64_t v) { c.decision.topReadingMaxBand = v; }},
    {"tokenization", "bar_key_of_russian_slash", Type::Bool, 0, 1,
     [](RulesConfig& c, int64_t v) { c.tokenization.barKeyOfRussianSlash = v != 0; }},
    {"decision", "two_letters_kept_in_text_of_typed", Type::Bool, 0, 1,
     [](RulesConfig& c, int64_t v) { c.decision.twoLettersKeptInTextOfTyped = v != 0; }},
    {"decision", "capitals_in_text_of_target_read", Type::Bool, 0, 1,
     [](RulesConfig& c, int64_t v) { c.decision.capitalsInTextOfTargetRead = v != 0; }},
    {"keyboard_layout", "selection_keeps_english_words", Type::Bool, 0, 1,
     [](RulesConfig& c, int64_t v) { c.keyboardLayout.selectionKeepsEnglishWords = v != 0; }},
    {"keyboard_layout", "selection_target_by_letters", Type::Bool, 0, 1,
     [](RulesConfig& c, int64_t v) { c.keyboardLayout.selectionTargetByLetters = v != 0; }},
    {"decision", "form_of_listed_word_in_text_of_typed", Type::Bool, 0, 1,
     [](RulesConfig& c, int64_t v) { c.decision.formOfListedWordInTextOfTyped = v != 0; }},
    {"decision", "reading_beginning_no_word_kept", Type::Bool, 0, 1,
     [](RulesConfig& c, int64_t v) { c.decision.readingBeginningNoWordKept = v != 0; }},
    {"decision", "corrected_run_min_words", Type::Integer, 0, 2,
     [](RulesConfig& c, int64_t v) { c.decision.correctedRunMinWords = v; }},
    {"decision", "corrected_run_reads_apostrophe", Type::Bool, 0, 1,
     [](RulesConfig& c, int64_t v) { c.decision.correctedRunReadsApostrophe = v != 0; }},
    {"decision", "corrected_run_spans_one_letter", Type::Bool, 0, 1,
     [](RulesConfig& c, int64_t v) { c.decision.correctedRunSpansOneLetter = v != 0; }},
    {"decision", "corrected_run_spans_unlisted_words", Type::Bool, 0, 1,
     [](RulesConfig& c, int64_t v) { c.decision.correctedRunSpansUnlistedWords = v != 0; }},
    {"decision", "corrected_run_reads_leading_marks", Type::Bool, 0, 1,
     [](RulesConfig& c, int64_t v) { c.decision.correctedRunReadsLeadingMarks = v != 0; }},
    {"decision", "corrected_run_picks_unlisted_reading", Type::Bool, 0, 1,
     [](RulesConfig& c, int64_t v) { c.decision.correctedRunPicksUnlistedReading = v != 0; }},
    {"decision", "corrected_run_reads_trailing_letters", Type::Bool, 0, 1,
     [](RulesConfig& c, int64_t v) { c.decision.correctedRunReadsTrailingLetters = v != 0; }},
    {"decision", "capitals_with_shifted_letter_keys", Type::Bool, 0, 1,
     [](RulesConfig& c, int64_t v) { c.decision.capitalsWithShiftedLetterKeys = v != 0; }},
    {"tokenization", "stretched_words_read", Type::Bool, 0, 1,
     [](RulesConfig& c, int64_t v) { c.tokenization.stretchedWordsRead = v != 0; }},
    {"decision", "text_start_word_min_band", Type::Integer, 0, 64,
     [](RulesConfig& c, int64_t v) { c.decision.textStartWordMinBand = v; }},
    {"tokenization", "comma_or_stop_joined_words", Type::Bool, 0, 1,
     [](RulesConfig& c, int64_t v) { c.tokenization.commaOrStopJoinedWords = v != 0; }},
    {"tokenization", "slash_joined_units", Type::Bool, 0, 1,
     [](RulesConfig& c, int64_t v) { c.tokenization.slashJoinedUnits = v != 0; }},
    {"tokenization", "grave_key_quotes_at_edges", Type::Bool, 0, 1,
     [](RulesConfig& c, int64_t v) { c.tokenization.graveKeyQuotesAtEdges = v != 0; }},
    {"decision", "technical_words_kept", Type::Bool, 0, 1,
     [](RulesConfig& c, int64_t v) { c.decision.technicalWordsKept = v != 0; }},
    {"decision", "mixed_case_names_read", Type::Bool, 0, 1,
     [](RulesConfig& c, int64_t v) { c.decision.mixedCaseNamesRead = v != 0; }},
};
// clang-format on

// The object at a dotted path of objects; null when one of them is missing.
const json::Value* sectionOf(const json::Value& rules, std::string_view path) {
    const json::Value* object = &rules;
    while (object && !path.empty()) {
        const std::size_t dot = path.find('.');
        object = json::findObject(*object, path.substr(0, dot));
        path = dot == std::string_view::npos ? std::string_view() : path.substr(dot + 1);
    }
    return object;
}

}  // namespace

std::span<const LaterMember> laterMembers() { return kRows; }

int64_t requestedGeneration(const json::Value& rules) {
    const json::Value* decision = json::findObject(rules, "decision");
    return decision ? std::max<int64_t>(1, fields::integerOr(*decision, "generation", 1)) : 1;
}

void applyLaterMembers(const json::Value& rules, int64_t generation, RulesConfig& config) {
    for (const LaterMember& row : kRows) {
        int64_t value = generation >= 2 ? row.generation2 : row.first;
        if (const json::Value* section = sectionOf(rules, row.section))
            value = row.type == LaterMember::Type::Bool ? fields::boolOr(*section, row.key, value != 0)
                                                        : fields::integerOr(*section, row.key, value);
        row.apply(config, value);
    }
}

}  // namespace quillom
