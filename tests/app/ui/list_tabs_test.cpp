#include "fake_settings_host.h"
#include "settings/preferences.h"
#include "tray/interface_strings.h"
#include "ui/list_tabs.h"

#include <gtest/gtest.h>

using namespace quillom::ui;
using namespace quillom::settings;
using quillom::ui::testing::FakeSettingsHost;

namespace {

using Languages = std::vector<std::string>;

TEST(LanguageOrder, MoveUpAndDownKeepEnglishFirst) {
    const Languages three{"en", "uk", "ru"};
    const struct {
        int row, delta;
        std::optional<Languages> result;
    } cases[] = {
        {2, -1, Languages{"en", "ru", "uk"}},  // Move Up on the third row swaps Ukrainian and Russian
        {1, +1, Languages{"en", "ru", "uk"}},
        {1, -1, std::nullopt},  // nothing goes above English
        {0, +1, std::nullopt},  // English does not move
        {0, -1, std::nullopt},
        {2, +1, std::nullopt},   // past the last active language
        {3, -1, std::nullopt},   // a "layout not installed" row
        {-1, +1, std::nullopt},  // no selection
    };
    for (const auto& c : cases) EXPECT_EQ(movedLanguages(three, c.row, c.delta), c.result) << c.row << " " << c.delta;
    EXPECT_EQ(movedLanguages(Languages{"en", "ru"}, 1, -1), std::nullopt);
}

TEST(LanguageOrder, RowsMarkLanguagesWithoutALayout) {
    const std::vector<LanguageRow> rows = languageRows(Languages{"en"});
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_TRUE(rows[0].active);
    EXPECT_EQ(rows[1].code, "uk");
    EXPECT_FALSE(rows[1].active);
    EXPECT_EQ(rows[2].code, "ru");
    EXPECT_EQ(languageRowText(rows[0]), u"English");
    EXPECT_EQ(languageRowText(rows[2]),
              u"Русский" + quillom::tray::text(quillom::tray::TextId::LayoutNotInstalledSuffix));
    EXPECT_EQ(languageRows(Languages{"en", "ru", "uk"}).size(), 3u);
}

TEST(LanguageOrder, MovingSavesAppliesAndReportsTheMovedLanguage) {
    FakeSettingsHost host;
    host.platform.layouts = {0x0409, 0x0422, 0x0419};
    host.writePreferences(R"({"active_languages":["en","uk","ru"]})");
    std::vector<LanguageRow> rows = refreshLanguageRows(host);
    EXPECT_EQ(host.applied, 0);  // already reconciled: nothing written
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(moveLanguage(host, 2, -1), std::optional<std::string>("ru"));
    EXPECT_EQ(host.applied, 1);
    EXPECT_EQ(host.store().activeLanguages(), (Languages{"en", "ru", "uk"}));
    EXPECT_EQ(moveLanguage(host, 1, -1), std::nullopt);
    EXPECT_EQ(host.applied, 1);
    host.platform.failNextWrite = true;
    EXPECT_EQ(moveLanguage(host, 1, +1), std::nullopt);
    EXPECT_EQ(host.applied, 1);
}

TEST(LanguageOrder, RefreshReconcilesWithTheInstalledLayouts) {
    FakeSettingsHost host;
    host.platform.layouts = {0x0409};
    host.writePreferences(R"({"active_languages":["en","uk","ru"]})");
    const std::vector<LanguageRow> rows = refreshLanguageRows(host);
    EXPECT_EQ(host.applied, 1);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_TRUE(rows[0].active);
    EXPECT_FALSE(rows[1].active);
    EXPECT_FALSE(rows[2].active);
}

TEST(ExcludedApps, DialogResultsBecomeFullPaths) {
    EXPECT_EQ(chosenPaths(std::u16string_view(u"C:\\Apps\\a.exe\0\0", 15)),
              std::vector<std::u16string>{u"C:\\Apps\\a.exe"});
    EXPECT_EQ(chosenPaths(std::u16string_view(u"C:\\Apps\0a.exe\0b.exe\0\0", 22)),
              (std::vector<std::u16string>{u"C:\\Apps\\a.exe", u"C:\\Apps\\b.exe"}));
    EXPECT_EQ(chosenPaths(std::u16string_view(u"C:\\\0a.exe\0\0", 11)), std::vector<std::u16string>{u"C:\\a.exe"});
    EXPECT_TRUE(chosenPaths(std::u16string_view(u"\0\0", 2)).empty());
}

TEST(ExcludedApps, EntryNamesFromTheShellOrTheFileName) {
    FakeSettingsHost host;
    const struct {
        ChosenApplication app;
        ExcludedApp entry;
    } cases[] = {
        {{u"C:\\Apps\\Notepad.EXE", u"Notepad.exe"}, {"notepad.exe", "Notepad", "C:\\Apps\\Notepad.EXE"}},
        {{u"C:\\Apps\\Notepad.EXE", u"Блокнот"}, {"notepad.exe", "Блокнот", "C:\\Apps\\Notepad.EXE"}},
        {{u"D:\\Tools\\Game.Launcher.EXE", u""},
         {"game.launcher.exe", "game.launcher", "D:\\Tools\\Game.Launcher.EXE"}},
        {{u"D:\\Tools\\README", u""}, {"readme", "readme", "D:\\Tools\\README"}},
    };
    for (const auto& c : cases) EXPECT_EQ(excludedEntryFor(c.app, host.platform), c.entry);
}

TEST(ExcludedApps, AddingTheSameExecutableTwiceKeepsOneEntry) {
    FakeSettingsHost host;
    host.writePreferences(
        R"({"excluded_apps":{"code.exe":{"name":"Code","disable_manual_switching":false,"path":""}}})");
    const std::vector<ChosenApplication> first{{u"C:\\Old\\Notepad.exe", u"Notepad"}};
    const std::vector<ChosenApplication> second{{u"C:\\New\\NOTEPAD.EXE", u"Notepad++"}};
    ASSERT_TRUE(addExcludedApplications(host, first));
    ASSERT_TRUE(addExcludedApplications(host, second));
    EXPECT_EQ(host.applied, 2);
    const std::vector<ExcludedApp> apps = excludedApps(host.preferences());
    EXPECT_EQ(apps, (std::vector<ExcludedApp>{{"code.exe", "Code", ""},
                                              {"notepad.exe", "Notepad++", "C:\\New\\NOTEPAD.EXE"}}));
    ASSERT_TRUE(removeExcludedApplication(host, apps[1]));
    EXPECT_EQ(excludedApps(host.preferences()).size(), 1u);
    EXPECT_FALSE(addExcludedApplications(host, std::vector<ChosenApplication>{}));
    EXPECT_EQ(host.applied, 3);
}

// The mode list: a change is saved and applied; choosing the mode the entry
// has already saves nothing; Automatic takes the application off the list.
TEST(ExcludedApps, ModeListChangesTheSelectedEntry) {
    using quillom::AppMode;
    FakeSettingsHost host;
    host.writePreferences(
        R"({"excluded_apps":{"code.exe":{"name":"Code","disable_manual_switching":false,"path":"C:\\c.exe"}}})");
    const std::vector<ExcludedApp> listed = excludedApps(host.preferences());
    ASSERT_EQ(listed.size(), 1u);
    const ExcludedApp code = listed[0];
    EXPECT_FALSE(setExcludedAppMode(host, code, AppMode::HotkeysOnly));
    EXPECT_EQ(host.applied, 0);
    ASSERT_TRUE(setExcludedAppMode(host, code, AppMode::Off));
    EXPECT_EQ(host.applied, 1);
    EXPECT_EQ(excludedApps(host.preferences()),
              (std::vector<ExcludedApp>{{"code.exe", "Code", "C:\\c.exe", AppMode::Off}}));
    ASSERT_TRUE(setExcludedAppMode(host, code, AppMode::Automatic));
    EXPECT_TRUE(excludedApps(host.preferences()).empty());
    EXPECT_EQ(host.applied, 2);
}

}  // namespace
