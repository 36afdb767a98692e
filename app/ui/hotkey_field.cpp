#include "hotkey_field.h"

#include "control_ids.h"

namespace quillom::ui {
namespace {

constexpr uint32_t kBackspace = 0x08, kShift = 0x10, kControl = 0x11, kMenu = 0x12, kEscape = 0x1B,
                   kDelete = 0x2E, kLeftWin = 0x5B, kRightWin = 0x5C, kLeftShift = 0xA0, kRightMenu = 0xA5;

bool isModifierKey(uint32_t vk) {
    return vk == kShift || vk == kControl || vk == kMenu || vk == kLeftWin || vk == kRightWin ||
           (vk >= kLeftShift && vk <= kRightMenu);
}

}  // namespace

HotkeyKey hotkeyFieldKey(uint32_t vk, uint32_t heldModifiers) {
    if (vk == kEscape) return {HotkeyKeyAction::Cancel, {}};
    if (vk == kDelete || vk == kBackspace) return {HotkeyKeyAction::Clear, {}};
    const uint32_t mods = heldModifiers & tray::modifier::All;
    if (isModifierKey(vk) || mods == 0 || vk == 0 || vk > 0xFE) return {};
    return {HotkeyKeyAction::Bind, {mods, vk}};
}

int hotkeySlotOf(int controlId) {
    switch (controlId) {
    case ctrl::HotkeyUndo: return tray::hotkey::Undo;
    case ctrl::HotkeyConvert: return tray::hotkey::Convert;
    case ctrl::HotkeyConvertEn: return tray::hotkey::ConvertEn;
    case ctrl::HotkeyConvertRu: return tray::hotkey::ConvertRu;
    case ctrl::HotkeyConvertUk: return tray::hotkey::ConvertUk;
    default: return 0;
    }
}

bool applyHotkeyField(SettingsHost& host, int controlId, tray::HotkeyBinding binding) {
    const int slot = hotkeySlotOf(controlId);
    if (slot == 0) return false;
    const tray::HotkeyBindings::SetResult result = host.hotkeys().set(slot, binding, host.store());
    if (result == tray::HotkeyBindings::SetResult::Refused) return false;
    host.registerHotkeys();
    return result == tray::HotkeyBindings::SetResult::Saved;
}

void resetHotkeys(SettingsHost& host) {
    host.hotkeys().resetToDefaults(host.store());
    host.registerHotkeys();
}

}  // namespace quillom::ui
