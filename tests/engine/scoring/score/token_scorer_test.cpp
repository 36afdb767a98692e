#include "scoring/score/token_scorer.h"

#include <gtest/gtest.h>

#include "scoring_fixture.h"

namespace quillom::scoring {
namespace {

using testing::compiled;
using testing::lang;
using testing::makeConfig;

ScoreBreakdown score(const RulesConfig& config, const std::string& key, const std::string& token) {
    LanguageIndex index(config);
    return scoreToken({config, index}, TextChars(token), key);
}

TEST(ScoreToken, CommonWordSumsItsComponents) {
    RulesConfig config = makeConfig();
    ScoreBreakdown s = score(config, "en", "hello");
    EXPECT_EQ(s.exactCommonWord, 90.0);
    EXPECT_EQ(s.vowelBonus, 8.0);
    EXPECT_DOUBLE_EQ(s.bigramScore, 20.0 * (3.0 + 2.0 + 2.0 + 2.0) / 4.0);
    EXPECT_DOUBLE_EQ(s.total(), 90.0 + 8.0 + 45.0);
}

// A word the packed lexicon holds scores as a listed word, like one of
// common_words; the lexicon of the configuration fixture's tests/engine/config.
TEST(ScoreToken, PackedLexiconWordsAreCommonWords) {
    const auto lexicon =
        PackedLexiconFile::load(QUILLOM_SOURCE_DIR "/tests/engine/config/data/small_lexicon.bin", "50a5c6be7ff0b352");
    ASSERT_TRUE(lexicon);
    RulesConfig config = makeConfig();
    EXPECT_EQ(score(config, "ru", "вдруг").exactCommonWord, 0.0);
    lang(config, "ru").packedWords = lexicon->language("ru");
    lang(config, "uk").packedWords = lexicon->language("uk");
    EXPECT_EQ(score(config, "ru", "вдруг").exactCommonWord, 90.0);
    EXPECT_EQ(score(config, "ru", "прочтёшь").exactCommonWord, 90.0);
    EXPECT_EQ(score(config, "uk", "вдруг").exactCommonWord, 0.0);
    EXPECT_EQ(score(config, "ru", "вдругу").exactCommonWord, 0.0);
    // common_words still count beside the lexicon.
    EXPECT_EQ(score(config, "ru", "привет").exactCommonWord, 90.0);
}

// Any character of the token that is a vowel of the language counts, a
// vowel of several scalars included; a language without vowels gives none.
TEST(ScoreToken, VowelBonusForAnyVowelOfTheLanguage) {
    RulesConfig config = makeConfig();
    lang(config, "en").vowels = {"a", "e", "o", "y\u0301"};
    const struct {
        const char* token;
        double bonus;
    } cases[] = {{"hello", 8.0}, {"sky", 0.0}, {"sky\u0301", 8.0}, {"xyz", 0.0},
                 {"ztz", 0.0},   {"zzo", 8.0}, {"a", 8.0}};
    for (const auto& c : cases) EXPECT_EQ(score(config, "en", c.token).vowelBonus, c.bonus) << c.token;
    lang(config, "en").vowels.clear();
    EXPECT_EQ(score(config, "en", "hello").vowelBonus, 0.0);
}

TEST(ScoreToken, MissingLanguageScoresZero) {
    RulesConfig config = makeConfig();
    ScoreBreakdown s = score(config, "xx", "hello");
    EXPECT_EQ(s.total(), 0.0);
}

TEST(ScoreToken, OneCharacterTokenGetsAffixesButNoBigrams) {
    RulesConfig config = makeConfig();
    LanguageConfig& en = lang(config, "en");
    en.strongWordStarts = {"x"};
    en.strongWordEnds = {"x"};
    en.commonSuffixBoosts = {{"x", 5.0}};
    en.microDictionary = {"x"};
    ScoreBreakdown s = score(config, "en", "x");
    EXPECT_EQ(s.bigramScore, 0.0);
    EXPECT_EQ(s.strongWordStart, 9.0);
    EXPECT_EQ(s.strongWordEnd, 9.0);
    EXPECT_EQ(s.learnedSuffixBoost, 5.0);
    EXPECT_EQ(s.frequentTokenBonus, 15.0);
}

// Gibberish pairs switch off the start, end and suffix components, never the frequent-token bonus.
TEST(ScoreToken, PoorPairsSwitchOffAffixes) {
    struct Case {
        const char* name;
        const char* token;
        double abWeight;
        bool affixesCount;
    } cases[] = {
        {"two unknown pairs", "qzx", 0.0, false},
        {"mean exactly -1", "ab", -1.0, false},
        {"mean just above -1", "ab", -0.9, true},
        {"one unknown pair, good mean", "hex", 0.0, true},
    };
    for (const Case& c : cases) {
        RulesConfig config = makeConfig();
        LanguageConfig& en = lang(config, "en");
        en.bigramLogWeights["ab"] = c.abWeight;
        en.strongWordStarts = {"q", "a", "h"};
        en.strongWordEnds = {"x", "b"};
        en.commonSuffixBoosts = {{"x", 5.0}, {"b", 5.0}};
        en.microDictionary = {c.token};
        ScoreBreakdown s = score(config, "en", c.token);
        double affix = c.affixesCount ? 1.0 : 0.0;
        EXPECT_EQ(s.strongWordStart, 9.0 * affix) << c.name;
        EXPECT_EQ(s.strongWordEnd, 9.0 * affix) << c.name;
        EXPECT_EQ(s.learnedSuffixBoost, 5.0 * affix) << c.name;
        EXPECT_EQ(s.frequentTokenBonus, 15.0) << c.name;
    }
    RulesConfig config = makeConfig();
    EXPECT_DOUBLE_EQ(score(config, "en", "qzx").bigramScore, 20.0 * -1.5);
}

TEST(ScoreToken, WeakAffixCountsOnlyWithoutStrongWeight) {
    RulesConfig config = makeConfig();
    LanguageConfig& en = lang(config, "en");
    en.strongWordStarts = {"he"};
    en.weakWordStarts = {"h"};
    en.strongWordEnds = {"lo"};
    en.weakWordEnds = {"o"};
    ScoreBreakdown s = score(config, "en", "hello");
    EXPECT_EQ(s.strongWordStart, 9.0);
    EXPECT_EQ(s.weakWordStart, 0.0);
    EXPECT_EQ(s.strongWordEnd, 9.0);
    EXPECT_EQ(s.weakWordEnd, 0.0);

    config.decision.scoringWeights.strongWordStart = 0.0;
    config.decision.scoringWeights.strongWordEnd = 0.0;
    s = score(config, "en", "hello");
    EXPECT_EQ(s.weakWordStart, 4.0);
    EXPECT_EQ(s.weakWordEnd, 4.0);
}

TEST(ScoreToken, AffixesMatchWholeCharactersOnly) {
    RulesConfig config = makeConfig();
    LanguageConfig& en = lang(config, "en");
    en.bigramLogWeights["he\u0301"] = 2.0;
    // "e" followed by a combining acute is one character, so "he" is no start of it.
    en.strongWordStarts = {"he"};
    en.strongWordEnds = {"", "h"};
    en.commonSuffixBoosts = {{"", 5.0}};
    EXPECT_EQ(score(config, "en", "he\u0301").strongWordStart, 0.0);
    EXPECT_EQ(score(config, "en", "he").strongWordStart, 9.0);
    EXPECT_EQ(score(config, "en", "he").strongWordEnd, 0.0) << "an empty entry is no ending";
    EXPECT_EQ(score(config, "en", "he").learnedSuffixBoost, 0.0);
}

TEST(ScoreToken, FirstMatchingSuffixBoostWins) {
    RulesConfig config = makeConfig();
    LanguageConfig& en = lang(config, "en");
    for (const char* pair : {"go", "oi", "in", "ng"}) en.bigramLogWeights[pair] = 1.0;
    en.commonSuffixBoosts = {{"ing", 7.0}, {"ng", 3.0}};
    EXPECT_EQ(score(config, "en", "going").learnedSuffixBoost, 7.0);
    en.commonSuffixBoosts = {{"xyz", 7.0}, {"ng", 3.0}};
    EXPECT_EQ(score(config, "en", "going").learnedSuffixBoost, 3.0);
    en.commonSuffixBoosts = {{"g", 1.0}, {"ing", 7.0}, {"g", 2.0}};
    EXPECT_EQ(score(config, "en", "going").learnedSuffixBoost, 1.0) << "list order, not length, decides";
}

TEST(ScoreToken, FrequentTokenByWordOrLongPrefix) {
    RulesConfig config = makeConfig();
    LanguageConfig& en = lang(config, "en");
    en.microDictionary = {"friend", "in", "the", "stop", "ужин"};
    EXPECT_EQ(score(config, "en", "friendship").frequentTokenBonus, 15.0);
    EXPECT_EQ(score(config, "en", "in").frequentTokenBonus, 15.0);
    EXPECT_EQ(score(config, "en", "inside").frequentTokenBonus, 0.0);
    EXPECT_EQ(score(config, "en", "theme").frequentTokenBonus, 0.0);
    // Words of exactly four characters begin longer ones too; the first four
    // characters of a longer word alone are no word of the list.
    EXPECT_EQ(score(config, "en", "stops").frequentTokenBonus, 15.0);
    EXPECT_EQ(score(config, "en", "ужинать").frequentTokenBonus, 15.0);
    EXPECT_EQ(score(config, "en", "friends").frequentTokenBonus, 15.0);
    EXPECT_EQ(score(config, "en", "frie").frequentTokenBonus, 0.0);
    EXPECT_EQ(score(config, "en", "frienx").frequentTokenBonus, 0.0);
}

TEST(ScoreToken, PatternPenalties) {
    struct Case {
        const char* token;
        double impossibleWeight;
        double impossible;
        double rare;
    } cases[] = {
        {"bcd", -120.0, -120.0, 0.0},  // impossible wins, rare not read
        {"bcd", 0.0, 0.0, -34.0},      // a zero impossible weight lets rare count
        {"the", -120.0, 0.0, 0.0},     // common words are never penalised
        {"mail@example.com", -120.0, 0.0, -34.0},
        {"example.org/path/x", -120.0, 0.0, -34.0},
        {"example.zz", -120.0, -120.0, 0.0},  // not a listed domain ending
        {"foo@bar", -120.0, -120.0, 0.0},
    };
    for (const Case& c : cases) {
        RulesConfig config = makeConfig();
        LanguageConfig& en = lang(config, "en");
        en.impossiblePatterns.push_back(compiled("^[^aeiou]+$"));
        en.impossiblePatterns.push_back(compiled("[@.]"));
        en.rarePatterns.push_back(compiled("[.c]"));
        en.rarePatterns.push_back(compiled("t"));
        config.decision.scoringWeights.impossiblePattern = c.impossibleWeight;
        ScoreBreakdown s = score(config, "en", c.token);
        EXPECT_EQ(s.impossiblePatternPenalty, c.impossible) << c.token << " " << c.impossibleWeight;
        EXPECT_EQ(s.rarePatternPenalty, c.rare) << c.token << " " << c.impossibleWeight;
    }
}

TEST(CountUnknownBigrams, CountsMissingPairsWithRepetition) {
    RulesConfig config = makeConfig();
    const LanguageConfig* en = config.language("en");
    EXPECT_EQ(countUnknownBigrams(TextChars("hello"), en), 0u);
    EXPECT_EQ(countUnknownBigrams(TextChars("hxllo"), en), 2u);
    EXPECT_EQ(countUnknownBigrams(TextChars("qqq"), en), 2u);
    EXPECT_EQ(countUnknownBigrams(TextChars("q"), en), 0u);
    EXPECT_EQ(countUnknownBigrams(TextChars("qqq"), nullptr), 0u);
    // The index's pair table counts the same pairs as the map.
    const LanguageIndex index(config);
    const ScalarPairWeights* table = &index.affixes("en")->pairWeights;
    for (const char* word : {"hello", "hxllo", "qqq", "q", "he'llo", "hé\u0301llo"})
        EXPECT_EQ(countUnknownBigrams(TextChars(word), en, table), countUnknownBigrams(TextChars(word), en)) << word;
}

TEST(LayoutSuspicionBonus, SumsMatchingRulesOfItsDirectionOnly) {
    RulesConfig config = makeConfig();
    config.layoutSuspicion.latinSuspiciousForRu = {{compiled("q"), 5.0}, {compiled("z"), 7.0}, {compiled("k"), 1.0}};
    config.layoutSuspicion.cyrillicSuspiciousForEn = {{compiled("ы"), 4.0}};
    EXPECT_EQ(layoutSuspicionBonus(config, "qz", {"en", "ru"}), 12.0);
    EXPECT_EQ(layoutSuspicionBonus(config, "abc", {"en", "ru"}), 0.0);
    EXPECT_EQ(layoutSuspicionBonus(config, "qz", {"en", "uk"}), 0.0);
    EXPECT_EQ(layoutSuspicionBonus(config, "мы", {"ru", "en"}), 4.0);
    EXPECT_EQ(layoutSuspicionBonus(config, "мы", {"ru", "uk"}), 0.0);
}

TEST(SameScriptPhoneticAdjustment, WeighsRussianOnlyLetters) {
    struct Case {
        const char* word;
        double expected;
    } cases[] = {{"мы", -28.0}, {"мыло", 10.0}, {"это", -20.0}, {"объект", -6.0},
                 {"ы", 0.0},    {"эы", -48.0},  {"поэт", 4.0},  {"стол", 0.0}};
    for (const Case& c : cases) EXPECT_EQ(sameScriptPhoneticAdjustment(TextChars(c.word)), c.expected) << c.word;
}

TEST(SanitizeSourceForScoring, DropsPunctuationThatStandsForLetters) {
    RulesConfig config = makeConfig();
    const LanguageIndex index(config);
    const ScoringContext context{config, index};
    // The configuration's maps and the index's tables drop the same characters.
    auto sanitized = [&](const char* word, LayoutDirection d) {
        const std::string byMap(sanitizeSourceForScoring(config, TextChars(word), d).text());
        EXPECT_EQ(byMap, sanitizeSourceForScoring(context, TextChars(word), d).text()) << word;
        return byMap;
    };
    EXPECT_EQ(sanitized("ds,jh", {"en", "ru"}), "dsjh");
    EXPECT_EQ(sanitized("a-b`", {"en", "ru"}), "a-b");
    EXPECT_EQ(sanitized("a`", {"en", "uk"}), "a`") << "the backtick gives an apostrophe on the Ukrainian layout";
    EXPECT_EQ(sanitized("ds,jh", {"en", "xx"}), "ds,jh");
}

TEST(Directions, LanguagesAndSameScript) {
    RulesConfig config = makeConfig();
    auto [source, target] = languagesForDirection(config, {"en", "xx"});
    EXPECT_EQ(source, config.language("en"));
    EXPECT_EQ(target, nullptr);
    LanguageIndex index(config);
    struct Case {
        LayoutDirection direction;
        bool sameScript;
    } cases[] = {{{"ru", "uk"}, true}, {{"uk", "ru"}, true}, {{"en", "ru"}, false}, {{"ru", "xx"}, false}};
    for (const Case& c : cases) {
        EXPECT_EQ(isSameScriptDirection(config, c.direction), c.sameScript) << c.direction.to;
        EXPECT_EQ(index.isSameScript(c.direction), c.sameScript) << c.direction.to;
    }
    // The index answers RulesConfig::sameScript (the "script" values) for
    // every pair: a language with itself, one that names no script, and one
    // that is not configured.
    config.languages["zz"].scriptAlphabet = {"z"};
    const LanguageIndex named(config);
    EXPECT_TRUE(named.shareScriptName("ru", "uk"));
    EXPECT_TRUE(named.shareScriptName("ru", "ru"));
    EXPECT_FALSE(named.shareScriptName("en", "uk"));
    EXPECT_FALSE(named.shareScriptName("zz", "zz"));
    for (const char* a : {"en", "ru", "uk", "zz", "xx"})
        for (const char* b : {"en", "ru", "uk", "zz", "xx"})
            EXPECT_EQ(named.shareScriptName(a, b), config.sameScript(a, b)) << a << " " << b;
}

}  // namespace
}  // namespace quillom::scoring
