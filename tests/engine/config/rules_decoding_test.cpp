// Decoding of the rules file: defaults, alternative keys, lenient members.
#include <gtest/gtest.h>

#include "config/json.h"
#include "config/rules_config.h"

namespace quillom {
namespace {

RulesConfig decode(std::string_view text, const UserPreferences& prefs = {}) {
    auto root = json::parse(text);
    EXPECT_TRUE(root.has_value()) << text;
    return RulesConfig::parse(*root, prefs);
}

TEST(RulesDecoding, EmptyObjectGivesAllDefaults) {
    const RulesConfig c = decode("{}");
    EXPECT_EQ(c.tokenization.maxTokenLengthForAuto, 32);
    EXPECT_EQ(c.tokenization.minTokenLengthForAuto, 2);
    EXPECT_TRUE(c.tokenization.autoSkipLength1);
    EXPECT_FALSE(c.tokenization.mixedScriptAuto);
    EXPECT_DOUBLE_EQ(c.decision.minConfidence, 0.82);
    EXPECT_DOUBLE_EQ(c.decision.confidenceScale, 18.0);
    EXPECT_DOUBLE_EQ(c.decision.minDeltaDefault, 22.0);
    EXPECT_DOUBLE_EQ(c.decision.minCandidateScoreDefault, 42.0);
    const auto& curve = c.decision.dynamicThresholdCurve;
    EXPECT_TRUE(curve.enabled);
    EXPECT_DOUBLE_EQ(curve.candidateBaseAtLen5, 38.0);
    EXPECT_DOUBLE_EQ(curve.candidateDecayPerShorterLen, -3.0);
    EXPECT_DOUBLE_EQ(curve.candidateFloor, 14.0);
    EXPECT_DOUBLE_EQ(curve.deltaBaseAtLen5, 30.0);
    EXPECT_DOUBLE_EQ(curve.deltaDecayPerShorterLen, 8.0);
    EXPECT_DOUBLE_EQ(curve.deltaFloor, 10.0);
    EXPECT_TRUE(c.languages.empty());
    EXPECT_TRUE(c.protectedPatterns.empty());
    EXPECT_TRUE(c.manualOverrides.exactPairs.empty());
    EXPECT_EQ(c.activeLanguages, std::vector<std::string>{"en"});
}

TEST(RulesDecoding, LengthMapsReadDefaultsAndSkipBadNames) {
    const RulesConfig c = decode(R"({"decision": {"auto_thresholds": {
        "min_delta_by_length": {"2": 40, "3": 35, "6+": 18, "x": 5},
        "min_candidate_score_by_length": {"3": "high", "7plus": "x"}}}})");
    EXPECT_EQ(c.decision.minDeltaByLength, (std::map<int64_t, double>{{2, 40.0}, {3, 35.0}}));
    EXPECT_DOUBLE_EQ(c.decision.minDeltaDefault, 18.0);
    EXPECT_EQ(c.decision.minCandidateScoreByLength, (std::map<int64_t, double>{{3, 50.0}}));
    EXPECT_DOUBLE_EQ(c.decision.minCandidateScoreDefault, 42.0);
}

TEST(RulesDecoding, NonNumberDeltaBecomesThirty) {
    const RulesConfig c = decode(R"({"decision": {"auto_thresholds": {"min_delta_by_length": {"3": "high"}}}})");
    EXPECT_EQ(c.decision.minDeltaByLength, (std::map<int64_t, double>{{3, 30.0}}));
}

TEST(RulesDecoding, IntegersDropTheirFraction) {
    const RulesConfig c = decode(R"({"decision": {"auto_thresholds": {"same_script_min_length": 4.9}},
                                     "tokenization": {"max_token_length_for_auto": 1e300}})");
    EXPECT_EQ(c.decision.sameScriptMinLength, 4);
    EXPECT_GT(c.tokenization.maxTokenLengthForAuto, 1000000);
}

TEST(RulesDecoding, LanguageEvidenceIsOffUnlessAsked) {
    const auto evidence = [](const char* json) { return decode(json).decision.languageEvidence; };
    EXPECT_FALSE(evidence("{}").enabled());
    EXPECT_EQ(evidence("{}").twinRankMargin, 0);
    const LanguageEvidenceConfig on =
        evidence(R"({"decision": {"language_evidence": {"window": 8, "min_lead": 3, "twin_rank_margin": 6}}})");
    EXPECT_TRUE(on.enabled());
    EXPECT_EQ(on.window, 8);
    EXPECT_EQ(on.minLead, 3);
    EXPECT_EQ(on.twinRankMargin, 6);
    EXPECT_EQ(on.sameTextRankMargin, 0);
    EXPECT_EQ(on.textStartTwinRankMargin, 0);
    EXPECT_EQ(on.twinKnownTailMinLength, 0);
    EXPECT_EQ(on.sameTextLayoutRankMargin, 0);
    const LanguageEvidenceConfig asked = evidence(R"({"decision": {"language_evidence": {"same_text_rank_margin": 12,
        "text_start_twin_rank_margin": 2, "twin_known_tail_min_length": 4, "same_text_layout_rank_margin": 20}}})");
    EXPECT_EQ(asked.sameTextLayoutRankMargin, 20);
    EXPECT_EQ(asked.sameTextRankMargin, 12);
    EXPECT_EQ(asked.textStartTwinRankMargin, 2);
    EXPECT_EQ(asked.twinKnownTailMinLength, 4);
    EXPECT_EQ(evidence(R"({"decision": {"language_evidence": {"window": 500}}})").window,
              LanguageEvidenceConfig::maxWindow);
    EXPECT_FALSE(evidence(R"({"decision": {"language_evidence": {"window": -4}}})").enabled());
    EXPECT_EQ(evidence(R"({"decision": {"language_evidence": {"window": 4}}})").minLead, 2);
}

TEST(RulesDecoding, AWordAfterAScriptSwitchIsDecidedAsAnyUnlessAsked) {
    EXPECT_FALSE(decode("{}").decision.keepWordAfterScriptSwitch);
    EXPECT_FALSE(
        decode(R"({"decision": {"keep_word_after_script_switch": "yes"}})").decision.keepWordAfterScriptSwitch);
    EXPECT_TRUE(decode(R"({"decision": {"keep_word_after_script_switch": true}})").decision.keepWordAfterScriptSwitch);
}

// A rules file asks for the later behaviours in one member; a member it
// gives itself wins over its generation's value, in either direction.
TEST(RulesDecoding, AGenerationGivesTheMembersTheFileLeavesOut) {
    struct Case {
        const char* name;
        const char* json;
        bool edgePunctuation;
        bool bypassNeedsVowel;
        int64_t bypassMinLength;
        int64_t window;
        int64_t minLead;
        int64_t twinRankMargin;
    } cases[] = {
        {"none asked", "{}", false, false, 0, 0, 2, 0},
        {"generation 1", R"({"decision": {"generation": 1}})", false, false, 0, 0, 2, 0},
        {"generation 2", R"({"decision": {"generation": 2}})", true, true, 3, 8, 1, 8},
        {"a later generation", R"({"decision": {"generation": 7}})", true, true, 3, 8, 1, 8},
        {"generation as text", R"({"decision": {"generation": "2"}})", false, false, 0, 0, 2, 0},
        {"generation below 1", R"({"decision": {"generation": -2}})", false, false, 0, 0, 2, 0},
        {"generation 2, members turned off",
         R"({"tokenization": {"edge_punctuation_auto": false}, "decision": {"generation": 2,
             "auto_thresholds": {"gibberish_bypass_needs_vowel": false, "gibberish_bypass_min_length": 0},
             "language_evidence": {"window": 4}}})",
         false, false, 0, 4, 1, 8},
        {"generation 1, members turned on",
         R"({"tokenization": {"edge_punctuation_auto": true}, "decision": {
             "auto_thresholds": {"gibberish_bypass_min_length": 5}, "language_evidence": {"window": 4}}})",
         true, false, 5, 4, 2, 0},
        {"an ill-typed member takes the generation's value",
         R"({"tokenization": {"edge_punctuation_auto": 1}, "decision": {"generation": 2,
             "language_evidence": {"window": true}}})",
         true, true, 3, 8, 1, 8},
    };
    for (const Case& c : cases) {
        const RulesConfig config = decode(c.json);
        EXPECT_EQ(config.tokenization.edgePunctuationAuto, c.edgePunctuation) << c.name;
        EXPECT_EQ(config.decision.gibberishBypassNeedsVowel, c.bypassNeedsVowel) << c.name;
        EXPECT_EQ(config.decision.gibberishBypassMinLength, c.bypassMinLength) << c.name;
        EXPECT_EQ(config.decision.languageEvidence.window, c.window) << c.name;
        EXPECT_EQ(config.decision.languageEvidence.minLead, c.minLead) << c.name;
        EXPECT_EQ(config.decision.languageEvidence.twinRankMargin, c.twinRankMargin) << c.name;
    }
}

// Behaviours newer rules files ask for: off unless the member is true.
TEST(RulesDecoding, WordClassReadingsAreOffUnlessAsked) {
    struct Case {
        const char* section;
        const char* member;
        bool (*read)(const RulesConfig&);
    } cases[] = {
        {"decision", "typed_word_known_in_script",
         [](const RulesConfig& c) { return c.decision.typedWordKnownInScript; }},
        {"decision", "kept_twin_counts_for_none",
         [](const RulesConfig& c) { return c.decision.keptTwinCountsForNone; }},
        {"tokenization", "leading_mark_before_capital_kept",
         [](const RulesConfig& c) { return c.tokenization.leadingMarkBeforeCapitalKept; }},
        {"tokenization", "edge_colon_letter_auto",
         [](const RulesConfig& c) { return c.tokenization.edgeColonLetterAuto; }},
        {"tokenization", "edge_leading_ellipsis_auto",
         [](const RulesConfig& c) { return c.tokenization.edgeLeadingEllipsisAuto; }},
        {"decision", "text_start_taken_along", [](const RulesConfig& c) { return c.decision.textStartTakenAlong; }},
        {"decision", "same_script_unlisted_reading",
         [](const RulesConfig& c) { return c.decision.sameScriptUnlistedReading; }},
        {"tokenization", "slash_key_of_russian_layout",
         [](const RulesConfig& c) { return c.tokenization.slashKeyOfRussianLayout; }},
        {"decision", "number_with_letters_taken_along",
         [](const RulesConfig& c) { return c.decision.numberWithLettersTakenAlong; }},
    };
    for (const Case& c : cases) {
        const auto with = [&](const char* value) {
            return decode(std::string(R"({")") + c.section + R"(": {")" + c.member + R"(": )" + value + "}}");
        };
        EXPECT_FALSE(c.read(decode("{}"))) << c.member;
        EXPECT_FALSE(c.read(with("\"yes\""))) << c.member;
        EXPECT_FALSE(c.read(with("false"))) << c.member;
        EXPECT_TRUE(c.read(with("true"))) << c.member;
    }
}

TEST(RulesDecoding, CurveAlternativeKeys) {
    EXPECT_DOUBLE_EQ(decode(R"({"decision": {"dynamicThresholdCurve": {"baseAtLen5": 40}}})")
                         .decision.dynamicThresholdCurve.candidateBaseAtLen5,
                     40.0);
    // The first key wins when both are present and well typed.
    const RulesConfig both = decode(R"({"decision": {
        "dynamic_threshold_curve": {"candidate_base_at_len_5": 33, "baseAtLen5": 44, "floor": 9},
        "dynamicThresholdCurve": {"candidate_base_at_len_5": 55}}})");
    EXPECT_DOUBLE_EQ(both.decision.dynamicThresholdCurve.candidateBaseAtLen5, 33.0);
    EXPECT_DOUBLE_EQ(both.decision.dynamicThresholdCurve.candidateFloor, 9.0);
    // An ill-typed first key falls back to the alternative.
    EXPECT_DOUBLE_EQ(decode(R"({"decision": {"dynamic_threshold_curve":
                              {"candidate_base_at_len_5": "x", "baseAtLen5": 41}}})")
                         .decision.dynamicThresholdCurve.candidateBaseAtLen5,
                     41.0);
}

TEST(RulesDecoding, UkrainianGetsBuiltInDataEnglishNoVowelsOrPatterns) {
    const RulesConfig c = decode(R"({"languages": {"uk": {}, "en": {}, "de": {}, "xx": 5}})");
    ASSERT_EQ(c.languages.size(), 3u);
    const LanguageConfig& uk = *c.language("uk");
    EXPECT_EQ(uk.vowels.size(), 10u);
    EXPECT_TRUE(uk.vowels.count("ї"));
    EXPECT_EQ(uk.impossiblePatterns.size(), 1u);
    EXPECT_EQ(uk.rarePatterns.size(), 2u);
    EXPECT_EQ(uk.microDictionary.size(), 16u);
    EXPECT_EQ(uk.bigramLogWeights.size(), 53u);
    EXPECT_EQ(uk.scriptAlphabet.size(), 34u);
    EXPECT_TRUE(uk.scriptAlphabet.count("'"));
    const LanguageConfig& en = *c.language("en");
    EXPECT_EQ(en.scriptAlphabet.size(), 26u);
    EXPECT_EQ(en.microDictionary.size(), 47u);
    EXPECT_EQ(en.bigramLogWeights.size(), 148u);
    EXPECT_DOUBLE_EQ(en.bigramLogWeights.at("th"), 3.0);
    EXPECT_TRUE(en.vowels.empty());
    EXPECT_TRUE(en.impossiblePatterns.empty());
    EXPECT_TRUE(c.language("de")->scriptAlphabet.empty());
    EXPECT_DOUBLE_EQ(en.unknownBigramWeight, -1.5);
    EXPECT_DOUBLE_EQ(en.ngramScoringScale, 20.0);
}

TEST(RulesDecoding, BuiltInRussianTables) {
    const LanguageConfig ru = *decode(R"({"languages": {"ru": {"vowels": []}}})").language("ru");
    EXPECT_EQ(ru.bigramLogWeights.size(), 119u);
    EXPECT_EQ(ru.microDictionary.size(), 45u);  // "был" is listed twice
    EXPECT_EQ(ru.scriptAlphabet.size(), 33u);
    EXPECT_TRUE(ru.vowels.empty());
}

TEST(RulesDecoding, EmptyUkrainianArraysStillGiveBuiltIns) {
    const LanguageConfig uk = *decode(R"({"languages": {"uk": {"vowels": [], "impossible_patterns": [],
                                          "rare_patterns": []}}})")
                                   .language("uk");
    EXPECT_EQ(uk.vowels.size(), 10u);
    EXPECT_EQ(uk.impossiblePatterns.size(), 1u);
    EXPECT_EQ(uk.rarePatterns.size(), 2u);
}

TEST(RulesDecoding, LanguageMembersAndAlternatives) {
    const LanguageConfig l = *decode(R"({"languages": {"ru": {
        "script": "cyrillic", "scriptAlphabet": "АБВ", "vowels": ["а", "", "еж", 7],
        "common_words": ["привет", 5, "мир"], "commonSuffixBoosts": {"Ть": 3, "ение": 5, "x": "no"},
        "microDictionary": ["и", "дружба"], "bigramLogWeights": {"пр": 2.5, "xx": "no"},
        "unknownBigramWeight": -2, "impossible_patterns": ["(", "^ъ"]}}})")
                                  .language("ru");
    EXPECT_EQ(l.script, "cyrillic");
    EXPECT_EQ(l.scriptAlphabet, (CharSet{"а", "б", "в"}));
    EXPECT_EQ(l.vowels, (CharSet{"а", "е"}));
    EXPECT_EQ(l.commonWords, (WordSet{"привет", "мир"}));
    ASSERT_EQ(l.commonSuffixBoosts.size(), 2u);
    EXPECT_EQ(l.commonSuffixBoosts[0].first, "ение");  // longest first
    EXPECT_EQ(l.commonSuffixBoosts[1].first, "ть");    // lower-cased
    EXPECT_EQ(l.microDictionary, (WordSet{"и", "дружба"}));
    EXPECT_EQ(l.microDictionaryPrefixes, std::vector<std::string>{"дружба"});
    EXPECT_EQ(l.bigramLogWeights.size(), 1u);
    EXPECT_DOUBLE_EQ(l.unknownBigramWeight, -2.0);
    EXPECT_EQ(l.impossiblePatterns.size(), 1u);  // "(" does not compile and is dropped
}

TEST(RulesDecoding, ProtectedPatternsSkipBadEntries) {
    const RulesConfig c = decode(R"({"protected_patterns": [
        {"id": "url", "regex": "^https?://", "case_insensitive": true},
        {"id": "broken", "regex": "("}, {"regex": "^x"}, 7,
        {"id": "hex", "regex": "^#[0-9a-f]{6}$", "case_insensitive": "yes"}]})");
    ASSERT_EQ(c.protectedPatterns.size(), 2u);
    EXPECT_EQ(c.protectedPatterns[0].id, "url");
    EXPECT_TRUE(c.protectedPatterns[0].caseInsensitive);
    EXPECT_TRUE(c.protectedPatterns[0].regex.search("HTTP://x"));
    EXPECT_EQ(c.protectedPatterns[1].id, "hex");
    EXPECT_FALSE(c.protectedPatterns[1].caseInsensitive);
    EXPECT_FALSE(c.protectedPatterns[1].regex.search("#ABCDEF"));
}

TEST(RulesDecoding, LayoutSuspicion) {
    const RulesConfig c = decode(R"({
        "layout_suspicion": {"latin_raw_suspicious_for_ru": [{"regex": "^gh", "bonus_to_candidate": 6},
                                                              {"regex": "^x"}, {"regex": "(", "bonus_to_candidate": 1}]}})");
    ASSERT_EQ(c.layoutSuspicion.latinSuspiciousForRu.size(), 1u);
    EXPECT_DOUBLE_EQ(c.layoutSuspicion.latinSuspiciousForRu[0].bonus, 6.0);
    EXPECT_TRUE(c.layoutSuspicion.cyrillicSuspiciousForEn.empty());
}

TEST(RulesDecoding, TokenizationBoundariesTakeFirstCharacters) {
    const RulesConfig c = decode(R"({"tokenization": {"word_boundaries": [".", ",;", "", 3],
                                                      "digits_in_token_auto": true}})");
    EXPECT_EQ(c.tokenization.wordBoundaries, (CharSet{".", ","}));
    EXPECT_TRUE(c.tokenization.digitsInTokenAuto);
}

TEST(RulesDecoding, PreferencesFieldsAreCopied) {
    UserPreferences prefs;
    prefs.activeLanguages = {"en", "ru"};
    prefs.uppercaseOnlyExactPairs = true;
    prefs.excludedApps["game.exe"] = {"Game", false};
    const RulesConfig c = decode("{}", prefs);
    EXPECT_EQ(c.activeLanguages, prefs.activeLanguages);
    EXPECT_TRUE(c.uppercaseOnlyExactPairs);
    EXPECT_TRUE(c.excludedApps.count("game.exe"));
}

TEST(RulesDecoding, LoadReplacesTheManualOverridesMember) {
    auto root = json::parse(R"({"manual_overrides": {"exact_pairs": {"a": "b"}}})");
    auto overrides = json::parse(R"({"exact_pairs": {"Ghbdtn": "привет"}})");
    const RulesConfig c = RulesConfig::load(*root, *overrides, {});
    EXPECT_EQ(c.manualOverrides.exactPairs, (StringMap<std::string>{{"ghbdtn", "привет"}}));
    EXPECT_TRUE(RulesConfig::parse(*root, {}).manualOverrides.exactPairs.count("a"));
}

}  // namespace
}  // namespace quillom
