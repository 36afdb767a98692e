// The hotkey capture fields of the Hotkeys tab: what a key press in a field means, and handing a
// new binding to the hotkey bindings, which store and register it.
#pragma once

#include "settings_host.h"

#include <cstdint>
#include <string>

namespace quillom::ui {

enum class HotkeyKeyAction {
    Ignore,  // a modifier alone
    Cancel,  // Esc: leave the field without a change
    Clear,   // Delete or Backspace: unbind
    Bind,    // the key with the modifiers held (maybe none: applying it then says why not)
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

// The field's answer to a binding: accepted (stored and registered, or cleared), or the text
// that tells the user why not.
struct HotkeyFieldResult {
    bool accepted = false;
    std::u16string message;
};
HotkeyFieldResult applyHotkeyField(SettingsHost& host, int controlId, tray::HotkeyBinding binding);

// What a field shows at rest: the binding, and that Windows refused it when it did.
std::u16string hotkeyFieldText(SettingsHost& host, int controlId);

// Reset to Defaults.
void resetHotkeys(SettingsHost& host);

}  // namespace quillom::ui
