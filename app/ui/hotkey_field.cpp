#include "hotkey_field.h"

#include "common/virtual_keys.h"
#include "control_ids.h"
#include "tray/interface_strings.h"

namespace quillom::ui {
namespace {

// The command a hotkey runs, as the tray menu names it.
std::u16string commandLabel(int slot) {
    switch (slot) {
    case tray::hotkey::Undo: return tray::text(tray::TextId::UndoLastCorrection);
    case tray::hotkey::Convert: return tray::text(tray::TextId::ConvertSelectedText);
    case tray::hotkey::ConvertEn: return tray::text(tray::TextId::ConvertTo) + u" EN";
    case tray::hotkey::ConvertRu: return tray::text(tray::TextId::ConvertTo) + u" RU";
    case tray::hotkey::ConvertUk: return tray::text(tray::TextId::ConvertTo) + u" UK";
    default: return {};
    }
}

}  // namespace

HotkeyKey hotkeyFieldKey(uint32_t vk, uint32_t heldModifiers) {
    if (vk == vk::Escape) return {HotkeyKeyAction::Cancel, {}};
    if (vk == vk::Delete || vk == vk::Backspace) return {HotkeyKeyAction::Clear, {}};
    const uint32_t mods = heldModifiers & tray::modifier::All;
    if (isModifierKey(vk) || vk == 0 || vk > 0xFE) return {};
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

HotkeyFieldResult applyHotkeyField(SettingsHost& host, int controlId, tray::HotkeyBinding binding) {
    const int slot = hotkeySlotOf(controlId);
    if (slot == 0) return {};
    tray::HotkeyBindings& bindings = host.hotkeys();
    switch (bindings.refusal(slot, binding)) {
    case tray::HotkeyRefusal::NeedsModifier: return {false, tray::text(tray::TextId::HotkeyNeedsModifier)};
    case tray::HotkeyRefusal::Reserved: return {false, tray::text(tray::TextId::HotkeyReserved)};
    case tray::HotkeyRefusal::TakenByCommand:
        return {false, tray::formattedText(tray::TextId::HotkeyTakenByCommand,
                                           commandLabel(bindings.commandWith(binding, slot)))};
    case tray::HotkeyRefusal::None: break;
    }
    const tray::HotkeyBindings::SetResult result = bindings.set(slot, binding, host.store());
    if (result == tray::HotkeyBindings::SetResult::Refused) return {};
    host.registerHotkeys();
    if (result != tray::HotkeyBindings::SetResult::Saved) return {false, tray::text(tray::TextId::ErrorCaption)};
    return {true, {}};
}

std::u16string hotkeyFieldText(SettingsHost& host, int controlId) {
    const int slot = hotkeySlotOf(controlId);
    std::u16string shown = host.hotkeyText(host.hotkeys().binding(slot));
    if (host.hotkeys().registrationRefused(slot)) shown += u" — " + tray::text(tray::TextId::HotkeyTakenBySystem);
    return shown;
}

void resetHotkeys(SettingsHost& host) {
    host.hotkeys().resetToDefaults(host.store());
    host.registerHotkeys();
}

}  // namespace quillom::ui
