#include "tray/interface_strings.h"
#include "tray/string_tables.h"

#include <gtest/gtest.h>

#include <set>

using namespace quillom::tray;

namespace {

struct LanguageGuard {
    ~LanguageGuard() { setInterfaceLanguage("en"); }
};

size_t count(std::u16string_view s, std::u16string_view part) {
    size_t n = 0;
    for (size_t at = s.find(part); at != std::u16string_view::npos; at = s.find(part, at + part.size())) ++n;
    return n;
}

const std::vector<std::pair<const char*, std::span<const StringEntry>>>& tables() {
    static const std::vector<std::pair<const char*, std::span<const StringEntry>>> all = {
        {"en", englishEntries()}, {"uk", ukrainianEntries()}, {"ru", russianEntries()}};
    return all;
}

TEST(InterfaceStrings, EveryTableHoldsEachIdOnceWithText) {
    for (const auto& [code, entries] : tables()) {
        std::set<int> ids;
        for (const StringEntry& e : entries) {
            EXPECT_TRUE(ids.insert(e.id).second) << code << " repeats id " << e.id;
            EXPECT_FALSE(e.text.empty()) << code << " id " << e.id;
        }
        EXPECT_EQ(ids.size(), static_cast<size_t>(kInterfaceStringCount)) << code;
        EXPECT_EQ(*ids.begin(), 0) << code;
        EXPECT_EQ(*ids.rbegin(), kInterfaceStringCount - 1) << code;
        for (int id = 0; id < kInterfaceStringCount; ++id) EXPECT_FALSE(textIn(code, id).empty()) << code << id;
    }
}

// A translation that loses a placeholder, a line break or a trailing space breaks its caller.
TEST(InterfaceStrings, TranslationsKeepPlaceholdersLineBreaksAndEdgeSpaces) {
    for (const char* code : {"uk", "ru"}) {
        for (int id = 0; id < kInterfaceStringCount; ++id) {
            const std::u16string& en = textIn("en", id);
            const std::u16string& tr = textIn(code, id);
            EXPECT_EQ(count(en, u"%s"), count(tr, u"%s")) << code << " id " << id;
            EXPECT_EQ(count(en, u"\n"), count(tr, u"\n")) << code << " id " << id;
            EXPECT_EQ(en.front() == u' ', tr.front() == u' ') << code << " id " << id;
            EXPECT_EQ(en.back() == u' ', tr.back() == u' ') << code << " id " << id;
            EXPECT_EQ(en.back() == u'…', tr.back() == u'…') << code << " id " << id;
            EXPECT_EQ(en.back() == u':', tr.back() == u':') << code << " id " << id;
            EXPECT_NE(en, tr) << code << " id " << id << " is untranslated";
        }
    }
}

TEST(InterfaceStrings, LanguageSelectionAndFallback) {
    LanguageGuard guard;
    struct Case { const char* code; std::string_view selected; std::u16string active; };
    const std::vector<Case> cases = {
        {"uk", "uk", u"Активний"}, {"ru", "ru", u"Активен"}, {"en", "en", u"Active"},
        {"UK", "en", u"Active"}, {"", "en", u"Active"}, {"de", "en", u"Active"}, {"ru ", "en", u"Active"},
    };
    for (const Case& c : cases) {
        setInterfaceLanguage(c.code);
        EXPECT_EQ(interfaceLanguage(), c.selected) << c.code;
        EXPECT_EQ(text(0), c.active) << c.code;
        EXPECT_EQ(text(91), textIn(c.selected, 91));
        EXPECT_TRUE(text(kInterfaceStringCount).empty());
        EXPECT_TRUE(text(-1).empty());
    }
    EXPECT_EQ(textIn("ru", 91), u"(не назначено)");
    EXPECT_EQ(textIn("uk", 91), u"(не призначено)");
    EXPECT_EQ(textIn("xx", 112), u"Writes correction diagnostics to %TEMP%\\quillom.log. The log contains "
                                 u"typed text and exists on developer builds only.");
    EXPECT_EQ(textIn("en", 20), u"Windows blocked enabling launch at login.\n\nTurn Quillom on under "
                                u"Settings → Apps → Startup.");
}

TEST(InterfaceStrings, FormattingReplacesTheFirstPlaceholderOnly) {
    LanguageGuard guard;
    EXPECT_EQ(formattedText(14, u"notepad.exe"), u"Disable “notepad.exe”");
    setInterfaceLanguage("uk");
    EXPECT_EQ(formattedText(15, u"notepad.exe"), u"Увімкнути для «notepad.exe»");
    setInterfaceLanguage("ru");
    EXPECT_EQ(formattedText(14, u"notepad.exe"), u"Отключить для «notepad.exe»");
    EXPECT_EQ(formattedText(0, u"x"), u"Активен");

    struct Case { std::u16string text, argument, expected; };
    const std::vector<Case> cases = {
        {u"%s and %s", u"a", u"a and %s"}, {u"%s", u"%s", u"%s"}, {u"%", u"x", u"%"},
        {u"", u"x", u""}, {u"100%", u"x", u"100%"}, {u"[%s]", u"", u"[]"},
    };
    for (const Case& c : cases) EXPECT_EQ(formatWithArgument(c.text, c.argument), c.expected);
}

}  // namespace
