// What the controls of the General, Sound, Auto Rules, Hotkeys and Debug tabs write, and the
// entries their drop-down lists show. Every change loads the preferences, sets one member and
// saves at once; a change the engine, sounds or pausing depend on then reloads through
// SettingsHost::applySettings, which a failed save skips.
#pragma once

#include "settings_host.h"
#include "tray/text_id.h"

#include <array>
#include <functional>
#include <string>
#include <string_view>

namespace quillom::ui {

// The interface-language list, in list order.
inline constexpr std::array<std::string_view, 3> kInterfaceLanguages{"en", "uk", "ru"};
// The update-frequency list and the text ids of its entries.
inline constexpr std::array<std::string_view, 4> kUpdateFrequencies{"1h", "1d", "startup", "never"};
inline constexpr std::array<tray::TextId, 4> kUpdateFrequencyTexts{
    tray::TextId::UpdateEveryHour, tray::TextId::UpdateOnceADay, tray::TextId::UpdateAtStartupOnly,
    tray::TextId::UpdateNever};
// The sound lists: system sound aliases and the text ids of their entries.
inline constexpr std::array<std::string_view, 4> kSoundNames{"SystemAsterisk", "SystemExclamation",
                                                             "SystemNotification", "SystemDefault"};
inline constexpr std::array<tray::TextId, 4> kSoundTexts{tray::TextId::SoundAsterisk, tray::TextId::SoundExclamation,
                                                         tray::TextId::SoundNotification, tray::TextId::SoundDefault};

// The row of the interface language (0 for anything unknown).
int interfaceLanguageRow(std::string_view code);
// The row of an effective frequency; "Once a day" for any value not in the list.
int updateFrequencyRow(std::string_view frequency);
// The row of a stored sound name; the row of fallback when the name is not one of the four.
int soundRow(std::string_view stored, std::string_view fallback);

// Check boxes 1007, 1080, 1081, 1082 and 1090: the preference key of the box, empty for other ids.
std::string_view optionKeyOf(int controlId);
// Stores the box's state; true when saved (and then applied).
bool setOption(SettingsHost& host, int controlId, bool checked);

// Lists 1091 and 1092: stores the sound of the row, applies and plays it once. Rows outside
// 0-3 do nothing. True when saved.
bool chooseSound(SettingsHost& host, int controlId, int row);

// List 1004: stores the frequency of the row and reconfigures the updater. Rows outside 0-3 do
// nothing. True when saved.
bool chooseUpdateFrequency(SettingsHost& host, int row);

// List 1006: stores the interface language and switches the interface strings to it. True when
// the window must be rebuilt in the new language (any row 0-2).
bool chooseInterfaceLanguage(SettingsHost& host, int row);

// Check box 1001. Blocked: turning it on was refused; the box must show the registry's state
// again and the user be told.
struct LaunchAtLoginOutcome {
    bool blocked = false;
    bool nowOn = false;
};
LaunchAtLoginOutcome switchLaunchAtLogin(SettingsHost& host, bool on);

// Button 1003 after the user said Yes. The files are restored on the background worker, so
// that whether they were written is known before anything else changes; then, on this thread,
// done learns the outcome. Failed: the bundled files could not be restored and nothing else
// was changed. Otherwise every follow-up ran and the window must be rebuilt.
enum class RestoreOutcome { Failed, Restored };
void restoreAllDefaults(SettingsHost& host, std::function<void(RestoreOutcome)> done);

}  // namespace quillom::ui
