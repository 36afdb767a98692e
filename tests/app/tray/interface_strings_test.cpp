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

std::vector<TextId> allIds() {
    std::vector<TextId> ids;
    for (int id = 0; id < kInterfaceStringCount; ++id) ids.push_back(TextId(id));
    return ids;
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
            EXPECT_TRUE(ids.insert(int(e.id)).second) << code << " repeats id " << int(e.id);
            EXPECT_FALSE(e.text.empty()) << code << " id " << int(e.id);
        }
        EXPECT_EQ(ids.size(), static_cast<size_t>(kInterfaceStringCount)) << code;
        EXPECT_EQ(*ids.begin(), 0) << code;
        EXPECT_EQ(*ids.rbegin(), kInterfaceStringCount - 1) << code;
        for (TextId id : allIds()) EXPECT_FALSE(textIn(code, id).empty()) << code << int(id);
    }
}

// A translation that loses a placeholder, a line break or a trailing space breaks its caller.
TEST(InterfaceStrings, TranslationsKeepPlaceholdersLineBreaksAndEdgeSpaces) {
    for (const char* code : {"uk", "ru"}) {
        for (TextId id : allIds()) {
            const std::u16string& en = textIn("en", id);
            const std::u16string& tr = textIn(code, id);
            EXPECT_EQ(count(en, u"%s"), count(tr, u"%s")) << code << " id " << int(id);
            EXPECT_EQ(count(en, u"\n"), count(tr, u"\n")) << code << " id " << int(id);
            EXPECT_EQ(en.front() == u' ', tr.front() == u' ') << code << " id " << int(id);
            EXPECT_EQ(en.back() == u' ', tr.back() == u' ') << code << " id " << int(id);
            EXPECT_EQ(en.back() == u'…', tr.back() == u'…') << code << " id " << int(id);
            EXPECT_EQ(en.back() == u':', tr.back() == u':') << code << " id " << int(id);
            EXPECT_NE(en, tr) << code << " id " << int(id) << " is untranslated";
        }
    }
}

TEST(InterfaceStrings, LanguageSelectionAndFallback) {
    LanguageGuard guard;
    struct Case {
        const char* code;
        std::string_view selected;
        std::u16string active;
    };
    const std::vector<Case> cases = {
        {"uk", "uk", u"Активний"}, {"ru", "ru", u"Активен"}, {"en", "en", u"Active"},  {"UK", "en", u"Active"},
        {"", "en", u"Active"},     {"de", "en", u"Active"},  {"ru ", "en", u"Active"},
    };
    for (const Case& c : cases) {
        setInterfaceLanguage(c.code);
        EXPECT_EQ(interfaceLanguage(), c.selected) << c.code;
        EXPECT_EQ(text(TextId::StatusActive), c.active) << c.code;
        EXPECT_EQ(text(TextId::Unset), textIn(c.selected, TextId::Unset));
        EXPECT_TRUE(text(TextId(kInterfaceStringCount)).empty());
        EXPECT_TRUE(text(TextId(-1)).empty());
    }
    EXPECT_EQ(textIn("ru", TextId::Unset), u"(не назначено)");
    EXPECT_EQ(textIn("uk", TextId::Unset), u"(не призначено)");
    EXPECT_EQ(textIn("xx", TextId::DebugLogNote),
              u"Writes correction diagnostics to %TEMP%\\quillom.log. The log contains "
              u"typed text and exists on developer builds only.");
    EXPECT_EQ(textIn("en", TextId::LaunchAtLoginBlocked),
              u"Windows blocked enabling launch at login.\n\nTurn Quillom on under "
              u"Settings → Apps → Startup.");
}

// Menus underline the letter after "&"; lists show the text without it.
TEST(InterfaceStrings, ModeNamesLoseTheirAccessKeyInLists) {
    LanguageGuard guard;
    EXPECT_EQ(withoutAccessKey(appModeText(quillom::AppMode::HotkeysOnly)), u"Hotkeys only");
    setInterfaceLanguage("ru");
    EXPECT_EQ(withoutAccessKey(appModeText(quillom::AppMode::Off)), u"Выключено");
    EXPECT_EQ(withoutAccessKey(u"Tom && Jerry&"), u"Tom & Jerry&");
    for (const char* code : {"en", "uk", "ru"}) {
        setInterfaceLanguage(code);
        std::set<char16_t> keys;
        for (quillom::AppMode mode : quillom::kAppModes) {
            const std::u16string& t = appModeText(mode);
            const size_t at = t.find(u'&');
            ASSERT_NE(at, std::u16string::npos) << code;
            EXPECT_TRUE(keys.insert(t[at + 1]).second) << code << ": two modes share an access key";
        }
    }
}

TEST(InterfaceStrings, FormattingReplacesTheFirstPlaceholderOnly) {
    LanguageGuard guard;
    EXPECT_EQ(formattedText(TextId::MenuAppIn, u"notepad.exe"), u"In “notepad.exe”");
    setInterfaceLanguage("uk");
    EXPECT_EQ(formattedText(TextId::MenuAppIn, u"notepad.exe"), u"У «notepad.exe»");
    setInterfaceLanguage("ru");
    EXPECT_EQ(formattedText(TextId::MenuAppIn, u"notepad.exe"), u"В «notepad.exe»");
    EXPECT_EQ(formattedText(TextId::StatusActive, u"x"), u"Активен");

    struct Case {
        std::u16string text, argument, expected;
    };
    const std::vector<Case> cases = {
        {u"%s and %s", u"a", u"a and %s"}, {u"%s", u"%s", u"%s"}, {u"%", u"x", u"%"}, {u"", u"x", u""},
        {u"100%", u"x", u"100%"},          {u"[%s]", u"", u"[]"},
    };
    for (const Case& c : cases) EXPECT_EQ(formatWithArgument(c.text, c.argument), c.expected);
}

}  // namespace
