// Layout maps, token mapping, case carrying and selection conversion.
#include <gtest/gtest.h>

#include <cstdio>

#include "config/json.h"
#include "config/rules_config.h"
#include "layout/selection_conversion.h"
#include "layout/token_mapping.h"

namespace quillom::layout {
namespace {

RulesConfig decode(std::string_view text, std::vector<std::string> active = {"en"}) {
    auto root = json::parse(text);
    EXPECT_TRUE(root.has_value()) << text;
    UserPreferences prefs;
    prefs.activeLanguages = std::move(active);
    return RulesConfig::parse(*root, prefs);
}

// The English/Russian keys of the standard layouts that these tests need.
constexpr const char* kEnRu = R"("en_to_ru": {"g": "п", "h": "р", "b": "и", "d": "в", "t": "е", "n": "т",
    "v": "м", "r": "к", "f": "а", "l": "д", "e": "у", "k": "л", ",": "б", "s": "ы"},
  "en_to_ru_shift": {"G": "П", "<": "Б"},
  "ru_to_en": {"п": "g", "р": "h", "и": "b", "в": "d", "е": "t", "т": "n", "ы": "s"})";

TEST(TokenMapping, BuiltInEnglishUkrainian) {
    const RulesConfig c = decode("{}");
    EXPECT_EQ(mapLayout(c.keyboardLayout, "ghbdsn", {"en", "uk"}), "привіт");
    EXPECT_EQ(mapLayout(c.keyboardLayout, "Ghbdsn", {"en", "uk"}), "Привіт");
    EXPECT_EQ(mapLayout(c.keyboardLayout, "руддщ", {"uk", "en"}), "hello");
    EXPECT_EQ(mapLayout(c.keyboardLayout, "Hello, 2024!", {"en", "uk"}), "Руддщб 2024!");
    EXPECT_EQ(mapLayout(c.keyboardLayout, "{:\"<~", {"en", "uk"}), "ХЖЄБ'");
    EXPECT_EQ(mapLayout(c.keyboardLayout, "`", {"en", "uk"}), "'");
}

TEST(TokenMapping, BuiltInRussianUkrainian) {
    const RulesConfig c = decode("{}");
    EXPECT_EQ(mapLayout(c.keyboardLayout, "ы", {"ru", "uk"}), "і");
    EXPECT_EQ(mapLayout(c.keyboardLayout, "ЫЭЪЁ", {"ru", "uk"}), "ІЄЇ'");
    EXPECT_EQ(mapLayout(c.keyboardLayout, "привет", {"ru", "uk"}), "привет");
    EXPECT_EQ(mapLayout(c.keyboardLayout, "'", {"uk", "ru"}), "ё");
    // No built-in English/Russian maps: the word stays as typed.
    EXPECT_EQ(mapLayout(c.keyboardLayout, "ghbdtn", {"en", "ru"}), "ghbdtn");
}

TEST(TokenMapping, FileMapsReplaceBuiltInsPerDirection) {
    const RulesConfig lower = decode(R"({"keyboard_layout": {"maps": {"en_to_uk": {"q": "я"}}}})");
    EXPECT_EQ(mapLayout(lower.keyboardLayout, "qw", {"en", "uk"}), "яw");
    EXPECT_EQ(mapLayout(lower.keyboardLayout, "W", {"en", "uk"}), "Ц");  // built-in shift map stays
    const RulesConfig shift = decode(R"({"keyboard_layout": {"maps": {"en_to_uk_shift": {"Q": "Я"}}}})");
    EXPECT_EQ(mapLayout(shift.keyboardLayout, "Qw", {"en", "uk"}), "Яц");
    // W: no shift entry, so the lower map's value is upper-cased.
    EXPECT_EQ(mapLayout(shift.keyboardLayout, "W", {"en", "uk"}), "Ц");
}

TEST(TokenMapping, BadMapNamesAndValuesAreIgnored) {
    const RulesConfig c = decode(R"({"keyboard_layout": {"maps": {
        "en-ru": {"a": "ф"}, "en_to_": {"a": "ф"}, "_to_ru": {"a": "ф"}, "en_to_ru_to_uk": {"a": "ф"},
        "ru_to_en": {"а": 5}, "xx_to_yy": {"ab": "xy", "": "z", "c": ""}}}})");
    EXPECT_EQ(c.keyboardLayout.maps.size(), 5u);  // four built-in directions and xx -> yy
    EXPECT_EQ(mapLayout(c.keyboardLayout, "abc", {"xx", "yy"}), "xbc");
    EXPECT_EQ(mapLayout(c.keyboardLayout, "а", {"ru", "en"}), "а");
}

TEST(TokenMapping, CaseOfUnmappedUpperCaseLetters) {
    CharMap lower{{"a", "ф"}};
    CharMap upper{{"?", ","}};
    EXPECT_EQ(mapToken("Aa?", lower, upper), "Фф,");
    EXPECT_EQ(mapToken("Ü1 ", lower, upper), "Ü1 ");
    // A non-upper character found only in the shift map.
    EXPECT_EQ(mapToken("?", {}, upper), ",");
}

TEST(PreserveCase, CarriesTheTypedPattern) {
    struct Case {
        const char* original;
        const char* replacement;
        const char* expected;
    };
    const Case cases[] = {
        {"Ghbdtn", "привет", "Привет"},
        {"GHBDTN", "привет", "ПРИВЕТ"},
        {"gHBDTN", "привет", "привет"},
        {"123", "abc", "abc"},
        {"A1", "xy", "Xy"},
        {"", "abc", "abc"},
        {"G", "п", "П"},
        {"GH1", "пр1", "ПР1"},
        {"ghbdtn", "Привет", "Привет"},
        {"A", "", ""},
        {"Ab", "e\xCC\x81x", "E\xCC\x81x"},
    };
    for (const auto& c : cases) EXPECT_EQ(preserveCase(c.original, c.replacement), c.expected) << c.original;
}

TEST(ClassifiedLetters, KeepsLowerCasedLettersOfConfiguredAlphabets) {
    const RulesConfig c = decode(R"({"languages": {"en": {}, "ru": {}}})");
    EXPECT_EQ(classifiedLetters(c, "Ab1ЖÜ'"), (std::vector<std::string>{"a", "b", "ж"}));
    EXPECT_TRUE(someMapSendsToLetter(c.keyboardLayout, ","));  // "," -> "б" in en -> uk
    EXPECT_FALSE(someMapSendsToLetter(c.keyboardLayout, "!"));
}

class SelectionConversion : public ::testing::Test {
protected:
    RulesConfig config(std::vector<std::string> active, const char* russianWords = R"(["привет"])") {
        return decode(std::string(R"({"keyboard_layout": {"maps": {)") + kEnRu + R"(}},
            "languages": {"en": {"script": "latin"}, "ru": {"script": "cyrillic", "common_words": )" +
                          russianWords + R"(}, "uk": {"script": "cyrillic"}}})",
                      std::move(active));
    }
};

TEST_F(SelectionConversion, LatinTextToTheOnlyCyrillicCandidate) {
    const RulesConfig c = config({"en", "ru"});
    EXPECT_EQ(convertSelectionSmart(c, "ghbdtn", std::nullopt), (ManualConversionResult{"привет", "ru"}));
}

TEST_F(SelectionConversion, CommonWordHitsChooseAmongCandidates) {
    const RulesConfig c = config({"en", "uk", "ru"});
    EXPECT_EQ(convertSelectionSmart(c, "ghbdtn", std::nullopt).targetLanguage, "ru");
    EXPECT_EQ(convertSelectionSmart(c, "vfvf", std::nullopt).targetLanguage, "uk");  // no hits: first
    EXPECT_EQ(chooseCyrillicTarget(c, "x", {}), std::nullopt);
}

// "`" is ё on the Russian layout and the apostrophe on the Ukrainian one:
// the pieces between spaces are compared, not the words each reading splits
// into, so "огнем'ті" (no Ukrainian word, although ті is one) does not tie
// with "огнемёты".
TEST(SelectionTarget, ComparesPiecesBetweenSpaces) {
    const RulesConfig c = decode(R"({"keyboard_layout": {"maps": {"en_to_ru": {"j": "о", "u": "г", "y": "н", "t": "е",
            "v": "м", "`": "ё", "n": "т", "s": "ы", "f": "а", "l": "д"}}},
        "languages": {"en": {"script": "latin"}, "ru": {"script": "cyrillic", "common_words": ["огнемёты", "да", "ё"]},
            "uk": {"script": "cyrillic", "common_words": ["ті", "да"]}}})",
                                 {"en", "uk", "ru"});
    struct Case {
        const char* typed;
        const char* target;
    } cases[] = {
        {"juytv`ns", "ru"}, {"lf juytv`ns", "ru"}, {"ns", "uk"},
        {"lf ns", "uk"},    {"lf", "uk"},  // read alike by both: the first candidate
        {"ns ` `", "uk"},                  // ё alone is no evidence where the other layout gives a mark
    };
    for (const Case& k : cases) EXPECT_EQ(chooseCyrillicTarget(c, k.typed, {"uk", "ru"}), k.target) << k.typed;
}

// Where the lists do not tell, selection_target_by_letters asks the letters
// (given by the caller) before taking the first candidate; they are not asked
// where a listed word tells, and keys typed without letter keys that come
// twice (' ' is quotes, the keys of э and є) are no word of either.
TEST(SelectionTarget, AsksTheLettersOnlyWhereTheListsDoNotTell) {
    const char* rules = R"({"keyboard_layout": {"maps": {"en_to_ru": {"g": "п", "h": "р", "b": "и", "d": "в",
            "t": "е", "n": "т", "v": "м", "f": "а", "'": "э"}, "en_to_uk": {"'": "є"}}%s},
        "languages": {"en": {"script": "latin"}, "ru": {"script": "cyrillic", "common_words": ["привет"]},
            "uk": {"script": "cyrillic", "common_words": ["є"]}}})";
    auto withMember = [&](bool on) {
        char text[1024];
        std::snprintf(text, sizeof text, rules, on ? R"(, "selection_target_by_letters": true)" : "");
        return decode(text, {"en", "uk", "ru"});
    };
    int asked = 0;
    const TargetByLetters russianLetters = [&](std::string_view, const std::vector<std::string>&) {
        ++asked;
        return std::optional<std::string>("ru");
    };
    struct Case {
        const char* typed;
        bool member;
        const char* target;
        int asked;
    } cases[] = {
        {"vfvf", true, "ru", 1},      {"vfvf", false, "uk", 0},  // nothing listed
        {"ghbdtn", true, "ru", 0},    {"' vfvf '", true, "ru", 1},
        {"' vfvf '", false, "uk", 0},  // without the member the paired keys read as є, a Ukrainian word
        {"' vfvf", true, "uk", 0},     // and so does the key alone with it
    };
    for (const Case& k : cases) {
        asked = 0;
        EXPECT_EQ(chooseCyrillicTarget(withMember(k.member), k.typed, {"uk", "ru"}, russianLetters), k.target)
            << k.typed << " " << k.member;
        EXPECT_EQ(asked, k.asked) << k.typed << " " << k.member;
    }
    const TargetByLetters silent = [](std::string_view, const std::vector<std::string>&) { return std::nullopt; };
    EXPECT_EQ(chooseCyrillicTarget(withMember(true), "vfvf", {"uk", "ru"}, silent), "uk");
}

TEST_F(SelectionConversion, CyrillicAndNeutralText) {
    const RulesConfig c = config({"en", "ru"});
    EXPECT_EQ(convertSelectionSmart(c, "руддщ", std::nullopt), (ManualConversionResult{"hello", "en"}));
    EXPECT_EQ(convertSelectionSmart(c, "123 !?", std::nullopt), (ManualConversionResult{"123 !?", "en"}));
    // A tie counts as Cyrillic.
    EXPECT_EQ(convertSelectionSmart(c, "gп", std::nullopt), (ManualConversionResult{"gg", "en"}));
}

TEST_F(SelectionConversion, NoCyrillicCandidateLeavesTextUnchanged) {
    const RulesConfig c = config({"en", "de"});
    EXPECT_EQ(convertSelectionSmart(c, "ghbdtn", std::nullopt), (ManualConversionResult{"ghbdtn", "en"}));
}

TEST_F(SelectionConversion, ToANamedLanguage) {
    const RulesConfig c = config({"en", "ru", "uk"});
    EXPECT_EQ(convertSelection(c, "ghbdtn", "ru"), (ManualConversionResult{"привет", "ru"}));
    EXPECT_EQ(convertSelection(c, "ыэ", "uk"), (ManualConversionResult{"іє", "uk"}));
    EXPECT_EQ(convertSelection(c, "привет", "en"), (ManualConversionResult{"ghbdtn", "en"}));
    // Without another active Cyrillic language the source falls back by target.
    const RulesConfig only = config({"en", "uk"});
    EXPECT_EQ(convertSelection(only, "ыэ", "uk").text, "іє");
    EXPECT_EQ(convertSelection(only, "іє", "ru").text, "ыэ");
}

TEST(SelectionMaps, WholeKeyMapsServeSelectionOnly) {
    // "Привет, мир." typed on the US layout: "?" is the Russian comma key, "/" its full stop.
    const RulesConfig c = decode(std::string(R"({"keyboard_layout": {"maps": {)") + kEnRu + R"(},
        "selection_maps": {"en_to_ru": {"/": ".", "g": "п", "h": "р", "b": "и", "d": "в", "t": "е", "n": "т",
            "v": "м"}, "en_to_ru_shift": {"?": ",", "G": "П", "@": "\""},
            "ru_to_en": {".": "/", "п": "g"}, "ru_to_en_shift": {",": "?", "\"": "@"}}},
        "languages": {"en": {"script": "latin"}, "ru": {"script": "cyrillic"}}})",
                                 {"en", "ru"});
    EXPECT_EQ(convertSelectionSmart(c, "@Ghbdtn? vbh/", std::nullopt).text, "\"Привет, мир.");
    EXPECT_EQ(convertSelection(c, "Ghbdtn?", "ru").text, "Привет,");
    EXPECT_EQ(convertSelection(c, "\"пп, пп.", "en").text, "@gg? gg/");
    // Typed words are mapped with the ordinary maps, which leave "/" and "?" alone.
    EXPECT_EQ(mapLayout(c.keyboardLayout, "vbh/?", {"en", "ru"}), "мир/?");
    // A direction the selection maps do not give falls back to the ordinary maps.
    EXPECT_EQ(convertSelection(c, "ыэ", "uk").text, "іє");
}

TEST(SelectionWords, LatinWordsSplitAtNonLetters) {
    EXPECT_EQ(latinWords("Hello, wORLD-x 42y"), (std::vector<std::string>{"hello", "world", "x", "y"}));
    EXPECT_EQ(scriptLetterCounts("abЖж1!é").latin, 2);
    EXPECT_EQ(scriptLetterCounts("abЖж1!é").cyrillic, 2);
}

}  // namespace
}  // namespace quillom::layout
