#include <gtest/gtest.h>

#include <set>

#include "quillom_version.h"
#include "tray/interface_strings.h"
#include "tray/tray_menu.h"

namespace quillom::tray {
namespace {

using Kind = MenuEntry::Kind;

std::vector<uint32_t> commandsOf(const std::vector<MenuEntry>& menu) {
    std::vector<uint32_t> ids;
    for (const MenuEntry& e : menu)
        if (e.kind == Kind::Item) ids.push_back(e.command);
    return ids;
}

const MenuEntry* find(const std::vector<MenuEntry>& menu, uint32_t command) {
    for (const MenuEntry& e : menu)
        if (e.kind == Kind::Item && e.command == command) return &e;
    return nullptr;
}

class TrayMenu : public ::testing::Test {
protected:
    void SetUp() override { setInterfaceLanguage("en"); }
    void TearDown() override { setInterfaceLanguage("en"); }
};

TEST_F(TrayMenu, OrdinaryMachineWithNothingSeenYet) {
    TrayMenuState state;
    state.statusText = u"Active";
    std::vector<MenuEntry> menu = buildTrayMenu(state);

    EXPECT_EQ(commandsOf(menu),
              (std::vector<uint32_t>{0, 2001, 2002, 2003, 2005, 2006, 2008, 2009, 2100, 2013, 2014, 2015}));
    EXPECT_EQ(menu[0].text, u"Quillom " QUILLOM_VERSION " — Active");
    EXPECT_TRUE(menu[0].greyed);
    EXPECT_EQ(menu[1].kind, Kind::Separator);
    EXPECT_TRUE(find(menu, 2002)->checked);
    EXPECT_TRUE(find(menu, 2008)->greyed) << "nothing to undo";
    const MenuEntry* app = find(menu, 2100);
    EXPECT_EQ(app->text, u"Disable for Current App");
    EXPECT_TRUE(app->greyed);
    EXPECT_EQ(find(menu, 2015)->text, u"Quit Quillom");
    EXPECT_EQ(std::count_if(menu.begin(), menu.end(), [](auto& e) { return e.kind == Kind::Separator; }), 6);
}

TEST_F(TrayMenu, DeveloperMachinePausedWithRecentApps) {
    TrayMenuState state;
    state.developerMachine = true;
    state.debugLog = true;
    state.paused = true;
    state.undoAvailable = true;
    state.recentApps = {
        {"notepad.exe", AppMode::Automatic}, {"Word.EXE", AppMode::Off}, {"a.com", AppMode::HotkeysOnly}};
    std::vector<MenuEntry> menu = buildTrayMenu(state);

    EXPECT_TRUE(find(menu, 2004)->checked);
    EXPECT_EQ(find(menu, 2007)->text, u"Resume");
    EXPECT_FALSE(find(menu, 2008)->greyed);
    EXPECT_EQ(find(menu, 2100), nullptr) << "no greyed placeholder";
}

// Each recent application is a submenu of the three modes, its own checked;
// every entry's command leads back to its application and mode.
TEST_F(TrayMenu, RecentAppsOfferTheirModes) {
    TrayMenuState state;
    state.recentApps = {{"notepad.exe", AppMode::Automatic},
                        {"Word.EXE", AppMode::Off},
                        {"a.com", AppMode::HotkeysOnly},
                        {"b.exe", AppMode::Automatic},
                        {"fifth.exe", AppMode::Off}};
    std::vector<MenuEntry> menu = buildTrayMenu(state);
    std::vector<const MenuEntry*> apps;
    for (const MenuEntry& e : menu)
        if (e.kind == Kind::Submenu && e.text != u"Convert To") apps.push_back(&e);
    ASSERT_EQ(apps.size(), 4u) << "at most four";
    const std::u16string titles[] = {u"In “notepad”", u"In “Word”", u"In “a.com”", u"In “b”"};
    const std::u16string modeTexts[] = {u"&Automatic correction", u"&Hotkeys only", u"&Off"};
    std::set<uint32_t> commands;
    for (size_t i = 0; i < apps.size(); ++i) {
        EXPECT_EQ(apps[i]->text, titles[i]);
        ASSERT_EQ(apps[i]->children.size(), 3u);
        for (size_t m = 0; m < 3; ++m) {
            const MenuEntry& entry = apps[i]->children[m];
            EXPECT_EQ(entry.text, modeTexts[m]);
            EXPECT_EQ(entry.checked, kAppModes[m] == state.recentApps[i].mode) << i << m;
            EXPECT_TRUE(commands.insert(entry.command).second) << "commands are distinct";
            std::optional<RecentAppChoice> choice = recentAppChoice(entry.command, state.recentApps.size());
            ASSERT_TRUE(choice) << entry.command;
            EXPECT_EQ(choice->appIndex, i);
            EXPECT_EQ(choice->mode, kAppModes[m]);
            EXPECT_FALSE(recentAppChoice(entry.command, i)) << "not among the apps the menu showed";
        }
    }
    for (uint32_t other : {2013u, 2099u, 2112u, 2150u}) EXPECT_FALSE(recentAppChoice(other, 5)) << other;
}

TEST_F(TrayMenu, ConvertToSubmenuShowsHotkeys) {
    TrayMenuState state;
    state.convertUkHotkey = u"Ctrl+Shift+U";
    std::vector<MenuEntry> menu = buildTrayMenu(state);
    auto sub = std::find_if(menu.begin(), menu.end(), [](auto& e) { return e.kind == Kind::Submenu; });
    ASSERT_NE(sub, menu.end());
    EXPECT_EQ(sub->text, u"Convert To");
    ASSERT_EQ(sub->children.size(), 3u);
    EXPECT_EQ(sub->children[0].text, u"English");
    EXPECT_EQ(sub->children[0].command, 2010u);
    EXPECT_EQ(sub->children[1].text, u"Українська\tCtrl+Shift+U");
    EXPECT_EQ(sub->children[1].command, 2011u);
    EXPECT_EQ(sub->children[2].text, u"Русский");
    EXPECT_EQ(sub->children[2].command, 2012u);
}

TEST_F(TrayMenu, TextsFollowTheInterfaceLanguageButTheFixedOnesStay) {
    setInterfaceLanguage("uk");
    TrayMenuState state;
    state.recentApps = {{"notepad.exe", AppMode::HotkeysOnly}};
    std::vector<MenuEntry> menu = buildTrayMenu(state);
    auto app = std::find_if(menu.begin(), menu.end(), [](auto& e) { return e.text == u"У «notepad»"; });
    ASSERT_NE(app, menu.end());
    EXPECT_EQ(app->children[1].text, u"&Лише гарячі клавіші");
    EXPECT_EQ(find(menu, 2015)->text, u"Вийти з Quillom");
    const std::u16string title = u"Quillom " QUILLOM_VERSION " — ";
    EXPECT_EQ(menu[0].text.substr(0, title.size()), title);
}

TEST_F(TrayMenu, EveryStatusHasItsOwnTextInEachLanguage) {
    using pipeline::Status;
    const struct {
        const char* language;
        Status status;
        std::u16string text;
    } cases[] = {
        {"en", Status::Active, u"Active"},
        {"en", Status::Paused, u"Paused"},
        {"en", Status::PausedFullScreen, u"Paused in full-screen app"},
        {"en", Status::Disabled, u"Disabled"},
        {"uk", Status::Active, u"Активний"},
        {"uk", Status::Disabled, u"Вимкнено"},
    };
    for (const auto& c : cases) {
        setInterfaceLanguage(c.language);
        EXPECT_EQ(statusText(c.status), c.text) << c.language << int(c.status);
    }
}

TEST(TrayTooltip, PrefixAndLimit) {
    EXPECT_EQ(trayTooltip(u"Paused"), u"Quillom — Paused");
    EXPECT_EQ(trayTooltip(std::u16string(200, u'x')).size(), 127u);
}

}  // namespace
}  // namespace quillom::tray
