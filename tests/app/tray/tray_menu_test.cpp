#include <gtest/gtest.h>

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
    state.recentApps = {{"notepad.exe", false}, {"Word.EXE", true}, {"a.com", false}};
    std::vector<MenuEntry> menu = buildTrayMenu(state);

    EXPECT_TRUE(find(menu, 2004)->checked);
    EXPECT_EQ(find(menu, 2007)->text, u"Resume");
    EXPECT_FALSE(find(menu, 2008)->greyed);
    EXPECT_EQ(find(menu, 2100)->text, u"Disable “notepad”");
    EXPECT_EQ(find(menu, 2101)->text, u"Enable “Word”");
    EXPECT_EQ(find(menu, 2102)->text, u"Disable “a.com”");
    EXPECT_FALSE(find(menu, 2100)->greyed);
    EXPECT_EQ(find(menu, 2103), nullptr);
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
    state.recentApps = {{"notepad.exe", false}};
    std::vector<MenuEntry> menu = buildTrayMenu(state);
    EXPECT_EQ(find(menu, 2100)->text, u"Вимкнути для «notepad»");
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
