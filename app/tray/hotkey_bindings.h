// The five global hotkeys' bindings: the table with its defaults, loading from and saving to
// "hotkeys" in the preferences, editing from the settings window, and the text shown for a
// binding. Registration itself (RegisterHotKey with mods | kModNoRepeat for every bound id,
// UnregisterHotKey first) belongs to the program, which re-registers after every successful
// set or reset. Used on the main thread only.
#pragma once

#include "key_names.h"
#include "settings/json.h"
#include "settings/settings_store.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace quillom::tray {

// RegisterHotKey ids, also the wParam of WM_HOTKEY.
namespace hotkey {
inline constexpr int Undo = 1, Convert = 2, ConvertEn = 3, ConvertRu = 4, ConvertUk = 5;
inline constexpr int First = Undo, Last = ConvertUk;
}  // namespace hotkey

// RegisterHotKey modifier bits.
namespace modifier {
inline constexpr uint32_t Alt = 1, Ctrl = 2, Shift = 4, Win = 8, All = 15;
}
inline constexpr uint32_t kModNoRepeat = 0x4000;

struct HotkeyBinding {
    uint32_t mods = 0;
    uint32_t vk = 0;  // 0: not bound (mods is then 0 too)
    friend bool operator==(const HotkeyBinding&, const HotkeyBinding&) = default;
};

// The JSON key of an id ("undo", "convert", "convert_en", ...); empty for other ids.
std::string_view hotkeyName(int id);
HotkeyBinding defaultBinding(int id);

// Why a combination cannot be bound system-wide.
enum class HotkeyRefusal {
    None,
    NeedsModifier,   // no Ctrl, Alt or Win: it would swallow ordinary typing (Shift+letter too)
    Reserved,        // Alt+F4 or Ctrl+C/V/X/Z/A: closing windows and editing everywhere
    TakenByCommand,  // another of the five commands has it
};
// Whether the combination itself may be bound (vk 0, unbinding, always may).
HotkeyRefusal combinationRefusal(HotkeyBinding binding);

class HotkeyBindings {
public:
    enum class SetResult { Refused, Saved, SaveFailed };

    HotkeyBindings();  // the defaults

    // Unbound for ids outside the table.
    HotkeyBinding binding(int id) const;

    // Defaults, then every well-formed member of "hotkeys". A member is taken when it is an
    // object with integral numbers mods (only the four modifier bits) and vk (1 to 254) and at
    // a combination combinationRefusal allows, or with vk 0 (unbound); anything else keeps the
    // default, so a hand-edited file cannot bind a bare letter or Ctrl+C system-wide.
    void loadFrom(const settings::JsonValue& prefs);
    void load(const settings::SettingsStore& store);

    // Replaces (or appends) "hotkeys" with all five bindings, unbound ones as 0/0.
    void storeInto(settings::JsonValue& prefs) const;
    bool save(settings::SettingsStore& store) const;

    // Why binding cannot be given to id now; None when it can.
    HotkeyRefusal refusal(int id, HotkeyBinding binding) const;
    // The other command that has binding; 0 when none has.
    int commandWith(HotkeyBinding binding, int exceptId) const;

    // Refuses an unknown id and every binding refusal() names; vk 0 clears the binding.
    // Otherwise stores it and saves all bindings; a failed save leaves the table as it was.
    SetResult set(int id, HotkeyBinding binding, settings::SettingsStore& store);

    // What the last registration of id did: the program records it, the window shows it.
    void setRegistrationRefused(int id, bool refused);
    bool registrationRefused(int id) const;

    // Undo and Convert get their defaults, the language hotkeys are cleared; then saves.
    bool resetToDefaults(settings::SettingsStore& store);

private:
    std::array<HotkeyBinding, hotkey::Last + 1> table_{};  // index 0 unused
    std::array<bool, hotkey::Last + 1> registrationRefused_{};
};

// "Ctrl+Alt+F11"; the "(unset)" text of the interface language when vk is 0.
std::u16string hotkeyText(HotkeyBinding binding, const KeyNameSource& keyNames);

}  // namespace quillom::tray
