#include "config/rules_config.h"

#include <algorithm>
#include <charconv>

#include "config/json.h"
#include "config/json_fields.h"
#include "config/keyboard_layout_decoder.h"
#include "config/language_decoder.h"

namespace quillom {

namespace {

using Kind = json::Value::Kind;

const json::Value& emptyObject() {
    static const json::Value v = json::Value::makeObject({});
    return v;
}

const json::Value& objectOrEmpty(const json::Value* v) { return v && v->isObject() ? *v : emptyObject(); }

const json::Value& section(const json::Value& object, std::string_view key) {
    return objectOrEmpty(json::findObject(object, key));
}

TokenizationConfig parseTokenization(const json::Value& o) {
    TokenizationConfig t;
    if (const json::Value* b = json::findArray(o, "word_boundaries")) t.wordBoundaries = fields::characterSet(*b);
    t.stripBoundaryBeforeScoring = fields::boolOr(o, "strip_boundary_before_scoring", true);
    t.preserveBoundaryAfterReplacement = fields::boolOr(o, "preserve_boundary_after_replacement", true);
    t.maxTokenLengthForAuto = fields::integerOr(o, "max_token_length_for_auto", 32);
    t.minTokenLengthForAuto = fields::integerOr(o, "min_token_length_for_auto", 2);
    t.autoSkipLength1 = fields::boolOr(o, "auto_skip_length_1", true);
    t.autoLength2RequiresExactCommonOrOverride =
        fields::boolOr(o, "auto_length_2_requires_exact_common_or_override", true);
    t.mixedScriptAuto = fields::boolOr(o, "mixed_script_auto", false);
    t.digitsInTokenAuto = fields::boolOr(o, "digits_in_token_auto", false);
    t.edgePunctuationAuto = fields::boolOr(o, "edge_punctuation_auto", false);
    t.preferWholeKnownWord = fields::boolOr(o, "prefer_whole_known_word", false);
    t.leadingMarkBeforeCapitalKept = fields::boolOr(o, "leading_mark_before_capital_kept", false);
    t.edgeColonLetterAuto = fields::boolOr(o, "edge_colon_letter_auto", false);
    t.edgeLeadingEllipsisAuto = fields::boolOr(o, "edge_leading_ellipsis_auto", false);
    return t;
}

std::vector<ProtectedPattern> parseProtectedPatterns(const json::Value* array) {
    std::vector<ProtectedPattern> out;
    if (!array) return out;
    for (const auto& element : array->asArray()) {
        auto id = json::findString(element, "id");
        auto pattern = json::findString(element, "regex");
        if (!id || !pattern) continue;
        bool caseInsensitive = fields::boolOr(element, "case_insensitive", false);
        if (auto compiled = regex::Regex::compile(*pattern, caseInsensitive))
            out.push_back({*id, std::move(*compiled), caseInsensitive});
    }
    return out;
}

// Length-keyed thresholds; a name with "plus" or "+" sets the default.
void parseByLength(const json::Value& o, std::map<int64_t, double>& byLength, double& fallback, double builtinDefault,
                   double nonNumberValue) {
    for (const auto& [name, v] : o.asObject()) {
        if (name.find("plus") != std::string::npos || name.find('+') != std::string::npos) {
            fallback = v.isNumber() ? v.asNumber() : builtinDefault;
            continue;
        }
        int64_t length = 0;
        auto [ptr, ec] = std::from_chars(name.data(), name.data() + name.size(), length);
        if (ec != std::errc() || ptr != name.data() + name.size()) continue;
        byLength[length] = v.isNumber() ? v.asNumber() : nonNumberValue;
    }
}

ScoringWeights parseWeights(const json::Value& o) {
    ScoringWeights w;
    auto num = [&](const char* key, double& field) { field = fields::numberOr(o, key, field); };
    num("exact_common_word", w.exactCommonWord);
    num("exact_phrase_start_word", w.exactPhraseStartWord);
    num("exact_seed_pair", w.exactSeedPair);
    num("has_language_vowel", w.hasLanguageVowel);
    num("missing_language_vowel_len_4_plus", w.missingLanguageVowelLen4Plus);
    num("strong_word_start", w.strongWordStart);
    num("weak_word_start", w.weakWordStart);
    num("strong_word_end", w.strongWordEnd);
    num("weak_word_end", w.weakWordEnd);
    num("strong_bigram", w.strongBigram);
    num("strong_trigram", w.strongTrigram);
    num("rare_bigram", w.rareBigram);
    num("rare_trigram", w.rareTrigram);
    num("impossible_pattern", w.impossiblePattern);
    num("rare_pattern", w.rarePattern);
    num("layout_suspicion", w.layoutSuspicion);
    num("dictionary_never_correct_raw", w.dictionaryNeverCorrectRaw);
    num("protected_pattern_raw", w.protectedPatternRaw);
    num("frequent_token_bonus", w.frequentTokenBonus);
    return w;
}

DynamicThresholdCurveConfig parseCurve(const json::Value& o) {
    DynamicThresholdCurveConfig c;
    c.enabled = fields::boolOr(o, "enabled", true);
    c.candidateBaseAtLen5 = fields::numberOr(o, "candidate_base_at_len_5", 38.0, "baseAtLen5");
    c.candidateDecayPerShorterLen = fields::numberOr(o, "candidate_decay_per_shorter_len", -3.0, "decayPerShorterLen");
    c.candidateFloor = fields::numberOr(o, "candidate_floor", 14.0, "floor");
    c.deltaBaseAtLen5 = fields::numberOr(o, "delta_base_at_len_5", 30.0);
    c.deltaDecayPerShorterLen = fields::numberOr(o, "delta_decay_per_shorter_len", 8.0);
    c.deltaFloor = fields::numberOr(o, "delta_floor", 10.0);
    return c;
}

DecisionConfig parseDecision(const json::Value& o) {
    DecisionConfig d;
    const json::Value& thresholds = section(o, "auto_thresholds");
    if (const json::Value* m = json::findObject(thresholds, "min_delta_by_length"))
        parseByLength(*m, d.minDeltaByLength, d.minDeltaDefault, 22.0, 30.0);
    if (const json::Value* m = json::findObject(thresholds, "min_candidate_score_by_length"))
        parseByLength(*m, d.minCandidateScoreByLength, d.minCandidateScoreDefault, 42.0, 50.0);
    d.minConfidence = fields::numberOr(thresholds, "min_confidence", 0.82);
    d.phraseStartBonusDiscount = fields::numberOr(thresholds, "phrase_start_bonus_threshold_discount", 6.0);
    d.originalExactCommonRequiresExtraDelta =
        fields::numberOr(thresholds, "original_exact_common_word_requires_extra_delta", 28.0);
    d.sameScriptExtraDelta = fields::numberOr(thresholds, "same_script_extra_delta", 15.0);
    d.sameScriptMinLength = fields::integerOr(thresholds, "same_script_min_length", 4);
    d.protectedPatternOverrideMinScore = fields::numberOr(thresholds, "protected_pattern_override_min_score", 60.0);
    d.gibberishBypassMinLength = fields::integerOr(thresholds, "gibberish_bypass_min_length", 0);
    d.protectedOverrideMinLength = fields::integerOr(thresholds, "protected_override_min_length", 0);
    d.capitalsWordMaxBand = fields::integerOr(thresholds, "capitals_word_max_band", 0);
    d.keepWordAfterScriptSwitch = fields::boolOr(o, "keep_word_after_script_switch", false);
    d.typedWordKnownInScript = fields::boolOr(o, "typed_word_known_in_script", false);
    d.keptTwinCountsForNone = fields::boolOr(o, "kept_twin_counts_for_none", false);
    d.scoringWeights = parseWeights(section(o, "scoring_weights"));
    d.confidenceScale = fields::numberOr(section(o, "confidence"), "scale", 18.0);
    const json::Value& evidence = section(o, "language_evidence");
    d.languageEvidence.window =
        std::clamp<int64_t>(fields::integerOr(evidence, "window", 0), 0, LanguageEvidenceConfig::maxWindow);
    d.languageEvidence.minLead = fields::integerOr(evidence, "min_lead", 2);
    d.languageEvidence.twinRankMargin = fields::integerOr(evidence, "twin_rank_margin", 0);
    d.languageEvidence.sameTextRankMargin = fields::integerOr(evidence, "same_text_rank_margin", 0);
    d.languageEvidence.textStartTwinRankMargin = fields::integerOr(evidence, "text_start_twin_rank_margin", 0);
    d.languageEvidence.sameTextLayoutRankMargin = fields::integerOr(evidence, "same_text_layout_rank_margin", 0);
    d.languageEvidence.twinKnownTailMinLength = fields::integerOr(evidence, "twin_known_tail_min_length", 0);
    d.dynamicThresholdCurve = parseCurve(
        objectOrEmpty(fields::memberOfKind(o, "dynamic_threshold_curve", "dynamicThresholdCurve", Kind::Object)));
    return d;
}

std::vector<LayoutSuspicionRule> parseSuspicionRules(const json::Value* array) {
    std::vector<LayoutSuspicionRule> out;
    if (!array) return out;
    for (const auto& element : array->asArray()) {
        auto pattern = json::findString(element, "regex");
        auto bonus = json::findNumber(element, "bonus_to_candidate");
        if (!pattern || !bonus) continue;
        if (auto compiled = regex::Regex::compile(*pattern)) out.push_back({std::move(*compiled), *bonus});
    }
    return out;
}

std::vector<GoldenTest> parseGoldenTests(const json::Value* array) {
    std::vector<GoldenTest> out;
    if (!array) return out;
    for (const auto& element : array->asArray()) {
        auto input = json::findString(element, "input");
        auto expected = json::findString(element, "expected");
        auto mode = json::findString(element, "mode");
        auto reason = json::findString(element, "reason");
        if (!input || !expected || !mode || !reason) continue;
        out.push_back({*input, *expected, *mode, *reason, json::findString(element, "active_input_source"),
                       json::findString(element, "expected_source_lang"),
                       json::findString(element, "session_language")});
    }
    return out;
}

RulesConfig decode(const json::Value& root, const json::Value& manualOverrides, const UserPreferences& prefs,
                   const PackedLexiconFile* lexicon) {
    RulesConfig config;
    config.keyboardLayout = parseKeyboardLayout(section(root, "keyboard_layout"));
    config.tokenization = parseTokenization(section(root, "tokenization"));
    config.protectedPatterns = parseProtectedPatterns(json::findArray(root, "protected_patterns"));
    config.decision = parseDecision(section(root, "decision"));
    for (const auto& [key, value] : section(root, "languages").asObject())
        if (value.isObject()) config.languages.insert_or_assign(key, parseLanguage(key, value));
    if (lexicon)
        for (auto& [key, language] : config.languages) language.packedWords = lexicon->language(key);
    const json::Value& suspicion = section(root, "layout_suspicion");
    config.layoutSuspicion.latinSuspiciousForRu =
        parseSuspicionRules(json::findArray(suspicion, "latin_raw_suspicious_for_ru"));
    config.layoutSuspicion.cyrillicSuspiciousForEn =
        parseSuspicionRules(json::findArray(suspicion, "cyrillic_raw_suspicious_for_en"));
    config.manualOverrides = parseManualOverrides(manualOverrides);
    config.goldenTests = parseGoldenTests(json::findArray(root, "golden_tests"));
    config.excludedApps.insert(prefs.excludedApps.begin(), prefs.excludedApps.end());
    config.activeLanguages = prefs.activeLanguages;
    config.protectEndingsAfterDelete = prefs.protectEndingsAfterDelete;
    config.uppercaseOnlyExactPairs = prefs.uppercaseOnlyExactPairs;
    return config;
}

}  // namespace

RulesConfig RulesConfig::parse(const json::Value& root, const UserPreferences& prefs,
                               const PackedLexiconFile* lexicon) {
    return decode(root, section(root, "manual_overrides"), prefs, lexicon);
}

// Equivalent to decoding a copy of the rules object whose "manual_overrides"
// member is replaced, without copying the (large) rules object.
RulesConfig RulesConfig::load(const json::Value& engineJson, const json::Value& manualOverrides,
                              const UserPreferences& prefs, const PackedLexiconFile* lexicon) {
    return decode(engineJson, objectOrEmpty(&manualOverrides), prefs, lexicon);
}

// Asked many times for every word, of a handful of two-letter keys: a walk
// comparing bytes in place costs less than the tree's string comparisons.
const LanguageConfig* RulesConfig::language(const std::string& key) const {
    for (const auto& [name, config] : languages) {
        if (name.size() != key.size()) continue;
        std::size_t i = 0;
        while (i < name.size() && name[i] == key[i]) ++i;
        if (i == name.size()) return &config;
    }
    return nullptr;
}

std::optional<std::size_t> clearlyMoreFrequent(std::span<const std::optional<int64_t>> orders, int64_t margin) {
    std::optional<std::size_t> best;
    for (std::size_t i = 0; i < orders.size(); ++i)
        if (orders[i] && (!best || *orders[i] < *orders[*best])) best = i;
    if (!best) return std::nullopt;
    for (std::size_t i = 0; i < orders.size(); ++i)
        if (i != *best && orders[i] && (margin <= 0 || *orders[i] < *orders[*best] + margin)) return std::nullopt;
    return best;
}

}  // namespace quillom
