// The hotkey capture fields of the Hotkeys tab: what a key press in a field means, and handing a
// new binding to the hotkey bindings, which store and register it.
#pragma once

#include "settings_host.h"

#include <cstdint>

namespace quillom::ui {

enum class HotkeyKeyAction {
    Ignore,  // a modifier alone, or a key without any modifier held
    Cancel,  // Esc: leave the field without a change
    Clear,   // Delete or Backspace: unbind
    Bind,    // the key with the modifiers held
};
struct HotkeyKey {
    HotkeyKeyAction action = HotkeyKeyAction::Ignore;
    tray::HotkeyBinding binding;  // Bind only
};

// vk: the pressed virtual key; heldModifiers: the RegisterHotKey bits of Ctrl, Alt, Shift and
// either Win key held at that moment.
HotkeyKey hotkeyFieldKey(uint32_t vk, uint32_t heldModifiers);

// The hotkey id of a capture field (1050 undo, 1051 convert, 1054 en, 1055 ru, 1056 uk); 0 for
// other controls.
int hotkeySlotOf(int controlId);

// Stores and registers a new or cleared binding for the field; false when refused or not saved.
bool applyHotkeyField(SettingsHost& host, int controlId, tray::HotkeyBinding binding);

// Reset to Defaults.
void resetHotkeys(SettingsHost& host);

}  // namespace quillom::ui
