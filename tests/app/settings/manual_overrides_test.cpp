#include "settings/manual_overrides.h"

#include <gtest/gtest.h>

using namespace quillom::settings;

namespace {

using Langs = std::vector<std::string>;
const Langs kUkFirst{"en", "uk", "ru"};
const Langs kRuFirst{"en", "ru", "uk"};

JsonValue parsed(std::string_view text) {
    JsonValue v;
    EXPECT_TRUE(parseJson(text, v)) << text;
    return v;
}

std::string overridesText(JsonValue& rules) { return toJsonText(manualOverrides(rules)); }

TEST(GuessLanguage, ByLeadBytesAndActiveOrder) {
    struct Case {
        std::string word;
        Langs active;
        std::string expected;
    };
    const std::vector<Case> cases =
        {
            {"привет", kUkFirst, "uk"}, {"привет", kRuFirst, "ru"}, {"привет", {"en"}, "ru"},
            {"hello", kUkFirst, "en"},  {"", kUkFirst, "en"},       {"a", kUkFirst, "en"},
            {"\xD0", kUkFirst, "en"},  // a lone lead byte is the last byte
            {"x\xD1", kUkFirst, "en"},  {"\xD1x", kRuFirst, "ru"},  {"ghbdtn1", kUkFirst, "en"},
        };
    for (const Case& c : cases) EXPECT_EQ(guessLanguage(c.word, c.active), c.expected) << c.word;
}

TEST(ManualOverrides, MakesRootAndMemberObjects) {
    JsonValue rules("not an object");
    manualOverrides(rules) = JsonValue::makeObject();
    EXPECT_TRUE(rules.isObject());
    JsonValue wrong = parsed(R"({"a":1,"manual_overrides":[1]})");
    EXPECT_TRUE(manualOverrides(wrong).isObject());
    EXPECT_EQ(wrong.members()[1].key, "manual_overrides");
}

TEST(ManualOverrides, AddExactPairGuessesLanguagesFromTheActiveOrder) {
    JsonValue rules = JsonValue::makeObject();
    ASSERT_TRUE(addExactPair(rules, "ghbdtn", "привет", "", "", kUkFirst));
    EXPECT_EQ(listExactPairs(rules, kUkFirst), (std::vector<ExactPairEntry>{{"en", "ghbdtn", "uk", "привет"}}));
    ASSERT_TRUE(addExactPair(rules, "ghbdtn", "привет", "", "", kRuFirst));
    EXPECT_EQ(listExactPairs(rules, kUkFirst), (std::vector<ExactPairEntry>{{"en", "ghbdtn", "ru", "привет"}}));

    // A Cyrillic typed word without a language is recorded as Russian, whatever the order.
    ASSERT_TRUE(addExactPair(rules, "руддщ", "hello", "", "", kUkFirst));
    const JsonValue& meta = *find(manualOverrides(rules), "exact_pairs_meta");
    EXPECT_EQ(find(*find(meta, "руддщ"), "src")->asString(), "ru");
    EXPECT_EQ(find(*find(meta, "руддщ"), "dst")->asString(), "en");

    EXPECT_FALSE(addExactPair(rules, "", "x", "en", "ru", kUkFirst));
    EXPECT_FALSE(addExactPair(rules, "x", "", "en", "ru", kUkFirst));
    EXPECT_EQ(find(manualOverrides(rules), "exact_pairs")->members().size(), 2u);
}

TEST(ManualOverrides, ReplacingAPairKeepsItsPlaceAndClearsItsTombstone) {
    JsonValue rules = parsed(R"({"manual_overrides":{
        "exact_pairs":{"a1":"б1","ghbdtn":"old","z":"я"},
        "deleted_exact_pairs":["x","ghbdtn",7,"ghbdtn"]}})");
    ASSERT_TRUE(addExactPair(rules, "ghbdtn", "привет", "en", "ru", kUkFirst));
    const JsonValue& mo = manualOverrides(rules);
    EXPECT_EQ(find(mo, "exact_pairs")->members()[1].key, "ghbdtn");
    EXPECT_EQ(find(*find(mo, "exact_pairs"), "ghbdtn")->asString(), "привет");
    // Only the first copy goes; other elements are not touched.
    EXPECT_EQ(toJsonText(*find(mo, "deleted_exact_pairs")), "[\n  \"x\",\n  7,\n  \"ghbdtn\"\n]\n");
}

TEST(ManualOverrides, RemoveExactPairErasesAndTombstones) {
    JsonValue rules = JsonValue::makeObject();
    removeExactPair(rules, "ghbdtn");
    EXPECT_EQ(toJsonText(rules), "{}\n");  // no overrides member: nothing happens

    addExactPair(rules, "ghbdtn", "привет", "en", "ru", kUkFirst);
    removeExactPair(rules, "ghbdtn");
    removeExactPair(rules, "ghbdtn");
    removeExactPair(rules, "template-only");
    EXPECT_EQ(overridesText(rules),
              "{\n  \"exact_pairs\": {},\n  \"deleted_exact_pairs\": [\n    \"ghbdtn\",\n"
              "    \"template-only\"\n  ],\n  \"exact_pairs_meta\": {}\n}\n");

    JsonValue wrongTypes = parsed(R"({"manual_overrides":{"exact_pairs":["ghbdtn"],"deleted_exact_pairs":"x"}})");
    removeExactPair(wrongTypes, "ghbdtn");
    EXPECT_EQ(overridesText(wrongTypes),
              "{\n  \"exact_pairs\": [\n    \"ghbdtn\"\n  ],\n  \"deleted_exact_pairs\": [\n    \"ghbdtn\"\n  ]\n}\n");
}

// Found by fuzzing: a hand-edited file that names a word twice kept showing it after removal.
TEST(ManualOverrides, RemovalTakesEveryCopyOfAWord) {
    JsonValue rules = parsed(R"({"manual_overrides":{
        "exact_pairs":{"ghbdtn":"здравствуй","lheu":"друг","ghbdtn":"мир"},
        "exact_pairs_meta":{"ghbdtn":{"src":"en"},"ghbdtn":{"src":"en"}},
        "never_correct":["nasa","kde","nasa"],"never_correct_meta":{"nasa":{},"nasa":{}}}})");
    removeExactPair(rules, "ghbdtn");
    removeNeverCorrect(rules, "nasa");
    EXPECT_EQ(listExactPairs(rules, kUkFirst), (std::vector<ExactPairEntry>{{"en", "lheu", "uk", "друг"}}));
    EXPECT_EQ(listNeverCorrect(rules, kUkFirst), (std::vector<NeverCorrectEntry>{{"en", "kde"}}));
    const JsonValue& mo = *find(rules, kManualOverrides);
    EXPECT_TRUE(find(mo, "exact_pairs_meta")->members().empty());
    EXPECT_TRUE(find(mo, "never_correct_meta")->members().empty());
}

TEST(ManualOverrides, NeverCorrectAddUpdateRemove) {
    JsonValue rules = parsed(R"({"manual_overrides":{"never_correct":[5,"nasa"],
        "deleted_never_correct":["мой"]}})");
    EXPECT_TRUE(addNeverCorrect(rules, "мой", "", kRuFirst));
    EXPECT_TRUE(addNeverCorrect(rules, "мой", "uk", kRuFirst));  // already listed: language updated
    EXPECT_FALSE(addNeverCorrect(rules, "", "en", kRuFirst));
    EXPECT_EQ(overridesText(rules),
              "{\n  \"never_correct\": [\n    5,\n    \"nasa\",\n    \"мой\"\n  ],\n"
              "  \"deleted_never_correct\": [],\n  \"never_correct_meta\": {\n    \"мой\": \"uk\"\n  }\n}\n");
    EXPECT_EQ(listNeverCorrect(rules, kRuFirst), (std::vector<NeverCorrectEntry>{{"en", "nasa"}, {"uk", "мой"}}));

    removeNeverCorrect(rules, "мой");
    removeNeverCorrect(rules, "nasa");
    EXPECT_EQ(overridesText(rules),
              "{\n  \"never_correct\": [\n    5\n  ],\n  \"deleted_never_correct\": [\n    \"мой\",\n"
              "    \"nasa\"\n  ],\n  \"never_correct_meta\": {}\n}\n");
}

TEST(ManualOverrides, ListsSkipNonStringsAndSortByLanguage) {
    JsonValue rules = parsed(R"({"manual_overrides":{
        "exact_pairs":{"руддщ":"hello","ghbdtn":"привет","bad":5,"lheu":"друг"},
        "exact_pairs_meta":{"lheu":{"src":"en","dst":"uk"},"ghbdtn":{"src":7,"dst":"ru"},"руддщ":"en"},
        "never_correct":["мой",1,"nasa","їжак"],
        "never_correct_meta":{"їжак":"uk","nasa":3}}})");
    const std::vector<ExactPairEntry> pairs = listExactPairs(rules, kRuFirst);
    const std::vector<ExactPairEntry> expectedPairs = {
        {"en", "ghbdtn", "ru", "привет"}, {"en", "lheu", "uk", "друг"}, {"ru", "руддщ", "en", "hello"}};
    EXPECT_EQ(pairs, expectedPairs);
    const std::vector<NeverCorrectEntry> words = listNeverCorrect(rules, kRuFirst);
    const std::vector<NeverCorrectEntry> expectedWords = {{"en", "nasa"}, {"ru", "мой"}, {"uk", "їжак"}};
    EXPECT_EQ(words, expectedWords);

    EXPECT_TRUE(listExactPairs(parsed(R"({"manual_overrides":{"exact_pairs":[]}})"), kRuFirst).empty());
    EXPECT_TRUE(listNeverCorrect(parsed(R"({"manual_overrides":5})"), kRuFirst).empty());
    EXPECT_TRUE(listNeverCorrect(parsed("{}"), kRuFirst).empty());
}

TEST(MergeManualOverrides, TemplateEntriesJoinUnlessTheUserHasOrDeletedThem) {
    const JsonValue templ = parsed(R"({
        "exact_pairs":{"a":"template-a","b":"template-b","c":"template-c"},
        "exact_pairs_meta":{"a":{"dst":"ru"},"b":{"dst":"ru"},"c":{"dst":"uk"}},
        "never_correct":["x","y","z",4],
        "never_correct_meta":{"x":"en","y":"en","z":"en"},
        "deleted_never_correct":["u"]})");
    const JsonValue user = parsed(R"({
        "exact_pairs":{"a":"user-a","u":"user-u","b":"stale"},
        "exact_pairs_meta":{"a":{"dst":"uk"}},
        "deleted_exact_pairs":["b"],
        "never_correct":["y","w","z"],
        "deleted_never_correct":["z","x"],
        "extra":true})");
    const JsonValue merged = mergeManualOverrides(&templ, &user);
    EXPECT_EQ(toJsonText(merged), R"({
  "exact_pairs": {
    "a": "user-a",
    "u": "user-u",
    "c": "template-c"
  },
  "exact_pairs_meta": {
    "a": {
      "dst": "uk"
    },
    "c": {
      "dst": "uk"
    }
  },
  "deleted_exact_pairs": [
    "b"
  ],
  "never_correct": [
    "y",
    "w"
  ],
  "deleted_never_correct": [
    "z",
    "x"
  ],
  "extra": true,
  "never_correct_meta": {
    "y": "en"
  }
}
)");
}

TEST(MergeManualOverrides, MissingOrWrongSides) {
    const JsonValue templ = parsed(R"({"exact_pairs":{"a":"b"},"never_correct":["x"]})");
    const JsonValue notObject(3);
    EXPECT_EQ(toJsonText(mergeManualOverrides(&templ, nullptr)), toJsonText(mergeManualOverrides(&templ, &notObject)));
    const JsonValue fromTemplateOnly = mergeManualOverrides(&templ, nullptr);
    EXPECT_EQ(find(*find(fromTemplateOnly, "exact_pairs"), "a")->asString(), "b");
    EXPECT_EQ(find(fromTemplateOnly, "never_correct")->items().size(), 1u);

    const JsonValue user = parsed(R"({"exact_pairs":"broken","never_correct":{"a":1}})");
    const JsonValue repaired = mergeManualOverrides(nullptr, &user);
    EXPECT_EQ(toJsonText(repaired),
              "{\n  \"exact_pairs\": {},\n  \"never_correct\": [],\n  \"exact_pairs_meta\": {},\n"
              "  \"never_correct_meta\": {}\n}\n");
}

}  // namespace
