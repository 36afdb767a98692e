#include "scoring/evaluate/comma_key.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scoring_fixture.h"

namespace quillom::scoring {
namespace {

using testing::makeConfig;

std::vector<std::string> strings(const InlineBuffer<std::string_view, 8>& views) {
    return {views.begin(), views.end()};
}

// Where the comma and full stop keys (б, ю) cut a word typed on a Cyrillic
// layout, and where they are letters of it.
TEST(MarkKeyLetters, CutsOnlyAtSmallKeysBetweenLetters) {
    struct Case {
        std::string token;
        std::vector<std::string> pieces;  // none: not cut
        std::vector<std::string> keys;
    } cases[] = {
        {"афкбвшыефтсу", {"афк", "вшыефтсу"}, {"б"}},
        {"фмашдеукюыгиешедуы", {"фмашдеук", "ыгиешедуы"}, {"ю"}},
        {"дшпребЫщаеюече", {"дшпре", "Ыщае", "ече"}, {"б", "ю"}},
        {"ашддбТщтуб", {"ашдд", "Тщтуб"}, {"б"}},
        {"афкБвшыефтсу", {}, {}},
        {"фбвшы", {}, {}},
        {"афкббвшы", {}, {}},
        {"бвшы", {}, {}},
        {"вшыб", {}, {}},
        {"афк,вшы", {}, {}},
        {"hello", {}, {}},
    };
    const MarkKeyLetters keys(makeConfig());
    for (const Case& c : cases) {
        const JoinedPieces joined = keys.split(c.token);
        EXPECT_EQ(strings(joined.pieces), c.pieces) << c.token;
        EXPECT_EQ(strings(joined.keys), c.keys) << c.token;
        // The pieces are the token's own bytes, valid as long as it is.
        for (std::string_view piece : joined.pieces)
            EXPECT_TRUE(piece.data() >= c.token.data() &&
                        piece.data() + piece.size() <= c.token.data() + c.token.size())
                << c.token;
    }
}

TEST(MarkKeyLetters, FindsCapitalsEachAloneBetweenTheKeys) {
    struct Case {
        std::string token;
        bool capitals;
    } cases[] = {
        {"ГюЫю", true}, {"ГюЫюб", true}, {"КбПбИ", true}, {"ГюЫ", true},   {"Гю", false},
        {"ГЫю", false}, {"ГюЫЮ", false}, {"гюыю", false}, {"ГюЫюЕ", true}, {"ГююЫ", false},
    };
    const MarkKeyLetters keys(makeConfig());
    for (const Case& c : cases) EXPECT_EQ(keys.joinsCapitals(c.token), c.capitals) << c.token;
}

TEST(MarkKeyLetters, KnowsNoKeysWithoutEnglish) {
    RulesConfig config = makeConfig();
    config.activeLanguages = {"ru", "uk"};
    const MarkKeyLetters keys(config);
    EXPECT_FALSE(keys.inside("афкбвшыефтсу"));
    EXPECT_TRUE(keys.split("афкбвшыефтсу").pieces.empty());
}

}  // namespace
}  // namespace quillom::scoring
