#include <gtest/gtest.h>

#include "config/json.h"
#include "config/rules_config.h"

namespace quillom {
namespace {

ManualOverridesConfig read(std::string_view text) {
    auto v = json::parse(text);
    EXPECT_TRUE(v.has_value()) << text;
    return parseManualOverrides(*v);
}

using PairMap = quillom::StringMap<std::string>;

TEST(ManualOverrides, PairsAreKeyedLowerCaseAndKeepTheirValue) {
    EXPECT_EQ(read(R"({"exact_pairs": {"Ghbdtn": "Привет"}})").exactPairs, (PairMap{{"ghbdtn", "Привет"}}));
}

TEST(ManualOverrides, WrongTypesCountAsEmpty) {
    const auto o = read(R"({"exact_pairs": {"a": "b", "c": 1}, "never_correct": ["NASA", 5],
                            "exact_pairs_meta": {"a": {"dst": 5}}, "never_correct_meta": {"x": 1}})");
    EXPECT_TRUE(o.exactPairs.empty());
    EXPECT_TRUE(o.neverCorrect.empty());
    EXPECT_TRUE(o.exactPairTargetLang.empty());
    EXPECT_TRUE(o.neverCorrectLang.empty());
    EXPECT_TRUE(read("[]").exactPairs.empty());
}

TEST(ManualOverrides, MetaRecords) {
    const auto o = read(R"({"exact_pairs_meta": {"Ghbdtn": {"src": "en", "dst": "RU"}, "rfr": {"src": "en"},
                                                 "x": {"dst": ""}},
                            "never_correct": ["NASA"], "never_correct_meta": {"NASA": "EN", "y": ""}})");
    EXPECT_EQ(o.exactPairTargetLang, (PairMap{{"ghbdtn", "ru"}}));
    EXPECT_EQ(o.neverCorrect, (WordSet{"nasa"}));
    EXPECT_EQ(o.neverCorrectLang, (std::unordered_map<std::string, std::string>{{"nasa", "en"}}));
}

}  // namespace
}  // namespace quillom
