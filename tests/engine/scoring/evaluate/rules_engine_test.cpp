#include "scoring/evaluate/rules_engine.h"

#include <gtest/gtest.h>

#include <functional>

#include "scoring/evaluate/edge_punctuation.h"
#include "scoring/evaluate/word_evaluation.h"
#include "scoring_fixture.h"

namespace quillom {
namespace {

using scoring::testing::compiled;
using scoring::testing::lang;
using scoring::testing::makeConfig;

RulesDecision evaluate(RulesConfig config, std::string_view token, std::string_view app = "notepad.exe",
                       std::optional<std::string> active = std::nullopt,
                       std::optional<std::string> session = std::nullopt) {
    return RulesEngine(std::move(config)).evaluate(token, app, active, session);
}

TEST(RulesEngine, CorrectsAWordTypedOnTheWrongLayout) {
    RulesDecision d = evaluate(makeConfig(), "ghbdtn");
    ASSERT_TRUE(d.shouldCorrect);
    EXPECT_EQ(d.correctedToken, "привет");
    EXPECT_EQ(d.reason, "layout_mismatch");
    EXPECT_EQ(d.sourceLanguage, "en");
    EXPECT_EQ(d.targetLanguage, "ru");
    EXPECT_GT(d.confidence, 0.95);
}

TEST(RulesEngine, Vetoes) {
    struct Case {
        const char* name;
        std::string token;
        std::function<void(RulesConfig&)> setup;
        const char* reason;
    } cases[] = {
        {"empty", "", [](RulesConfig&) {}, "empty_token"},
        {"boundary characters only", ",", [](RulesConfig&) {}, "empty_token"},
        {"one character", "g", [](RulesConfig&) {}, "too_short"},
        {"too long", std::string(33, 'g'), [](RulesConfig&) {}, "too_long"},
        {"capitals without pair", "GHBDTN", [](RulesConfig& c) { c.uppercaseOnlyExactPairs = true; },
         "uppercase_requires_exact_pair"},
        {"capitals of a never-correct word", "NASA",
         [](RulesConfig& c) {
             c.uppercaseOnlyExactPairs = true;
             c.manualOverrides.neverCorrect.insert("nasa");
         },
         "never_correct"},
        {"never-correct word", "Ghbdtn", [](RulesConfig& c) { c.manualOverrides.neverCorrect.insert("ghbdtn"); },
         "never_correct"},
        {"mixed scripts", "ghbдtn", [](RulesConfig&) {}, "mixed_script"},
        {"two Cyrillic alphabets", "мыі", [](RulesConfig&) {}, "mixed_script"},
        {"digits", "ghb2tn", [](RulesConfig&) {}, "contains_digits"},
        {"letters of no alphabet", "ωμέγα", [](RulesConfig&) {}, "unknown_script"},
        {"foreign letter beside Latin ones", "abω", [](RulesConfig&) {}, "unknown_script"},
        {"no letters at all", "--", [](RulesConfig&) {}, "unknown_script"},
        {"no other target", "ghbdtn", [](RulesConfig& c) { c.activeLanguages = {"en"}; }, "no_target_language"},
    };
    for (const Case& c : cases) {
        RulesConfig config = makeConfig();
        c.setup(config);
        RulesDecision d = evaluate(std::move(config), c.token);
        EXPECT_EQ(d.reason, c.reason) << c.name;
        EXPECT_FALSE(d.shouldCorrect) << c.name;
        EXPECT_EQ(d.confidence, 0.0) << c.name;
        EXPECT_EQ(d.candidateScore, 0.0) << c.name;
        EXPECT_FALSE(d.targetLanguage.has_value()) << c.name;
    }
}

TEST(RulesEngine, CapitalsPassWhenOffOrWithExactPair) {
    RulesDecision d = evaluate(makeConfig(), "GHBDTN");
    EXPECT_EQ(d.correctedToken, "ПРИВЕТ");
    RulesConfig config = makeConfig();
    config.uppercaseOnlyExactPairs = true;
    config.manualOverrides.exactPairs["ghbdtn"] = "привет";
    d = evaluate(std::move(config), "GHBDTN");
    EXPECT_EQ(d.reason, "exact_seed_pair");
    EXPECT_EQ(d.correctedToken, "ПРИВЕТ");
}

TEST(RulesEngine, ExcludedAppsCompareCaseInsensitively) {
    RulesConfig config = makeConfig();
    config.excludedApps["notepad.exe"] = AppExclusionConfig{"Notepad.exe", false};
    RulesEngine engine(std::move(config));
    for (const char* app : {"notepad.exe", "NOTEPAD.EXE", "Notepad.Exe"})
        EXPECT_EQ(engine.evaluate("ghbdtn", app, std::nullopt, std::nullopt).reason, "excluded_app") << app;
    EXPECT_TRUE(engine.evaluate("ghbdtn", "word.exe", std::nullopt, std::nullopt).shouldCorrect);
    EXPECT_TRUE(engine.evaluate("ghbdtn", "", std::nullopt, std::nullopt).shouldCorrect);
}

TEST(RulesEngine, ExactPairs) {
    struct Case {
        const char* replacement;
        std::optional<std::string> recordedTarget;
        std::optional<std::string> target;
        const char* corrected;
    } cases[] = {
        {"привет", std::nullopt, std::nullopt, "Привет,"},  // letters fit both ru and uk
        {"привет", "ru", "ru", "Привет,"},
        {"hello", std::nullopt, "en", "Hello,"},
    };
    for (const Case& c : cases) {
        RulesConfig config = makeConfig();
        config.manualOverrides.exactPairs["ghbdtn"] = c.replacement;
        if (c.recordedTarget) config.manualOverrides.exactPairTargetLang["ghbdtn"] = *c.recordedTarget;
        RulesDecision d = evaluate(std::move(config), "Ghbdtn,");
        EXPECT_EQ(d.reason, "exact_seed_pair") << c.replacement;
        EXPECT_EQ(d.correctedToken, c.corrected) << c.replacement;
        EXPECT_EQ(d.targetLanguage, c.target) << c.replacement;
        EXPECT_FALSE(d.sourceLanguage.has_value());
        EXPECT_DOUBLE_EQ(d.confidence, 0.99);
        EXPECT_DOUBLE_EQ(d.candidateScore, 120.0);
        EXPECT_DOUBLE_EQ(d.originalScore, 0.0);
    }
}

TEST(RulesEngine, TrailingPunctuationReadings) {
    // The comma is a boundary and a Cyrillic letter key: the known word without it wins.
    EXPECT_EQ(evaluate(makeConfig(), "ghbdtn,").correctedToken, "привет,");

    // The full stop completes мою, while мо alone is no two-letter word.
    RulesConfig config = makeConfig();
    lang(config, "ru").commonWords.insert("мою");
    lang(config, "ru").bigramLogWeights["мо"] = 2.0;
    RulesDecision d = evaluate(std::move(config), "vj.");
    EXPECT_EQ(d.correctedToken, "мою");

    // An unknown correction before a full stop that the whole token does not explain.
    config = makeConfig();
    config.activeLanguages = {"en", "ru"};
    lang(config, "ru").commonWords.erase("привет");
    lang(config, "ru").bigramLogWeights["тю"] = -30.0;
    d = evaluate(std::move(config), "ghbdtn.");
    EXPECT_EQ(d.reason, "ambiguous_trailing_unknown_stem");
    EXPECT_FALSE(d.shouldCorrect);
    EXPECT_DOUBLE_EQ(d.candidateScore, 48.0);

    // Both readings known: the score decides, or the whole word when asked.
    config = makeConfig();
    lang(config, "ru").commonWords.insert("стол");
    lang(config, "ru").commonWords.insert("столб");
    EXPECT_EQ(evaluate(config, "cnjk,").correctedToken, "стол,");
    config.tokenization.preferWholeKnownWord = true;
    EXPECT_EQ(evaluate(config, "cnjk,").correctedToken, "столб");

    config = makeConfig();
    config.tokenization.stripBoundaryBeforeScoring = false;
    EXPECT_EQ(evaluate(std::move(config), "ghbdtn,").correctedToken, "приветб");
}

TEST(RulesEngine, EdgePunctuationTypedOnACyrillicLayout) {
    RulesConfig config = makeConfig();
    config.tokenization.edgePunctuationAuto = true;
    lang(config, "en").commonWords.insert("i");
    const RulesEngine engine(config);
    auto corrected = [&](std::string_view token) {
        RulesDecision d = engine.evaluate(token, "x.exe", std::nullopt, std::nullopt);
        return d.shouldCorrect ? d.correctedToken.value_or("") : std::string("(kept)");
    };
    EXPECT_EQ(corrected("Эруддщ"), "\"hello");   // opening quote
    EXPECT_EQ(corrected("руддщЭ"), "hello\"");   // closing quote
    EXPECT_EQ(corrected("хруддщъ"), "[hello]");  // brackets
    EXPECT_EQ(corrected("руддщЖ"), "hello:");    // colon
    EXPECT_EQ(corrected("ЭШ"), "\"I");           // one-letter word inside quotes
    EXPECT_EQ(corrected("фю"), "(kept)");        // a. : a full stop is no bracket for one letter
    EXPECT_EQ(corrected("Эпривет"), "(kept)");   // the core is no English word
    EXPECT_EQ(corrected("мою"), "(kept)");       // a known Russian word stays
    EXPECT_EQ(corrected("руддщ"), "hello");      // ordinary words go the ordinary way

    config.tokenization.edgePunctuationAuto = false;  // without the member: as typed
    EXPECT_NE(RulesEngine(config).evaluate("ЭШ", "x.exe", std::nullopt, std::nullopt).reason,
              "layout_mismatch_edge_punctuation");
}

TEST(EdgePunctuation, SplitsOnlyMarksAtTheEdges) {
    using scoring::splitMappedEdges;
    auto split = splitMappedEdges("ЭЕру", "\"The");
    ASSERT_TRUE(split);
    EXPECT_EQ(split->leading, 1u);
    EXPECT_EQ(split->trailing, 0u);
    split = splitMappedEdges("тюЖ", "n.:");
    ASSERT_TRUE(split);
    EXPECT_EQ(split->trailing, 2u);
    EXPECT_FALSE(splitMappedEdges("(abc)", "(abc)"));  // typed punctuation: nothing to read
    EXPECT_FALSE(splitMappedEdges("ЭЭ", "\"\""));      // nothing left between
    EXPECT_FALSE(splitMappedEdges("руддщ", "hello"));
}

TEST(RulesEngine, SameCorrectionFromTwoSourcesFollowsTheInputSource) {
    // руддщ is Russian and Ukrainian letters alike; both read as hello.
    EXPECT_EQ(evaluate(makeConfig(), "руддщ", "x.exe", "uk").sourceLanguage, "uk");
    EXPECT_EQ(evaluate(makeConfig(), "руддщ", "x.exe", "ru").sourceLanguage, "ru");
    RulesDecision d = evaluate(makeConfig(), "руддщ");
    EXPECT_EQ(d.sourceLanguage, "ru");
    EXPECT_EQ(d.correctedToken, "hello");
    EXPECT_EQ(d.targetLanguage, "en");
}

TEST(RulesEngine, ProtectedWordNeedsAStrongCandidate) {
    RulesConfig config = makeConfig();
    config.protectedPatterns.push_back(ProtectedPattern{"starts-gh", compiled("^GH", true), true});
    RulesDecision d = evaluate(config, "ghbdtn");
    EXPECT_EQ(d.reason, "layout_mismatch_protected_override");
    EXPECT_TRUE(d.shouldCorrect);
    config.decision.protectedPatternOverrideMinScore = 500.0;
    d = evaluate(std::move(config), "ghbdtn");
    EXPECT_EQ(d.reason, "protected_pattern");
    EXPECT_FALSE(d.shouldCorrect);
}

TEST(RulesEngine, DetectSourceLanguages) {
    RulesEngine engine(makeConfig());
    using Keys = std::vector<std::string>;
    EXPECT_EQ(engine.detectSourceLanguages("hello"), Keys{"en"});
    EXPECT_EQ(engine.detectSourceLanguages("ab-c"), Keys{"en"});
    EXPECT_EQ(engine.detectSourceLanguages("Привет"), (Keys{"ru", "uk"})) << "capitals are tested in lower case";
    EXPECT_EQ(engine.detectSourceLanguages("ЁЖ"), Keys{"ru"});
    EXPECT_EQ(engine.detectSourceLanguages("світ"), Keys{"uk"});
    EXPECT_EQ(engine.detectSourceLanguages("123"), Keys{});
    EXPECT_EQ(engine.detectSourceLanguages("hello мир"), Keys{});
}

// The boundary characters that ended a word, as whole characters: a mark
// with a combining accent, or a mark drawn into a prepended character, is
// no boundary of its own.
TEST(TrailingBoundary, SplitsWholeCharactersOffTheEnd) {
    RulesConfig config = makeConfig();
    config.tokenization.wordBoundaries = {".", ",", "\u00BB", "!", "\u0600x"};
    const struct {
        const char* token;
        const char* core;
    } cases[] = {
        {"word", "word"},
        {"word.", "word"},
        {"слово,\u00BB", "слово"},
        {"слово", "слово"},
        {"x", "x"},
        {".,", ""},
        {"", ""},
        {"a.b", "a.b"},
        {"a!\u0301", "a!\u0301"},      // ! with a combining acute
        {"ab\u0600x", "ab"},           // x drawn into the prepended U+0600
        {"ab\u0600.x", "ab\u0600.x"},  // x after ASCII stands alone
        {"б\u0483", "б\u0483"},        // a Cyrillic combining mark
        {"ab\u00E9", "ab\u00E9"},
    };
    for (const auto& c : cases) {
        const std::string_view token = c.token;
        const scoring::TrailingSplit split = scoring::stripTrailingBoundary(config, token);
        EXPECT_EQ(split.core, c.core) << c.token;
        EXPECT_EQ(std::string(split.core) + std::string(split.trailing), token) << c.token;
    }
    config.tokenization.stripBoundaryBeforeScoring = false;
    EXPECT_EQ(scoring::stripTrailingBoundary(config, "word.").core, "word.");
}

}  // namespace
}  // namespace quillom
