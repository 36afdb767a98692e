#include "fake_settings_host.h"
#include "ui/dictionary_tab.h"
#include "ui/language_picker.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace quillom::ui;
using namespace quillom::settings;
using quillom::ui::testing::FakeSettingsHost;

namespace {

class DictionaryTabTest : public ::testing::Test {
protected:
    DictionaryTabTest() {
        host.writeRules("{}");
        host.writePreferences(R"({"active_languages":["en","ru","uk"]})");
    }
    std::string working() { return quillom::settings::testing::readText(host.store().workingRulesPath()); }
    FakeSettingsHost host;
};

TEST_F(DictionaryTabTest, AddingAPairStoresItLowerCasedWithItsLanguages) {
    ASSERT_TRUE(addDictionaryPair(host, u" Ghbdtn\t", u"Привет\r\n", "en", "ru"));
    EXPECT_EQ(host.applied, 1);
    JsonValue rules = host.rules();
    const JsonValue& mo = manualOverrides(rules);
    EXPECT_EQ(getString(*find(mo, "exact_pairs"), "ghbdtn", ""), "привет");
    const JsonValue* meta = find(*find(mo, "exact_pairs_meta"), "ghbdtn");
    ASSERT_NE(meta, nullptr);
    EXPECT_EQ(getString(*meta, "src", ""), "en");
    EXPECT_EQ(getString(*meta, "dst", ""), "ru");
    const DictionaryRows rows = dictionaryRows(host.store(), u"");
    EXPECT_EQ(rows.pairs, (std::vector<ExactPairEntry>{{"en", "ghbdtn", "ru", "привет"}}));
}

TEST_F(DictionaryTabTest, EmptyInputsChangeNothing) {
    const std::string before = working();
    const std::pair<std::u16string_view, std::u16string_view> inputs[] = {
        {u"", u"привет"}, {u"ghbdtn", u""}, {u" \t\r\n", u"привет"}, {u"ghbdtn", u"\n"}};
    for (const auto& [typed, corrected] : inputs) EXPECT_FALSE(addDictionaryPair(host, typed, corrected, "en", "ru"));
    EXPECT_FALSE(addNeverCorrectWord(host, u"  ", "en"));
    EXPECT_EQ(working(), before);
    EXPECT_EQ(host.applied, 0);
}

TEST_F(DictionaryTabTest, SearchFiltersBothListsOnTypedAndCorrectedWords) {
    ASSERT_TRUE(addDictionaryPair(host, u"ghbdtn", u"привет", "en", "ru"));
    ASSERT_TRUE(addDictionaryPair(host, u"vbh", u"мир", "en", "ru"));
    ASSERT_TRUE(addDictionaryPair(host, u"руддщ", u"hello", "ru", "en"));
    ASSERT_TRUE(addNeverCorrectWord(host, u"ghbx", "en"));
    ASSERT_TRUE(addNeverCorrectWord(host, u"qwerty", "en"));
    const struct {
        std::u16string_view search;
        std::vector<std::string> typed, words;
    } cases[] = {
        {u"", {"ghbdtn", "vbh", "руддщ"}, {"ghbx", "qwerty"}},
        {u"ghb", {"ghbdtn"}, {"ghbx"}},
        {u"GHB", {"ghbdtn"}, {"ghbx"}},  // the search text is lower-cased too
        {u"МИР", {"vbh"}, {}},           // a match in the corrected word
        {u"ell", {"руддщ"}, {}},
        {u"zzz", {}, {}},
    };
    for (const auto& c : cases) {
        const DictionaryRows rows = dictionaryRows(host.store(), c.search);
        std::vector<std::string> typed, words;
        for (const ExactPairEntry& p : rows.pairs) typed.push_back(p.typed);
        for (const NeverCorrectEntry& w : rows.neverCorrect) words.push_back(w.word);
        std::sort(typed.begin(), typed.end());
        EXPECT_EQ(typed, c.typed);
        EXPECT_EQ(words, c.words);
    }
}

// A keystroke in the search field must not read the rules file (it holds the whole rule set
// and is read on the thread that serves the keyboard hook): the search runs over rows read once.
TEST(DictionaryTab, SearchRunsOverTheRowsReadOnce) {
    FakeSettingsHost host;
    host.writeRules(R"({"exact_pairs":{"ghbdtn":"привет","vbh":"мир"}})");
    const DictionaryRows all = loadDictionaryRows(host.store());
    std::filesystem::remove(host.store().workingRulesPath());
    const DictionaryRows rows = filterDictionaryRows(all, host.store().platform(), u"МИР");
    ASSERT_EQ(rows.pairs.size(), 1u);
    EXPECT_EQ(rows.pairs[0].typed, "vbh");
    EXPECT_EQ(filterDictionaryRows(all, host.store().platform(), u"").pairs.size(), 2u);
}

TEST_F(DictionaryTabTest, RemovingATemplatePairKeepsItGoneAfterTheNextStart) {
    host.writeRules(R"({"exact_pairs":{"lheu":"друг"},"never_correct":["ok"]})");
    ASSERT_EQ(dictionaryRows(host.store(), u"").pairs.size(), 1u);
    ASSERT_TRUE(removeDictionaryPair(host, {"en", "lheu", "ru", "друг"}));
    ASSERT_TRUE(removeNeverCorrectWord(host, {"en", "ok"}));
    EXPECT_EQ(host.applied, 2);
    ASSERT_TRUE(host.store().stageConfigurationFiles());  // the next start merges the template in
    const DictionaryRows rows = dictionaryRows(host.store(), u"");
    EXPECT_TRUE(rows.pairs.empty());
    EXPECT_TRUE(rows.neverCorrect.empty());
    // Adding it again lifts the tombstone.
    ASSERT_TRUE(addDictionaryPair(host, u"LHEU", u"ДРУГ", "en", "uk"));
    ASSERT_TRUE(host.store().stageConfigurationFiles());
    EXPECT_EQ(dictionaryRows(host.store(), u"").pairs, (std::vector<ExactPairEntry>{{"en", "lheu", "uk", "друг"}}));
}

TEST_F(DictionaryTabTest, NeverCorrectWordsAreAddedOnceAndRemoved) {
    ASSERT_TRUE(addNeverCorrectWord(host, u"Ghbdtn ", "en"));
    ASSERT_TRUE(addNeverCorrectWord(host, u"ghbdtn", "uk"));
    DictionaryRows rows = dictionaryRows(host.store(), u"");
    EXPECT_EQ(rows.neverCorrect, (std::vector<NeverCorrectEntry>{{"uk", "ghbdtn"}}));
    ASSERT_TRUE(removeNeverCorrectWord(host, rows.neverCorrect.front()));
    EXPECT_TRUE(dictionaryRows(host.store(), u"").neverCorrect.empty());
}

TEST_F(DictionaryTabTest, AnUnreadableRulesFileIsNeverReplacedByTheNewEntry) {
    quillom::settings::testing::writeText(host.store().workingRulesPath(), R"({"version":1, oops)");
    EXPECT_FALSE(addDictionaryPair(host, u"ghbdtn", u"привет", "en", "ru"));
    EXPECT_FALSE(addNeverCorrectWord(host, u"ghbdtn", "en"));
    EXPECT_FALSE(removeDictionaryPair(host, {"en", "ghbdtn", "ru", "привет"}));
    EXPECT_EQ(working(), R"({"version":1, oops)");
    EXPECT_EQ(host.applied, 0);
}

TEST(LanguagePicker, EntriesNumbersAndReading) {
    const std::vector<std::string> all{"en", "uk", "ru"}, englishOnly{"en"};
    LanguagePicker p = languagePicker(all, "en");
    EXPECT_EQ(p.codes, all);
    EXPECT_EQ(p.numbers, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(p.selected, 0);
    p = languagePicker(all, "ru");
    EXPECT_EQ(p.selected, 2);
    // A preselected language that is not active is added.
    p = languagePicker(englishOnly, "ru");
    EXPECT_EQ(p.codes, (std::vector<std::string>{"en", "ru"}));
    EXPECT_EQ(p.numbers, (std::vector<int>{1, 3}));
    EXPECT_EQ(p.selected, 1);
    const std::pair<int, std::string> reads[] = {{1, "en"}, {2, "uk"}, {3, "ru"}, {0, "en"}, {-1, "en"}, {7, "en"}};
    for (const auto& [number, code] : reads) EXPECT_EQ(pickerLanguage(number), code) << number;
    EXPECT_EQ(firstCyrillicLanguage(std::vector<std::string>{"en", "ru", "uk"}), "ru");
    EXPECT_EQ(firstCyrillicLanguage(std::vector<std::string>{"en", "uk"}), "uk");
    EXPECT_EQ(firstCyrillicLanguage(englishOnly), "ru");
    EXPECT_EQ(languageDisplayName("uk"), u"Українська");
    EXPECT_EQ(languageDisplayName("de"), u"de");
}

}  // namespace
