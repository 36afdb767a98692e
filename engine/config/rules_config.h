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
    // "selection_marks_by_target_layout": with the above, a mark the target
    // layout has on a key of its own is that key's, and one it lacks is kept
    // alone, in a pattern or beside a word cased as none is (' ', #2, 2024/1183,
    // значениях>, <name>). False when missing.
    bool selectionMarksByTargetLayout = false;
    // "selection_keeps_english_words": with selection_keeps_typed_marks, a
    // word of Latin letters that English ranks, or capitals it lists as an
    // abbreviation, that the target does not read as a word stays as typed
    // (Linux, USB in Ukrainian text). False when missing.
    bool selectionKeepsEnglishWords = false;
    // "selection_target_by_letters": where the lists do not tell which
    // Cyrillic language a selection typed on the US layout was meant in, the
    // one whose letters read its differing words better is chosen before the
    // first active one (see layout::TargetByLetters). False when missing.
    bool selectionTargetByLetters = false;
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
    // Later behaviours, each off unless the rules ask for it (later_members.h;
    // engine/README.md says what each does).
    bool edgePunctuationAuto = false;
    bool preferWholeKnownWord = false;
    bool keyMarksAtEdges = false;
    bool leadingLetterMarks = false;
    bool letterKeyMarksInWord = false;
    bool trailingLetterMakesWord = false;
    bool trailingReadingKeepsVetoes = false;
    bool apostrophesInKnownWords = false;
    bool leadingMarkBeforeCapitalKept = false;
    bool edgeColonLetterAuto = false;
    bool edgeLeadingEllipsisAuto = false;
    bool quoteKeysAtEdges = false;
    bool possessiveKeysAfterWord = false;
    bool quoteKeyBeforeInnerCapital = false;
    // "slash_joined_words": two words joined by the key of the target's slash
    // (фгвшщ.мшвущ), each corrected on its own, are corrected with the slash.
    bool slashJoinedWords = false;
    // "slash_joined_units": pieces of one or two letters joined by that key
    // (ль.р, ь.ы) that read as English units are corrected with the slash.
    bool slashJoinedUnits = false;
    // "grave_key_quotes_at_edges": the grave key at a word's edges typed on
    // the US layout is the apostrophe of the Ukrainian one, a quote there.
    bool graveKeyQuotesAtEdges = false;
    // "stretched_words_read": a word with a letter typed three times or more
    // (F[[[[) is read on the other layout with the runs cut (Ахххх is ах).
    bool stretchedWordsRead = false;
    // "comma_or_stop_joined_words": words joined by the keys of the target's
    // comma or full stop (афкбвшыефтсу), each corrected on its own, are
    // corrected with those marks.
    bool commaOrStopJoinedWords = false;
    bool slashKeyOfRussianLayout = false;
    bool barKeyOfRussianSlash = false;
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
// Ukrainian (or any two languages of one script) by the last words typed;
// "window" 0 turns it off. The members: engine/README.md.
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
    // Later behaviours (later_members.h): 0 or false, no such limit or rule.
    int64_t gibberishBypassMinLength = 0;
    bool gibberishBypassNeedsVowel = false;
    int64_t protectedOverrideMinLength = 0;
    int64_t capitalsWordMaxBand = 0;
    bool keepWordAfterScriptSwitch = false;
    bool typedWordKnownInScript = false;
    bool keptTwinCountsForNone = false;
    bool textStartTakenAlong = false;
    int64_t textStartLetterMinBand = 0;
    bool keepJoinedPieceAfterScriptSwitch = false;
    bool capitalAfterLowerKept = false;
    bool sameScriptUnlistedReading = false;
    bool numberWithLettersTakenAlong = false;
    int64_t rareReadingMinBandInTypedText = 0;
    bool capitalsOfNoAcronymRead = false;
    int64_t topReadingMaxBand = 0;
    bool twoLettersKeptInTextOfTyped = false;
    bool capitalsInTextOfTargetRead = false;
    int64_t correctedRunMinWords = 0;
    bool correctedRunReadsApostrophe = false;
    bool correctedRunSpansOneLetter = false;
    bool correctedRunSpansUnlistedWords = false;
    bool correctedRunReadsLeadingMarks = false;
    bool correctedRunPicksUnlistedReading = false;
    bool correctedRunReadsTrailingLetters = false;
    bool capitalsWithShiftedLetterKeys = false;
    bool formOfListedWordInTextOfTyped = false;
    bool readingBeginningNoWordKept = false;
    bool technicalWordsKept = false;
    bool mixedCaseNamesRead = false;
    int64_t textStartWordMinBand = 0;
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

struct RulesConfig {
    KeyboardLayoutConfig keyboardLayout;
    TokenizationConfig tokenization;
    std::vector<ProtectedPattern> protectedPatterns;
    DecisionConfig decision;
    std::map<std::string, LanguageConfig> languages;  // ordered by key
    LayoutSuspicionConfig layoutSuspicion;
    ManualOverridesConfig manualOverrides;
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
    // The first active language, always English (the preferences put it
    // first): the language of the Latin layout.
    bool isFirstActive(std::string_view key) const {
        return !activeLanguages.empty() && activeLanguages.front() == key;
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
