#include "scoring/judge/pair_diagnosis.h"

#include <gtest/gtest.h>

#include <functional>

#include "scoring_fixture.h"

namespace quillom::scoring {
namespace {

using testing::decide;
using testing::DirectionCase;
using testing::lang;
using testing::makeConfig;

TEST(Thresholds, CurveBelowFiveThenMapOrDefault) {
    DecisionConfig d;
    d.minDeltaByLength = {{3, 35.0}, {5, 99.0}};
    d.minCandidateScoreByLength = {{6, 70.0}};
    struct Case {
        int64_t length;
        double delta;
        double candidate;
    } cases[] = {{1, 10.0, 50.0}, {2, 10.0, 47.0}, {3, 14.0, 44.0}, {4, 22.0, 41.0},
                 {5, 99.0, 42.0}, {6, 22.0, 70.0}, {9, 22.0, 42.0}};
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(minDeltaForLength(d, c.length), c.delta) << c.length;
        EXPECT_DOUBLE_EQ(minCandidateScoreForLength(d, c.length), c.candidate) << c.length;
    }
    d.dynamicThresholdCurve.enabled = false;
    EXPECT_DOUBLE_EQ(minDeltaForLength(d, 3), 35.0);
    EXPECT_DOUBLE_EQ(minDeltaForLength(d, 4), 22.0);
    EXPECT_DOUBLE_EQ(minCandidateScoreForLength(d, 3), 42.0);
}

TEST(Confidence, LogisticAndCappedForNonDictionaryCandidates) {
    DecisionConfig d;
    EXPECT_DOUBLE_EQ(confidenceForDelta(d, 0.0), 0.5);
    EXPECT_NEAR(confidenceForDelta(d, 18.0), 0.7310586, 1e-6);
    EXPECT_LT(confidenceForDelta(d, -18.0), 0.5);
    ScoreBreakdown plain, dictionary;
    dictionary.exactCommonWord = 90.0;
    EXPECT_DOUBLE_EQ(cappedConfidence(0.99, plain), 0.95);
    EXPECT_DOUBLE_EQ(cappedConfidence(0.90, plain), 0.90);
    EXPECT_DOUBLE_EQ(cappedConfidence(0.99, dictionary), 0.99);
}

// Directions from one language share the typed word's score through the
// cache; a cached score must decide exactly as a fresh one.
TEST(ScoreAndDecide, SharedTypedScoresDecideAsFreshOnes) {
    RulesConfig config = makeConfig();
    config.activeLanguages = {"en", "uk", "ru"};
    LanguageIndex index(config);
    for (const char* typed : {"ghbdtn", "Ghbdtn", "cjxe", "hello", "k.,jdm"}) {
        TextChars token{std::string(typed)};
        TextChars lower = token.lowered();
        const std::optional<std::string> session;
        TypedScoreCache cache;
        WordContext shared{token, lower, {}, false, session, &cache};
        WordContext fresh{token, lower, {}, false, session};
        for (const LayoutDirection& direction : {LayoutDirection{"en", "ru"}, LayoutDirection{"en", "uk"}}) {
            const RulesDecision a = scoreAndDecideForDirection({config, index}, shared, direction, 1);
            const RulesDecision b = scoreAndDecideForDirection({config, index}, fresh, direction, 1);
            EXPECT_EQ(a.reason, b.reason) << typed << " " << direction.to;
            EXPECT_EQ(a.correctedToken, b.correctedToken) << typed;
            EXPECT_DOUBLE_EQ(a.originalScore, b.originalScore) << typed;
            EXPECT_DOUBLE_EQ(a.candidateScore, b.candidateScore) << typed;
        }
        for (const TypedScore& t : cache) EXPECT_EQ(t.language, "en");
        EXPECT_LE(cache.size(), 2u) << typed;
    }
}

TEST(ScoreAndDecide, NoMappingChange) {
    RulesDecision d = decide(makeConfig(), {.token = "123", .from = "en", .to = "ru"});
    EXPECT_FALSE(d.shouldCorrect);
    EXPECT_EQ(d.reason, "no_mapping_change");
    EXPECT_EQ(d.originalScore, 0.0);
    EXPECT_EQ(d.candidateScore, 0.0);
}

TEST(ScoreAndDecide, OrdinaryCorrectionCarriesCaseTrailingAndScores) {
    RulesDecision d = decide(makeConfig(), {.token = "Ghbdtn", .from = "en", .to = "ru", .trailing = ","});
    ASSERT_TRUE(d.shouldCorrect);
    EXPECT_EQ(d.reason, "layout_mismatch");
    EXPECT_EQ(d.correctedToken, "Привет,");
    EXPECT_DOUBLE_EQ(d.originalScore, -30.0);
    EXPECT_DOUBLE_EQ(d.candidateScore, 138.0);
    EXPECT_DOUBLE_EQ(d.confidence, confidenceForDelta(DecisionConfig{}, 168.0)) << "dictionary words are not capped";
    EXPECT_GT(d.confidence, 0.95);
    EXPECT_FALSE(d.sourceLanguage.has_value());
    EXPECT_FALSE(d.targetLanguage.has_value());
}

TEST(ScoreAndDecide, NonDictionaryCorrectionIsCapped) {
    RulesConfig config = makeConfig();
    lang(config, "ru").commonWords.erase("привет");
    RulesDecision d = decide(config, {.token = "ghbdtn", .from = "en", .to = "ru"});
    ASSERT_TRUE(d.shouldCorrect);
    EXPECT_DOUBLE_EQ(d.candidateScore, 48.0);
    EXPECT_DOUBLE_EQ(d.confidence, 0.95);
}

TEST(ScoreAndDecide, TargetPriorityPenalty) {
    RulesConfig config = makeConfig();
    double base = decide(config, {.token = "ghbdtn", .from = "en", .to = "ru", .priorityIndex = 0}).candidateScore;
    EXPECT_DOUBLE_EQ(decide(config, {.token = "ghbdtn", .from = "en", .to = "ru", .priorityIndex = 1}).candidateScore,
                     base);
    EXPECT_DOUBLE_EQ(decide(config, {.token = "ghbdtn", .from = "en", .to = "ru", .priorityIndex = 2}).candidateScore,
                     base - 12.0);
    EXPECT_DOUBLE_EQ(decide(config, {.token = "ghbdtn", .from = "en", .to = "ru", .priorityIndex = 3}).candidateScore,
                     base - 24.0);
}

TEST(ScoreAndDecide, RequiredDeltaAdjustments) {
    struct Case {
        const char* name;
        std::function<void(RulesConfig&)> setup;
        const char* reason;
    } cases[] = {
        // A common typed word needs 28 more: delta 78 against 60 + 28.
        {"common typed word, too little",
         [](RulesConfig& c) {
             lang(c, "en").commonWords.insert("ghbdtn");
             c.decision.minDeltaDefault = 60.0;
         },
         "low_confidence"},
        {"common typed word, enough",
         [](RulesConfig& c) {
             lang(c, "en").commonWords.insert("ghbdtn");
             c.decision.minDeltaDefault = 40.0;
         },
         "layout_mismatch"},
    };
    for (const Case& c : cases) {
        RulesConfig config = makeConfig();
        c.setup(config);
        RulesDecision d = decide(config, {.token = "ghbdtn", .from = "en", .to = "ru"});
        EXPECT_EQ(d.reason, c.reason) << c.name;
    }
}

TEST(ScoreAndDecide, OneCharacterRule) {
    struct Case {
        const char* name;
        DirectionCase input;
        bool skipLength1;
        bool typedIsCommon;
        const char* reason;
    } cases[] = {
        {"all conditions hold",
         {.token = "ф", .from = "ru", .to = "en", .sessionLanguage = "en"},
         false,
         false,
         "layout_mismatch_length_1"},
        {"skip switch on",
         {.token = "ф", .from = "ru", .to = "en", .sessionLanguage = "en"},
         true,
         false,
         "length_1_no_exact_pair"},
        {"no session language", {.token = "ф", .from = "ru", .to = "en"}, false, false, "length_1_no_exact_pair"},
        {"other session language",
         {.token = "ф", .from = "ru", .to = "en", .sessionLanguage = "ru"},
         false,
         false,
         "length_1_no_exact_pair"},
        {"followed by a full stop",
         {.token = "ф", .from = "ru", .to = "en", .trailing = ".", .sessionLanguage = "en"},
         false,
         false,
         "length_1_no_exact_pair"},
        {"capital letter",
         {.token = "Ф", .from = "ru", .to = "en", .sessionLanguage = "en"},
         false,
         false,
         "length_1_no_exact_pair"},
        {"typed word is common",
         {.token = "ф", .from = "ru", .to = "en", .sessionLanguage = "en"},
         false,
         true,
         "length_1_no_exact_pair"},
        {"target not English",
         {.token = "f", .from = "en", .to = "ru", .sessionLanguage = "ru"},
         false,
         false,
         "length_1_no_exact_pair"},
        {"candidate not common",
         {.token = "и", .from = "ru", .to = "en", .sessionLanguage = "en"},
         false,
         false,
         "length_1_no_exact_pair"},
        {"protected",
         {.token = "ф", .from = "ru", .to = "en", .isProtected = true, .sessionLanguage = "en"},
         false,
         false,
         "protected_pattern"},
    };
    for (const Case& c : cases) {
        RulesConfig config = makeConfig();
        config.tokenization.autoSkipLength1 = c.skipLength1;
        if (c.typedIsCommon) lang(config, "ru").commonWords.insert("ф");
        RulesDecision d = decide(config, c.input);
        EXPECT_EQ(d.reason, c.reason) << c.name;
        EXPECT_EQ(d.shouldCorrect, std::string(c.reason) == "layout_mismatch_length_1") << c.name;
        if (d.shouldCorrect) {
            EXPECT_EQ(d.correctedToken, "a");
            EXPECT_GT(d.confidence, 0.95) << "a dictionary candidate is not capped";
        } else {
            EXPECT_EQ(d.confidence, 0.0) << c.name;
        }
    }
}

TEST(ScoreAndDecide, TwoCharacterRule) {
    struct Case {
        const char* token;
        std::optional<std::string> session;
        bool requireCommon;
        const char* reason;
    } cases[] = {
        {"lf", std::nullopt, true, "layout_mismatch"},   {"lf", "ru", true, "layout_mismatch"},
        {"lf", "en", true, "length_2_session_mismatch"}, {"jr", std::nullopt, true, "length_2_no_exact_match"},
        {"jr", "en", false, "candidate_score_too_low"},  // ок is no common word: scored as usual
    };
    for (const Case& c : cases) {
        RulesConfig config = makeConfig();
        config.tokenization.autoLength2RequiresExactCommonOrOverride = c.requireCommon;
        RulesDecision d = decide(config, {.token = c.token, .from = "en", .to = "ru", .sessionLanguage = c.session});
        EXPECT_EQ(d.reason, c.reason) << c.token << " " << c.session.value_or("-");
    }
}

TEST(ScoreAndDecide, SameScriptRules) {
    struct Case {
        const char* token;
        const char* extraRuCommon;
        const char* extraUkCommon;
        const char* reason;
    } cases[] = {
        {"свыт", nullptr, nullptr, "layout_mismatch"},
        {"свы", nullptr, nullptr, "same_script_too_short"},
        {"свыты", nullptr, nullptr, "same_script_requires_known_word"},
        {"свыт", "свыт", nullptr, "same_script_source_is_known_word"},
        {"столы", nullptr, "столі", "same_script_source_is_inflected_word"},
    };
    for (const Case& c : cases) {
        RulesConfig config = makeConfig();
        if (c.extraRuCommon) lang(config, "ru").commonWords.insert(c.extraRuCommon);
        if (c.extraUkCommon) lang(config, "uk").commonWords.insert(c.extraUkCommon);
        RulesDecision d = decide(config, {.token = c.token, .from = "ru", .to = "uk", .priorityIndex = 2});
        EXPECT_EQ(d.reason, c.reason) << c.token;
        if (!d.shouldCorrect) {
            EXPECT_DOUBLE_EQ(d.confidence, confidenceForDelta(config.decision, d.candidateScore - d.originalScore))
                << c.token << ": same-script refusals carry the plain confidence";
        }
    }
}

TEST(ScoreAndDecide, SameScriptCandidateGetsPhoneticAdjustment) {
    RulesConfig config = makeConfig();
    RulesDecision d = decide(config, {.token = "свыт", .from = "ru", .to = "uk", .priorityIndex = 1});
    // світ: 90 common + 8 vowel + 40 pairs, plus 10 for the inner ы of the typed word.
    EXPECT_DOUBLE_EQ(d.candidateScore, 148.0);
}

TEST(SourceIsInflectedKnownWord, NeedsPluralOfCommonStemOfThreeLetters) {
    RulesConfig config = makeConfig();
    lang(config, "ru").commonWords.insert("мы");
    struct Case {
        const char* source;
        LayoutDirection direction;
        bool expected;
    } cases[] = {
        {"столы", {"ru", "uk"}, true},  {"стола", {"ru", "uk"}, false},
        {"мыы", {"ru", "uk"}, false},    // stem shorter than 3
        {"ковры", {"ru", "uk"}, false},  // stem not common
        {"столы", {"ru", "ru"}, false},  // ы is not source-only
        {"столы", {"xx", "uk"}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(sourceIsInflectedKnownWord(config, TextChars(c.source), c.direction), c.expected) << c.source;
}

TEST(ScoreAndDecide, CandidateThresholdAndGibberishBypass) {
    struct Case {
        const char* name;
        std::function<void(RulesConfig&)> setup;
        bool isProtected;
        const char* reason;
    } cases[] = {
        // ghbdtn scores -30 as English; привет 138 as Russian; the candidate minimum is raised past it.
        {"negative typed score", [](RulesConfig&) {}, false, "high_confidence_gibberish_bypass"},
        {"protected, candidate below override", [](RulesConfig&) {}, true, "protected_pattern"},
        {"typed score zero, two unknown pairs", [](RulesConfig& c) { lang(c, "en").ngramScoringScale = 0.0; }, false,
         "high_confidence_gibberish_bypass"},
        {"typed score zero, no unknown pairs",
         [](RulesConfig& c) {
             LanguageConfig& en = lang(c, "en");
             for (const char* p : {"gh", "hb", "bd", "dt", "tn"}) en.bigramLogWeights[p] = 0.0;
         },
         false, "candidate_score_too_low"},
        // Without the common word привет scores 8 + 20 x scale: 7.9 fails, 8.0 passes.
        {"candidate 7.9",
         [](RulesConfig& c) {
             lang(c, "ru").commonWords.erase("привет");
             lang(c, "ru").ngramScoringScale = -0.05;
         },
         false, "candidate_score_too_low"},
        {"candidate 8.0",
         [](RulesConfig& c) {
             lang(c, "ru").commonWords.erase("привет");
             lang(c, "ru").ngramScoringScale = 0.0;
         },
         false, "high_confidence_gibberish_bypass"},
        {"technical word", [](RulesConfig& c) { lang(c, "en").technicalWords.insert("ghbdtn"); }, false,
         "candidate_score_too_low"},
        {"technical words of the target do not count",
         [](RulesConfig& c) { lang(c, "ru").technicalWords.insert("ghbdtn"); }, false,
         "high_confidence_gibberish_bypass"},
        {"shorter than the bypass minimum", [](RulesConfig& c) { c.decision.gibberishBypassMinLength = 7; }, false,
         "candidate_score_too_low"},
        {"at the bypass minimum", [](RulesConfig& c) { c.decision.gibberishBypassMinLength = 6; }, false,
         "high_confidence_gibberish_bypass"},
    };
    for (const Case& c : cases) {
        RulesConfig config = makeConfig();
        config.decision.minCandidateScoreDefault = 500.0;
        config.decision.protectedPatternOverrideMinScore = 1000.0;
        c.setup(config);
        RulesDecision d = decide(config, {.token = "ghbdtn", .from = "en", .to = "ru", .isProtected = c.isProtected});
        EXPECT_EQ(d.reason, c.reason) << c.name;
        EXPECT_EQ(d.shouldCorrect, std::string(c.reason) == "high_confidence_gibberish_bypass") << c.name;
        if (d.shouldCorrect) {
            EXPECT_EQ(d.correctedToken, "привет") << c.name;
        }
    }
}

TEST(ScoreAndDecide, ShortProtectedWordsAreNeverOverridden) {
    RulesConfig config = makeConfig();
    config.decision.protectedPatternOverrideMinScore = 0.0;
    DirectionCase word{.token = "lf", .from = "en", .to = "ru", .isProtected = true};
    EXPECT_EQ(decide(config, word).reason, "layout_mismatch_protected_override");
    config.decision.protectedOverrideMinLength = 3;
    EXPECT_EQ(decide(config, word).reason, "protected_pattern");
    word.token = "ghbdtn";
    EXPECT_EQ(decide(config, word).reason, "layout_mismatch_protected_override");
}

TEST(ScoreAndDecide, ProtectedWordOverrideAtThreshold) {
    struct Case {
        double overrideScore;
        bool isProtected;
        double minDelta;
        const char* reason;
    } cases[] = {
        {48.0, true, 22.0, "layout_mismatch_protected_override"},  // candidate exactly at the threshold
        {48.1, true, 22.0, "protected_pattern"},
        {48.0, true, 500.0, "protected_pattern"},  // thresholds failed
        {48.0, false, 500.0, "low_confidence"},
        {48.1, false, 22.0, "layout_mismatch"},
    };
    for (const Case& c : cases) {
        RulesConfig config = makeConfig();
        lang(config, "ru").commonWords.erase("привет");
        config.decision.protectedPatternOverrideMinScore = c.overrideScore;
        config.decision.minDeltaDefault = c.minDelta;
        RulesDecision d = decide(config, {.token = "ghbdtn", .from = "en", .to = "ru", .isProtected = c.isProtected});
        EXPECT_EQ(d.reason, c.reason) << c.overrideScore << " " << c.isProtected << " " << c.minDelta;
        EXPECT_DOUBLE_EQ(d.candidateScore, 48.0);
        if (!d.shouldCorrect) {
            EXPECT_FALSE(d.correctedToken.has_value());
        }
    }
}

TEST(ScoreAndDecide, ConfidenceBelowMinimumIsLowConfidence) {
    RulesConfig config = makeConfig();
    config.decision.minConfidence = 0.99999;
    RulesDecision d = decide(config, {.token = "ghbdtn", .from = "en", .to = "ru"});
    EXPECT_EQ(d.reason, "low_confidence");
    EXPECT_DOUBLE_EQ(d.confidence, confidenceForDelta(config.decision, 168.0));
}

// A word typed all in capitals is an abbreviation: one its script lists
// stays, and a protected one reads as a word of the target only within the
// configured band (the fixture's words have no rank, so none is within it).
TEST(Capitals, ListedAbbreviationsStayAndUnrankedReadingsNeedTheBand) {
    struct Case {
        const char* name;
        std::function<void(RulesConfig&)> setup;
        const char* token;
        LayoutDirection direction;
        bool isProtected;
        const char* reason;
    } cases[] = {
        {"no abbreviations, no band: as any word",
         [](RulesConfig&) {},
         "CNJK",
         {"en", "ru"},
         true,
         "layout_mismatch_protected_override"},
        {"an abbreviation of the typed language",
         [](RulesConfig& c) { lang(c, "en").abbreviations.insert("cnjk"); },
         "CNJK",
         {"en", "ru"},
         true,
         "protected_pattern"},
        {"unprotected abbreviation",
         [](RulesConfig& c) { lang(c, "en").abbreviations.insert("ghbdtn"); },
         "GHBDTN",
         {"en", "ru"},
         false,
         "low_confidence"},
        {"lower case is no abbreviation",
         [](RulesConfig& c) { lang(c, "en").abbreviations.insert("cnjk"); },
         "cnjk",
         {"en", "ru"},
         true,
         "layout_mismatch_protected_override"},
        {"an abbreviation of another language of the script",
         [](RulesConfig& c) { lang(c, "uk").abbreviations.insert("руддщ"); },
         "РУДДЩ",
         {"ru", "en"},
         true,
         "protected_pattern"},
        {"... that is not active",
         [](RulesConfig& c) {
             lang(c, "uk").abbreviations.insert("руддщ");
             c.activeLanguages = {"en", "ru"};
         },
         "РУДДЩ",
         {"ru", "en"},
         true,
         "layout_mismatch_protected_override"},
        {"unranked reading with a band",
         [](RulesConfig& c) { c.decision.capitalsWordMaxBand = 60; },
         "CNJK",
         {"en", "ru"},
         true,
         "protected_pattern"},
        {"an unranked abbreviation reads as none",
         [](RulesConfig& c) {
             c.decision.capitalsWordMaxBand = 60;
             lang(c, "ru").abbreviations.insert("стол");
         },
         "CNJK",
         {"en", "ru"},
         true,
         "protected_pattern"},
        {"unprotected capitals keep the thresholds",
         [](RulesConfig& c) { c.decision.capitalsWordMaxBand = 60; },
         "GHBDTN",
         {"en", "ru"},
         false,
         "layout_mismatch"},
    };
    for (const Case& c : cases) {
        RulesConfig config = makeConfig();
        c.setup(config);
        RulesDecision d = decide(config, {.token = c.token,
                                          .from = c.direction.from,
                                          .to = c.direction.to,
                                          .isProtected = c.isProtected,
                                          .sessionLanguage = c.direction.to});
        EXPECT_EQ(d.reason, c.reason) << c.name;
        EXPECT_EQ(d.shouldCorrect, std::string(c.reason).starts_with("layout_mismatch")) << c.name;
    }
}

// Letter statistics say nothing of a string of capitals: HVAPFSDS is meant.
TEST(Capitals, NoGibberishBypassOnceTheRulesWeighCapitals) {
    RulesConfig config = makeConfig();
    config.decision.minCandidateScoreDefault = 500.0;
    DirectionCase word{.token = "GHBDTN", .from = "en", .to = "ru"};
    EXPECT_EQ(decide(config, word).reason, "high_confidence_gibberish_bypass");
    config.decision.capitalsWordMaxBand = 60;
    EXPECT_EQ(decide(config, word).reason, "candidate_score_too_low");
    word.token = "Ghbdtn";
    EXPECT_EQ(decide(config, word).reason, "high_confidence_gibberish_bypass");
}

}  // namespace
}  // namespace quillom::scoring
