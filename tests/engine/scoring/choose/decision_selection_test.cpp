#include "scoring/choose/decision_selection.h"

#include <gtest/gtest.h>

#include "scoring_fixture.h"

namespace quillom::scoring {
namespace {

using testing::makeConfig;

CompetingDirection candidate(std::string from, std::string to, bool corrects, std::string token, double score,
                             double confidence = 0.9) {
    CompetingDirection c{{from, to}, {}};
    c.decision.shouldCorrect = corrects;
    if (corrects) c.decision.correctedToken = std::move(token);
    c.decision.candidateScore = score;
    c.decision.originalScore = -5.0;
    c.decision.confidence = confidence;
    c.decision.reason = corrects ? Reason::LayoutMismatch : Reason::LowConfidence;
    c.decision.sourceLanguage = from;
    c.decision.targetLanguage = to;
    return c;
}

RulesDecision select(std::vector<CompetingDirection> list, std::optional<std::string> active = std::nullopt,
                     std::optional<std::string> session = std::nullopt) {
    return selectWinningDecision(makeConfig(), std::move(list), active, session);
}

TEST(SelectWinningDecision, SingleOrNoCorrectingCandidate) {
    EXPECT_EQ(select({candidate("en", "ru", false, "", 10.0)}).reason, "low_confidence");
    RulesDecision best = select({candidate("en", "ru", false, "", 10.0), candidate("en", "uk", false, "", 30.0),
                                 candidate("ru", "en", false, "", 30.0)});
    EXPECT_EQ(best.targetLanguage, "uk") << "highest score, earliest on ties";
    RulesDecision only = select({candidate("en", "ru", false, "", 90.0), candidate("en", "uk", true, "гщ", 10.0)});
    EXPECT_TRUE(only.shouldCorrect);
    EXPECT_EQ(only.targetLanguage, "uk");
}

TEST(SelectWinningDecision, KnownWordsWinOverHigherScores) {
    RulesDecision d =
        select({candidate("en", "uk", true, "привет", 100.0), candidate("en", "ru", true, "Привет,", 50.0)});
    EXPECT_EQ(d.targetLanguage, "ru");
    // Apostrophes around a word do not hide it.
    d = select({candidate("en", "ru", true, "свіn", 100.0), candidate("en", "uk", true, "'світ'", 50.0)});
    EXPECT_EQ(d.targetLanguage, "uk");
}

TEST(SelectWinningDecision, CloseRivalsAndSessionLanguage) {
    struct Case {
        const char* name;
        double secondScore;
        std::optional<std::string> session;
        const char* reason;
        std::optional<std::string> target;
    } cases[] = {
        {"rival, no session", 8.5, std::nullopt, "ambiguous_target", std::nullopt},
        {"rival, session picks the lower", 8.5, "uk", "session_language_tie_break", "uk"},
        {"rival, session picks the top", 8.5, "ru", "session_language_tie_break", "ru"},
        {"rival, session targets neither", 8.5, "en", "ambiguous_target", std::nullopt},
        {"2.0 apart is no rival", 8.0, std::nullopt, "layout_mismatch", "ru"},
    };
    for (const Case& c : cases) {
        RulesDecision d =
            select({candidate("en", "ru", true, "abc", 10.0, 0.91), candidate("en", "uk", true, "abd", c.secondScore)},
                   std::nullopt, c.session);
        EXPECT_EQ(d.reason, c.reason) << c.name;
        EXPECT_EQ(d.targetLanguage, c.target) << c.name;
        if (std::string(c.reason) == "ambiguous_target") {
            EXPECT_FALSE(d.shouldCorrect);
            EXPECT_FALSE(d.correctedToken.has_value());
            EXPECT_FALSE(d.sourceLanguage.has_value());
            EXPECT_DOUBLE_EQ(d.confidence, 0.91) << "the top's confidence";
            EXPECT_DOUBLE_EQ(d.candidateScore, 10.0);
            EXPECT_DOUBLE_EQ(d.originalScore, -5.0);
        } else {
            EXPECT_TRUE(d.shouldCorrect) << c.name;
        }
    }
}

TEST(SelectWinningDecision, SessionMembersThatDisagreeStayAmbiguous) {
    RulesDecision d = select({candidate("en", "uk", true, "abc", 10.0), candidate("ru", "uk", true, "abd", 9.0),
                              candidate("en", "ru", true, "abe", 9.5)},
                             std::nullopt, "uk");
    EXPECT_EQ(d.reason, "ambiguous_target");
}

TEST(SelectWinningDecision, SameCorrectionFromTwoSources) {
    auto list = [] {
        return std::vector<CompetingDirection>{candidate("ru", "uk", true, "abc", 10.0),
                                               candidate("en", "uk", true, "abc", 9.0),
                                               candidate("en", "ru", true, "xyz", 1.0)};
    };
    EXPECT_EQ(select(list(), "ru").sourceLanguage, "ru") << "the active input source";
    EXPECT_EQ(select(list(), "uk").sourceLanguage, "en") << "no member from uk: smallest source key";
    EXPECT_EQ(select(list()).sourceLanguage, "en") << "smallest source key within 2.0";
    std::vector<CompetingDirection> apart = list();
    apart[1].decision.candidateScore = 7.0;
    EXPECT_EQ(select(std::move(apart)).sourceLanguage, "ru") << "more than 2.0 apart: the top";
}

TEST(TrailingPunctuation, LetterKeysAndKnownWords) {
    RulesConfig config = makeConfig();
    EXPECT_TRUE(hasLayoutMappedTrailing(config, ","));
    EXPECT_TRUE(hasLayoutMappedTrailing(config, "!["));
    EXPECT_FALSE(hasLayoutMappedTrailing(config, "!"));
    EXPECT_FALSE(hasLayoutMappedTrailing(config, ""));
    EXPECT_FALSE(trailingHasNonPunctuationLetterKey(config, ",.;'"));
    EXPECT_TRUE(trailingHasNonPunctuationLetterKey(config, ",["));
    EXPECT_FALSE(trailingHasNonPunctuationLetterKey(config, "@"));

    EXPECT_TRUE(isKnownWordInAnyTarget(config, "Привет,"));
    EXPECT_FALSE(isKnownWordInAnyTarget(config, std::nullopt));
    EXPECT_FALSE(isKnownWordInAnyTarget(config, "a."));
    EXPECT_FALSE(isKnownWordInAnyTarget(config, "xyzzy"));
    config.activeLanguages = {"en"};
    EXPECT_FALSE(isKnownWordInAnyTarget(config, "привет")) << "only active languages count";
}

TEST(TrailingPunctuation, ChoosingBetweenTheTwoReadings) {
    RulesConfig config = makeConfig();
    auto decision = [](bool corrects, const char* token, double score) {
        return candidate("en", "ru", corrects, token, score).decision;
    };
    struct Case {
        const char* name;
        const char* trailing;
        RulesDecision first;
        RulesDecision second;
        const char* expected;      // "first", "second" or a reason
        bool mustMakeWord = true;  // "trailing_letter_makes_word"
    } cases[] = {
        {"only the whole token corrects, into a word", ",", decision(false, "", 0), decision(true, "мир", 5), "second"},
        {"only the whole token corrects, into no word", ",", decision(false, "", 0), decision(true, "абв", 5), "first"},
        {"only the whole token corrects, no word needed", ",", decision(false, "", 0), decision(true, "абв", 5),
         "second", false},
        {"letter key in trailing", "[", decision(true, "стол[", 90), decision(true, "абвх", 5), "second"},
        {"only second known", ",", decision(true, "абв,", 90), decision(true, "мир", 5), "second"},
        {"only first known", ",", decision(true, "мир,", 5), decision(true, "абв", 90), "first"},
        {"neither known, second higher", ",", decision(true, "абв,", 5), decision(true, "абг", 90), "second"},
        {"neither known, second lower", ",", decision(true, "абв,", 90), decision(true, "абг", 5),
         "ambiguous_trailing_unknown_stem"},
        {"first alone, unknown", ".", decision(true, "абв.", 90), decision(false, "", 5),
         "ambiguous_trailing_unknown_stem"},
        {"first alone, known", ".", decision(true, "мир.", 90), decision(false, "", 5), "first"},
        {"neither corrects", ",", decision(false, "", 1), decision(false, "", 5), "first"},
    };
    for (const Case& c : cases) {
        config.tokenization.trailingLetterMakesWord = c.mustMakeWord;
        RulesDecision d = chooseTrailingReading(config, c.trailing, c.first, c.second);
        std::string expected = c.expected;
        if (expected == "first") {
            EXPECT_EQ(d.correctedToken, c.first.correctedToken) << c.name;
            EXPECT_EQ(d.candidateScore, c.first.candidateScore) << c.name;
        } else if (expected == "second") {
            EXPECT_EQ(d.correctedToken, c.second.correctedToken) << c.name;
            EXPECT_EQ(d.candidateScore, c.second.candidateScore) << c.name;
        } else {
            EXPECT_EQ(d.reason, expected) << c.name;
            EXPECT_FALSE(d.shouldCorrect) << c.name;
            EXPECT_FALSE(d.targetLanguage.has_value()) << c.name;
            EXPECT_EQ(d.candidateScore, c.first.candidateScore) << c.name;
        }
    }
}

}  // namespace
}  // namespace quillom::scoring
