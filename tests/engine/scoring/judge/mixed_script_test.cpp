#include "scoring/judge/mixed_script.h"

#include <gtest/gtest.h>

#include "scoring/judge/pair_diagnosis.h"
#include "scoring/read/protected_patterns.h"
#include "scoring/evaluate/rules_engine.h"
#include "scoring_fixture.h"

namespace quillom::scoring {
namespace {

using testing::compiled;
using testing::lang;
using testing::makeConfig;
using testing::Scoring;

TEST(IsMixedScript, NeedsLettersNoSingleAlphabetHolds) {
    RulesConfig config = makeConfig();
    LanguageIndex index(config);
    struct Case {
        const char* token;
        bool mixed;
    } cases[] = {{"hello", false}, {"ghbвtn", true}, {"світ", false},   {"мыі", true},
                 {"123", false},   {"abω", false},   {"ПРИвет", false}, {"Hello-Мир", true}};
    for (const Case& c : cases)
        EXPECT_EQ(isMixedScript(index.scanLetters(TextChars(c.token).lowered())), c.mixed) << c.token;
}

TEST(MixedScript, ScoresBothReadingsRussianWinsTies) {
    MixedScriptScore s = scoreMixedScriptCandidates(Scoring(makeConfig()).context(), TextChars("ghbвtn"));
    EXPECT_EQ(s.winnerCandidate, "привет");
    EXPECT_EQ(s.winnerDirection, (LayoutDirection{"en", "ru"}));
    EXPECT_EQ(s.loserCandidate, "ghbdtn");
    EXPECT_EQ(s.loserDirection, (LayoutDirection{"ru", "en"}));
    EXPECT_DOUBLE_EQ(s.delta(), 138.0 - (-30.0));

    RulesConfig config = makeConfig();
    config.languages.erase("en");
    config.languages.erase("ru");
    s = scoreMixedScriptCandidates(Scoring(config).context(), TextChars("ghbвtn"));
    EXPECT_EQ(s.winnerDirection, (LayoutDirection{"en", "ru"})) << "equal totals choose the Russian reading";
    EXPECT_EQ(s.delta(), 0.0);
}

TEST(MixedScript, SuspicionBonusGoesToEachReading) {
    RulesConfig config = makeConfig();
    config.layoutSuspicion.cyrillicSuspiciousForEn = {{compiled("в"), 500.0}};
    MixedScriptScore s = scoreMixedScriptCandidates(Scoring(config).context(), TextChars("ghbвtn"));
    EXPECT_EQ(s.winnerCandidate, "ghbdtn");
    EXPECT_EQ(s.winnerBreakdown.layoutSuspicion, 500.0);
}

TEST(MixedScript, Decisions) {
    struct Case {
        const char* name;
        const char* token;
        bool isProtected;
        double overrideScore;
        const char* reason;
        std::optional<std::string> corrected;
    } cases[] = {
        {"clear Russian reading", "Ghbвtn", false, 60.0, "mixed_script_dual_eval", "Привет!"},
        {"protected, strong winner", "ghbвtn", true, 138.0, "mixed_script_dual_eval", "привет!"},
        {"protected, winner below override", "ghbвtn", true, 138.1, "protected_pattern", std::nullopt},
        {"no clear winner", "qzд", false, 60.0, "mixed_script_no_clear_winner", std::nullopt},
    };
    for (const Case& c : cases) {
        RulesConfig config = makeConfig();
        config.decision.protectedPatternOverrideMinScore = c.overrideScore;
        RulesDecision d = evaluateMixedScript(Scoring(config).context(), TextChars(c.token), "!", c.isProtected);
        EXPECT_EQ(d.reason, c.reason) << c.name;
        EXPECT_EQ(d.correctedToken, c.corrected) << c.name;
        EXPECT_FALSE(d.sourceLanguage.has_value()) << c.name;
        EXPECT_FALSE(d.targetLanguage.has_value()) << c.name;
        EXPECT_DOUBLE_EQ(d.confidence, confidenceForDelta(config.decision, d.candidateScore - d.originalScore))
            << c.name << ": a dictionary winner is not capped";
    }
}

TEST(MixedScript, NonDictionaryWinnerIsCapped) {
    RulesConfig config = makeConfig();
    lang(config, "ru").commonWords.erase("привет");
    RulesDecision d = evaluateMixedScript(Scoring(config).context(), TextChars("ghbвtn"), "", false);
    EXPECT_EQ(d.reason, "mixed_script_dual_eval");
    EXPECT_DOUBLE_EQ(d.confidence, 0.95);
    EXPECT_DOUBLE_EQ(d.originalScore, -30.0);
    EXPECT_DOUBLE_EQ(d.candidateScore, 48.0);
}

TEST(MixedScript, WithoutEnglishOrRussianNothingWins) {
    RulesConfig config = makeConfig();
    config.languages.erase("en");
    config.languages.erase("ru");
    RulesDecision d = evaluateMixedScript(Scoring(config).context(), TextChars("ghbвtn"), "", false);
    EXPECT_EQ(d.reason, "mixed_script_no_clear_winner");
    EXPECT_DOUBLE_EQ(d.confidence, 0.5);
}

TEST(MixedScript, EngineNeverCorrectsToUkrainian) {
    RulesConfig config = makeConfig();
    config.tokenization.mixedScriptAuto = true;
    // cdsт would be світ on the Ukrainian layout; only en and ru readings are tried.
    lang(config, "uk").commonWords.insert("світ");
    RulesEngine engine(std::move(config));
    RulesDecision d = engine.evaluate("cdsт", "x.exe", std::nullopt, std::nullopt);
    EXPECT_NE(d.correctedToken.value_or(""), "світ");
    EXPECT_NE(d.targetLanguage.value_or(""), "uk");
    d = engine.evaluate("ghbвtn", "x.exe", std::nullopt, std::nullopt);
    EXPECT_EQ(d.reason, "mixed_script_dual_eval");
    EXPECT_EQ(d.correctedToken, "привет");
}

TEST(ProtectedPatterns, DotBeforeFinalLatinLetterIsNeverProtected) {
    RulesConfig config = makeConfig();
    EXPECT_FALSE(isProtectedToken(config, TextChars("file.txt"))) << "no patterns, nothing protected";
    config.protectedPatterns.push_back(ProtectedPattern{"dotted", compiled("\\."), false});
    struct Case {
        const char* token;
        bool isProtected;
    } cases[] = {{"file.txt", true}, {"cj.p", false}, {"cj.P", false}, {"v1.2", true},
                 {"abc.ж", true},    {".", true},     {"plain", false}};
    for (const Case& c : cases) EXPECT_EQ(isProtectedToken(config, TextChars(c.token)), c.isProtected) << c.token;
}

TEST(ProtectedPatterns, CaseInsensitivePatternsMatchAnyCase) {
    RulesConfig config = makeConfig();
    config.protectedPatterns.push_back(ProtectedPattern{"sha", compiled("^[0-9a-f]{8}$", true), true});
    EXPECT_TRUE(isProtectedToken(config, TextChars("DEADBEEF")));
    EXPECT_FALSE(isProtectedToken(config, TextChars("DEADBEEFS")));
}

}  // namespace
}  // namespace quillom::scoring
