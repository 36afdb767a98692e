#include "scoring/judge/mixed_case_name.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "scoring_fixture.h"

namespace quillom::scoring {
namespace {

using testing::lang;
using testing::makeConfig;
using testing::Scoring;

bool nameOf(const RulesConfig& config, const char* typed, const char* reading, bool textOfTarget = false,
            const std::string& from = "ru", const std::string& to = "en") {
    const Scoring scoring(config);
    return mixedCaseNameOfTarget(scoring.context(), from, scoring.config.languages.at(to), TextChars(typed),
                                 TextChars(reading), textOfTarget);
}

// Where the reading is cut: at a capital after a lower-case letter, before
// the last capital ahead of lower-case letters, never before a plural s;
// closing marks and a possessive are no piece. Every piece must be a word,
// capitals or an opening lower-case letter, one a listed word of three
// letters or more.
TEST(MixedCaseName, TheReadingCutsIntoWordsAndCapitals) {
    const RulesConfig config = makeConfig();
    struct Case {
        const char* typed;
        const char* reading;
        bool name;
    } cases[] = {
        {"РуддщЦщкдв", "HelloWorld", true},
        {"РуддщЕЕВ", "HelloTTD", true},
        {"ЕЕВРуддщ", "TTDHello", true},
        {"РуддщЕЕВы", "HelloTTDs", true},
        {"РуддщЦщкдвэы", "HelloWorld's", true},
        {"РуддщЦщкдвю", "HelloWorld.", true},
        {"шЦщкдв", "iWorld", true},
        {"ФЦщкдв", "AWorld", true},
        {"шЕЕВ", "iTTD", false},
        {"ЩлЕЕВ", "OkTTD", false},
        {"РуддщЦкдв", "HelloWrld", false},
        {"ЦщкдвЗЩЫЕПКУЫЙД", "WorldPOSTGRESQL", false},
        {"руддщцщкдв", "helloworld", false},
        {"Руддщ-Цщкдв", "Hello-World", false},
        {"РуддщЦщкдвРуддщЦщкдвРуддщЦщкдвРуддщ", "HelloWorldHelloWorldHelloWorldHello", false},
    };
    for (const Case& c : cases) EXPECT_EQ(nameOf(config, c.typed, c.reading), c.name) << c.reading;
}

// Every pair of letters of РуддщЦщкдв's pieces a pair of Russian text.
void pairAsRussianText(RulesConfig& config) {
    for (const char* pair : {"ру", "уд", "дд", "дщ", "цщ", "щк", "кд", "дв"})
        lang(config, "ru").bigramLogWeights[pair] = 1.0;
}

// The typed side: a piece its script lists or an abbreviation of it keeps
// the word; letters that pair as the script's text does need the last words
// to be the target's; a target not written in Latin letters takes nothing.
TEST(MixedCaseName, TheTypedPiecesAreNoTextOfTheirScript) {
    struct Case {
        const char* name;
        std::function<void(RulesConfig&)> change;
        bool textOfTarget;
        bool expected;
    } cases[] = {
        {"unlisted pieces", [](RulesConfig&) {}, false, true},
        {"a piece Russian lists", [](RulesConfig& c) { lang(c, "ru").commonWords.insert("руддщ"); }, true, false},
        {"a piece Ukrainian lists", [](RulesConfig& c) { lang(c, "uk").commonWords.insert("цщкдв"); }, true, false},
        {"the whole listed", [](RulesConfig& c) { lang(c, "ru").commonWords.insert("руддщцщкдв"); }, true, false},
        {"letters pairing as Russian", pairAsRussianText, false, false},
        {"the same in the target's text", pairAsRussianText, true, true},
    };
    for (const Case& c : cases) {
        RulesConfig config = makeConfig();
        c.change(config);
        EXPECT_EQ(nameOf(config, "РуддщЦщкдв", "HelloWorld", c.textOfTarget), c.expected) << c.name;
    }
    RulesConfig abbreviation = makeConfig();
    lang(abbreviation, "ru").abbreviations.insert("еев");
    EXPECT_FALSE(nameOf(abbreviation, "РуддщЕЕВ", "HelloTTD", true));
    EXPECT_FALSE(nameOf(makeConfig(), "HelloWorld", "РуддщЦщкдв", true, "en", "ru"));
}

}  // namespace
}  // namespace quillom::scoring
