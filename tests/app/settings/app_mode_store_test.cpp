#include <gtest/gtest.h>

#include "settings/app_mode_store.h"
#include "settings/preferences.h"

namespace quillom::settings {
namespace {

JsonValue parsed(std::string_view text) {
    JsonValue prefs;
    EXPECT_TRUE(parseJson(text, prefs)) << text;
    return prefs;
}

// Entries written before the modes existed keep what they did: no
// automatic correction, the hotkeys working.
TEST(AppModeStore, OlderEntriesReadAsHotkeysOnly) {
    const JsonValue prefs = parsed(R"({"excluded_apps":{
        "notepad.exe":{"name":"Notepad","disable_manual_switching":false,"path":"C:\\n.exe"},
        "code.exe":{"path":"C:\\code.exe"},
        "game.exe":{"name":"Game","disable_manual_switching":true,"path":""},
        "odd.exe":true}})");
    const struct {
        const char* key;
        AppMode mode;
    } cases[] = {{"notepad.exe", AppMode::HotkeysOnly}, {"CODE.EXE", AppMode::HotkeysOnly}, {"game.exe", AppMode::Off},
                 {"odd.exe", AppMode::HotkeysOnly},     {"other.exe", AppMode::Automatic},  {"", AppMode::Automatic}};
    for (const auto& c : cases) EXPECT_EQ(appMode(prefs, c.key), c.mode) << c.key;
    EXPECT_EQ(excludedApps(prefs)[1].mode, AppMode::Off) << "the list shows the mode (sorted: Game second)";
}

// Every change keeps the other entries and members, an entry's name, path
// and place; the engine's view (isExcluded) follows Automatic or not.
TEST(AppModeStore, SettingAModeChangesOnlyThatEntry) {
    JsonValue prefs = parsed(R"({"future":[1],"excluded_apps":{
        "a.exe":{"name":"A","disable_manual_switching":false,"path":"C:\\a.exe"},
        "b.exe":{"name":"B","disable_manual_switching":false,"path":""}}})");
    setAppMode(prefs, "A.EXE", "ignored", AppMode::Off, "ignored");
    EXPECT_EQ(toJsonText(prefs), toJsonText(parsed(R"({"future":[1],"excluded_apps":{
        "a.exe":{"name":"A","disable_manual_switching":true,"path":"C:\\a.exe"},
        "b.exe":{"name":"B","disable_manual_switching":false,"path":""}}})")));
    setAppMode(prefs, "a.exe", "", AppMode::HotkeysOnly, "");
    EXPECT_EQ(appMode(prefs, "a.exe"), AppMode::HotkeysOnly);
    EXPECT_EQ(excludedApps(prefs)[0], (ExcludedApp{"a.exe", "A", "C:\\a.exe", AppMode::HotkeysOnly}));

    setAppMode(prefs, "new.exe", "new.exe", AppMode::Off, "");
    EXPECT_TRUE(isExcluded(prefs, "new.exe"));
    EXPECT_EQ(appMode(prefs, "new.exe"), AppMode::Off);
    setAppMode(prefs, "b.exe", "B", AppMode::Automatic, "");
    EXPECT_FALSE(isExcluded(prefs, "b.exe"));
    setAppMode(prefs, "", "x", AppMode::Off, "");
    EXPECT_EQ(excludedApps(prefs).size(), 2u);
    EXPECT_NE(find(prefs, "future"), nullptr);
}

}  // namespace
}  // namespace quillom::settings
