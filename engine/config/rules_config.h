// The decoded rules file with the user's manual overrides and the four
// preference values merged in. Immutable for the life of an engine.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "config/packed_lexicon.h"
#include "config/user_preferences.h"
#include "config/word_set.h"
#include "layout/layout_direction.h"
#include "regex/regex.h"

namespace quillom {

namespace json {
class Value;
}

// Hashes a std::string and a std::string_view alike (the same values as
// std::hash), so that a lookup by a slice of a word builds no string.
struct StringHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const noexcept { return std::hash<std::string_view>{}(s); }
};
template <typename T>
using StringMap = std::unordered_map<std::string, T, StringHash, std::equal_to<>>;

// A character is one extended grapheme cluster, held as UTF-8.
using CharMap = StringMap<std::string>;
using CharSet = std::unordered_set<std::string, StringHash, std::equal_to<>>;

struct KeyboardLayoutConfig {
    std::unordered_map<LayoutDirection, CharMap, LayoutDirectionHash> maps;
    std::unordered_map<LayoutDirection, CharMap, LayoutDirectionHash> shiftMaps;
    // "selection_maps": whole-key maps (digit row, / and ? included) used only by
    // selection conversion; a direction they do not give falls back to the maps above.
    std::unordered_map<LayoutDirection, CharMap, LayoutDirectionHash> selectionMaps;
    std::unordered_map<LayoutDirection, CharMap, LayoutDirectionHash> selectionShiftMaps;
    bool preserveCase = true;
    bool preserveUnknownCharacters = true;
    // "selection_keeps_typed_marks": a selection typed on the US layout and
    // converted to a Cyrillic language keeps the marks typed as themselves
    // where the keys around them show it ([1], 5$, a@b, word/word; see
    // layout/selection_marks.h). False when missing: every key is converted.
    bool selectionKeepsTypedMarks = false;
};

struct TokenizationConfig {
    CharSet wordBoundaries;
    bool stripBoundaryBeforeScoring = true;
    bool preserveBoundaryAfterReplacement = true;
    int64_t maxTokenLengthForAuto = 32;
    int64_t minTokenLengthForAuto = 2;
    bool autoSkipLength1 = true;
    bool autoLength2RequiresExactCommonOrOverride = true;
    bool mixedScriptAuto = false;
    bool digitsInTokenAuto = false;
    // "edge_punctuation_auto": a word typed on a Cyrillic layout may be read as
    // quotes, colons or brackets around an English word ("ЭЕру" -> "\"The").
    bool edgePunctuationAuto = false;
    // "prefer_whole_known_word": when the word read with its trailing full stop
    // or comma as a letter (xfcnm. -> частью) and read without it (часть.) are
    // both known words, the whole word wins: on the wrong layout the user
    // pressed that key for its letter.
    bool preferWholeKnownWord = false;
    // "leading_mark_before_capital_kept": a quote or bracket typed on the US
    // layout before a capitalised word ("He) stays a mark where reading it as
    // the Cyrillic letter of its key gives a word cased as none is (ЭРу).
    bool leadingMarkBeforeCapitalKept = false;
    // "edge_colon_letter_auto": with "edge_punctuation_auto", a capital and
    // the key of a colon typed on a Cyrillic layout (ЙЖ) is read as the
    // letter of an English question, answer or heading (Q:).
    bool edgeColonLetterAuto = false;
    // "edge_leading_ellipsis_auto": with "edge_punctuation_auto", two full
    // stop keys or more typed on a Cyrillic layout before an English word
    // (юююсфттще) are an ellipsis opening it (...cannot).
    bool edgeLeadingEllipsisAuto = false;
};

struct ProtectedPattern {
    std::string id;
    regex::Regex regex;
    bool caseInsensitive = false;
};

struct ScoringWeights {
    double exactCommonWord = 90.0;
    double exactPhraseStartWord = 24.0;
    double exactSeedPair = 120.0;
    double hasLanguageVowel = 8.0;
    double missingLanguageVowelLen4Plus = -26.0;
    double strongWordStart = 9.0;
    double weakWordStart = 4.0;
    double strongWordEnd = 9.0;
    double weakWordEnd = 4.0;
    double strongBigram = 3.0;
    double strongTrigram = 5.0;
    double rareBigram = -10.0;
    double rareTrigram = -16.0;
    double impossiblePattern = -120.0;
    double rarePattern = -34.0;
    double layoutSuspicion = 12.0;
    double dictionaryNeverCorrectRaw = -10000.0;
    double protectedPatternRaw = -10000.0;
    double frequentTokenBonus = 15.0;
};

struct DynamicThresholdCurveConfig {
    bool enabled = true;
    double candidateBaseAtLen5 = 38.0;
    double candidateDecayPerShorterLen = -3.0;
    double candidateFloor = 14.0;
    double deltaBaseAtLen5 = 30.0;
    double deltaDecayPerShorterLen = 8.0;
    double deltaFloor = 10.0;
};

// "language_evidence" (under "decision"): how the engine tells Russian from
// Ukrainian (or any two languages of one script) when a word reads as a word of
// both. Missing, or "window" 0: none of this applies.
//   "window": how many of the last words typed in the application that belong
//     to a single language are counted; the language with the most of them,
//     ahead of every other by at least "min_lead", is the context language.
//   "twin_rank_margin": with no context language, of two readings that are
//     words of different languages the one whose frequency rank band is lower
//     (more frequent) by at least this many bands wins; 0: not used.
// With a context language, a same-script word whose other reading is a word
// of that language is corrected to it even when the typed word is a word too
// (файлі typed for файлы on the Ukrainian layout in Russian text), and from
// two letters on. With "twin_rank_margin" above 0, a word whose reading on the
// layout of another script is a word too (руку and here) is corrected only
// when that reading is at least that many bands more frequent and what the
// user has been typing supports it: the session language is the other
// reading's, or the last words count more of its words than of the typed
// word's language by "min_lead"; and they count no language ahead of the
// other reading's. Otherwise it is kept, and the next word corrected to the
// other language takes it along (at the start of a text nothing supports it).
// Such a word typed in capitals is an acronym and always kept.
//   "same_text_rank_margin": a word that two languages of one script both list
//     as the same text (тут, альянс) counts for one of them among the last
//     words only when its band there is lower than in the other by at least
//     this many bands, and never when the other lists it with no estimate:
//     bands counted in corpora of different size and genre are comparable only
//     roughly. 0 or missing: "twin_rank_margin", as for any word.
//   "text_start_twin_rank_margin": above 0, at the start of a text (no word
//     counted for a language yet, no session language), of two listed
//     readings in languages of one script that "twin_rank_margin" leaves
//     apart, the one whose band is lower by at least this many wins, the
//     candidate scores of two languages being no measure of which one the
//     user writes. 0 or missing: the scores.
//   "same_text_layout_rank_margin": above 0, a correction whose text reads the
//     same on the layout of another active language of its script (теперь,
//     which the order of the languages gave to Ukrainian) goes to that
//     language, and the layout follows it, when its band there is lower than
//     in the target by at least this many bands (or the target does not list
//     it) and the last words do not favour the target. 0 or missing: the
//     target the scores and the order of the languages chose.
//   "twin_known_tail_min_length": above 0, of two readings in languages of
//     one script that neither language lists (Супертяжелый, Супертяжелій),
//     the one that ends in a longer word of its own language, of at least
//     this many letters after at least two others (тяжелый), wins. 0 or
//     missing: the scores.
struct LanguageEvidenceConfig {
    static constexpr int64_t maxWindow = 32;  // larger values are read as this
    int64_t window = 0;
    int64_t minLead = 2;
    int64_t twinRankMargin = 0;
    int64_t sameTextRankMargin = 0;
    int64_t textStartTwinRankMargin = 0;
    int64_t sameTextLayoutRankMargin = 0;
    int64_t twinKnownTailMinLength = 0;
    bool enabled() const { return window > 0; }
};

struct DecisionConfig {
    std::map<int64_t, double> minDeltaByLength;
    double minDeltaDefault = 22.0;
    std::map<int64_t, double> minCandidateScoreByLength;
    double minCandidateScoreDefault = 42.0;
    double minConfidence = 0.82;
    double phraseStartBonusDiscount = 6.0;
    double originalExactCommonRequiresExtraDelta = 28.0;
    double sameScriptExtraDelta = 15.0;
    int64_t sameScriptMinLength = 4;
    ScoringWeights scoringWeights;
    double confidenceScale = 18.0;
    double protectedPatternOverrideMinScore = 60.0;
    // "gibberish_bypass_min_length": shorter words never take the gibberish
    // bypass; "protected_override_min_length": shorter protected words (KB, W.)
    // are never corrected. Both 0 when missing: no such limit.
    int64_t gibberishBypassMinLength = 0;
    int64_t protectedOverrideMinLength = 0;
    // "capitals_word_max_band": a protected word typed all in capitals whose
    // reading is no abbreviation is corrected only to a ranked word of at most
    // this band (UTC is not ГЕС, a rare word) that what the user has been
    // typing does not go against (JYJ in English text is not ОНО). 0 when
    // missing: no such limit.
    int64_t capitalsWordMaxBand = 0;
    // "keep_word_after_script_switch": true, a word typed on a layout of
    // another script than the word before it, which was kept as typed in the
    // same application, is corrected into a script other than its own only
    // to a listed word of four letters or more: the user changed the layout
    // by hand to type it (db, DCT in Russian text). The engine itself changes
    // the layout only after a correction or within a script. False when
    // missing: the word is decided as any other.
    bool keepWordAfterScriptSwitch = false;
    // "typed_word_known_in_script": true, a typed word that the language of
    // the layout it is read from does not list, but the language of the
    // layout it was typed on does (any active language of that script when
    // that layout is not known), is weighed as that language's word when read
    // into another script (ешь typed on the Russian layout, read from the
    // Ukrainian one, is not turned into tim). False when missing: it is
    // weighed as a word of the layout's language it is read from.
    bool typedWordKnownInScript = false;
    // "kept_twin_counts_for_none": true, a word kept as typed at the start of
    // a text (no language counted yet) whose keys give a far more frequent
    // word on the layout of another script ("twin_rank_margin"; Еру, The)
    // counts for no language among the last words, so that the word corrected
    // after it still takes it along. False when missing: it counts for its
    // language.
    bool keptTwinCountsForNone = false;
    DynamicThresholdCurveConfig dynamicThresholdCurve;
    LanguageEvidenceConfig languageEvidence;
};

struct LanguageConfig {
    std::string script;
    CharSet scriptAlphabet;
    CharSet vowels;
    WordSet commonWords;
    PackedLexicon packedWords;  // empty unless the rules file names a packed lexicon
    WordSet phraseStartWords;
    std::vector<std::string> strongWordStarts;
    std::vector<std::string> weakWordStarts;
    std::vector<std::string> strongWordEnds;
    std::vector<std::string> weakWordEnds;
    WordSet strongBigrams;
    WordSet strongTrigrams;
    std::vector<regex::Regex> impossiblePatterns;
    std::vector<regex::Regex> rarePatterns;
    std::vector<std::pair<std::string, double>> commonSuffixBoosts;  // longest suffix first
    WordSet microDictionary;
    // "technical_words": command and identifier names; the gibberish bypass
    // never turns one of them into another language.
    WordSet technicalWords;
    // "abbreviations": words the language writes in capitals (сша, ввс, tls),
    // lower-cased. A word typed all in capitals is meant as typed when it is
    // one of them, and meant in this language when its reading here is one.
    // Empty when missing: capitals decide as other words.
    WordSet abbreviations;
    // Micro-dictionary words of 4 characters or more (prefix bonus).
    std::vector<std::string> microDictionaryPrefixes;
    StringMap<double> bigramLogWeights;
    double unknownBigramWeight = -1.5;
    double ngramScoringScale = 20.0;

    // The packed lexicon's rank band of a listed word (PackedLexicon::kUnranked
    // for one with no frequency estimate or listed only in common_words);
    // nothing for a word that is not listed. word: lower-case.
    std::optional<std::uint32_t> rankBand(std::string_view word) const {
        if (auto band = packedWords.rankBand(word)) return band;
        if (commonWords.contains(word)) return PackedLexicon::kUnranked;
        return std::nullopt;
    }

    // Where a listed word stands for comparing frequency: its rank band, a word
    // with no estimate after every ranked one (kUnrankedOrder); nothing for a
    // word that is not listed. word: lower-case.
    static constexpr int64_t kUnrankedOrder = int64_t(1) << 20;
    std::optional<int64_t> frequencyOrder(std::string_view word) const {
        auto band = rankBand(word);
        if (!band) return std::nullopt;
        return *band == PackedLexicon::kUnranked ? kUnrankedOrder : static_cast<int64_t>(*band);
    }

    // A listed word: in common_words or in the packed lexicon. word: lower-case.
    bool isCommonWord(std::string_view word) const { return packedWords.contains(word) || commonWords.contains(word); }
};

struct LayoutSuspicionRule {
    regex::Regex regex;
    double bonus = 0.0;
};

struct LayoutSuspicionConfig {
    std::vector<LayoutSuspicionRule> latinSuspiciousForRu;
    std::vector<LayoutSuspicionRule> cyrillicSuspiciousForEn;
};

struct ManualOverridesConfig {
    StringMap<std::string> exactPairs;
    WordSet neverCorrect;
    StringMap<std::string> exactPairTargetLang;
    std::unordered_map<std::string, std::string> neverCorrectLang;
};

struct GoldenTest {
    std::string input;
    std::string expected;
    std::string mode;
    std::string reason;
    std::optional<std::string> activeInputSource;
    std::optional<std::string> expectedSourceLang;
    std::optional<std::string> sessionLanguage;
};

struct RulesConfig {
    KeyboardLayoutConfig keyboardLayout;
    TokenizationConfig tokenization;
    std::vector<ProtectedPattern> protectedPatterns;
    DecisionConfig decision;
    std::map<std::string, LanguageConfig> languages;  // ordered by key
    LayoutSuspicionConfig layoutSuspicion;
    ManualOverridesConfig manualOverrides;
    std::vector<GoldenTest> goldenTests;
    StringMap<AppExclusionConfig> excludedApps;  // keys lower-cased
    std::vector<std::string> activeLanguages;
    bool protectEndingsAfterDelete = true;
    bool uppercaseOnlyExactPairs = false;

    // Decodes a parsed rules object; never fails. Each language takes its
    // words from the packed lexicon, when one is given.
    static RulesConfig parse(const json::Value& json, const UserPreferences& prefs,
                             const PackedLexiconFile* lexicon = nullptr);
    // Replaces "manual_overrides" of the rules object with manualOverrides, then decodes.
    static RulesConfig load(const json::Value& engineJson, const json::Value& manualOverrides,
                            const UserPreferences& prefs, const PackedLexiconFile* lexicon = nullptr);

    const LanguageConfig* language(const std::string& key) const;
    bool isActive(std::string_view key) const {
        return std::find(activeLanguages.begin(), activeLanguages.end(), key) != activeLanguages.end();
    }
    // Both languages are configured and written in the same script (ru, uk).
    bool sameScript(const std::string& a, const std::string& b) const {
        const LanguageConfig* first = language(a);
        const LanguageConfig* second = language(b);
        return first && second && !first->script.empty() && first->script == second->script;
    }
    // Both languages are configured with a script, and the scripts differ.
    bool differentScripts(const std::string& a, const std::string& b) const {
        const LanguageConfig* first = language(a);
        const LanguageConfig* second = language(b);
        return first && second && !first->script.empty() && !second->script.empty() && first->script != second->script;
    }
};

ManualOverridesConfig parseManualOverrides(const json::Value& object);

// Of one reading per language, each given by LanguageConfig::frequencyOrder,
// the position of the reading that alone is listed, or that is more frequent
// than every other by at least margin bands (with a margin of 0 or less, only
// the first).
std::optional<std::size_t> clearlyMoreFrequent(std::span<const std::optional<int64_t>> orders, int64_t margin);

}  // namespace quillom
