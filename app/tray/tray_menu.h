// The tray menu as data: built by one function from the state it shows, and
// turned into a Win32 popup menu by the shell adapter.
#pragma once

#include "common/app_mode.h"
#include "pipeline/pause_state.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quillom::tray {

namespace command {
inline constexpr uint32_t LaunchAtLogin = 2001, Enabled = 2002, LearningMode = 2003, Debug = 2004,
                          PauseFor15Minutes = 2005, PauseUntilRestart = 2006, Resume = 2007, Undo = 2008,
                          ConvertSelection = 2009, ConvertToEnglish = 2010, ConvertToUkrainian = 2011,
                          ConvertToRussian = 2012, CheckForUpdates = 2013, Settings = 2014, Quit = 2015,
                          FirstRecentApp = 2100;
}

struct MenuEntry {
    enum class Kind { Item, Separator, Submenu } kind = Kind::Item;
    std::u16string text;
    uint32_t command = 0;
    bool checked = false;
    bool greyed = false;
    std::vector<MenuEntry> children;  // Submenu only
};

struct RecentAppEntry {
    std::string appId;  // UTF-8
    AppMode mode = AppMode::Automatic;
};

// Each recent application has a submenu with one entry per mode, in the
// order of kAppModes.
uint32_t recentAppCommand(size_t appIndex, AppMode mode);
struct RecentAppChoice {
    size_t appIndex = 0;
    AppMode mode = AppMode::Automatic;
};
// Nothing for a command outside the entries of the apps shown.
std::optional<RecentAppChoice> recentAppChoice(uint32_t command, size_t appsShown);

struct TrayMenuState {
    std::u16string statusText;
    bool launchAtLogin = false;
    bool portable = false;  // launch at login is not offered: it would write to the registry
    bool enabled = true;
    bool learningMode = true;
    bool developerMachine = false;
    bool debugLog = false;
    bool paused = false;
    bool undoAvailable = false;
    std::vector<RecentAppEntry> recentApps;  // at most four, most recent first
    // Hotkey texts of the language conversions, when bound.
    std::optional<std::u16string> convertEnHotkey, convertUkHotkey, convertRuHotkey;
};

// Texts in the current interface language.
std::vector<MenuEntry> buildTrayMenu(const TrayMenuState& state);

// The status line's text in the current interface language.
const std::u16string& statusText(pipeline::Status status);

// "Quillom — " + status, cut to what the notify icon's tip holds (127 units).
std::u16string trayTooltip(const std::u16string& statusText);

}  // namespace quillom::tray
