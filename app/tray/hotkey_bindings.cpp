#include "hotkey_bindings.h"

#include "common/virtual_keys.h"
#include "interface_strings.h"
#include "settings/preferences.h"

#include <cmath>
#include <optional>

namespace quillom::tray {
namespace {

using settings::JsonValue;

constexpr std::string_view kNames[] = {"", "undo", "convert", "convert_en", "convert_ru", "convert_uk"};

bool validId(int id) { return id >= hotkey::First && id <= hotkey::Last; }

std::optional<uint32_t> storedNumber(const JsonValue& entry, std::string_view name, uint32_t max) {
    const JsonValue* v = settings::find(entry, name);
    if (!v || !v->isNumber()) return std::nullopt;
    const double x = v->asNumber();
    if (!(x >= 0) || x > max || std::floor(x) != x) return std::nullopt;
    return static_cast<uint32_t>(x);
}

std::optional<HotkeyBinding> storedBinding(const JsonValue& entry) {
    const auto mods = storedNumber(entry, "mods", modifier::All);
    const auto vk = storedNumber(entry, "vk", 0xFE);
    if (!mods || !vk) return std::nullopt;
    if (*vk == 0) return HotkeyBinding{};
    if (combinationRefusal({*mods, *vk}) != HotkeyRefusal::None) return std::nullopt;
    return HotkeyBinding{*mods, *vk};
}

std::u16string keyName(uint32_t vk, const KeyNameSource& keyNames) {
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) return std::u16string(1, static_cast<char16_t>(vk));
    if (vk >= vk::F1 && vk <= vk::F24) {
        const std::string number = std::to_string(vk - vk::F1 + 1);
        std::u16string name = u"F";
        name.append(number.begin(), number.end());
        return name;
    }
    switch (vk) {
    case vk::Tab: return u"Tab";
    case vk::Enter: return u"Enter";
    case vk::Space: return u"Space";
    case vk::Oem3: return u"`";
    default: break;
    }
    std::u16string name = keyNames.keyName(vk);
    return name.empty() ? u"?" : name;
}

}  // namespace

std::string_view hotkeyName(int id) { return validId(id) ? kNames[id] : std::string_view(); }

HotkeyBinding defaultBinding(int id) {
    if (id == hotkey::Undo) return {modifier::Ctrl | modifier::Alt, vk::F11};
    if (id == hotkey::Convert) return {modifier::Ctrl | modifier::Alt, vk::F12};
    return {};
}

HotkeyRefusal combinationRefusal(HotkeyBinding binding) {
    if (binding.vk == 0) return HotkeyRefusal::None;
    if ((binding.mods & (modifier::Ctrl | modifier::Alt | modifier::Win)) == 0) return HotkeyRefusal::NeedsModifier;
    const uint32_t mods = binding.mods & modifier::All;
    const bool editing = mods == modifier::Ctrl && (binding.vk == 'C' || binding.vk == 'V' || binding.vk == 'X' ||
                                                    binding.vk == 'Z' || binding.vk == 'A');
    if (editing || (mods == modifier::Alt && binding.vk == vk::F4)) return HotkeyRefusal::Reserved;
    return HotkeyRefusal::None;
}

HotkeyBindings::HotkeyBindings() {
    for (int id = hotkey::First; id <= hotkey::Last; ++id) table_[id] = defaultBinding(id);
}

HotkeyBinding HotkeyBindings::binding(int id) const { return validId(id) ? table_[id] : HotkeyBinding{}; }

void HotkeyBindings::loadFrom(const JsonValue& prefs) {
    *this = HotkeyBindings();
    const JsonValue* all = settings::find(prefs, settings::key::Hotkeys);
    if (!all || !all->isObject()) return;
    for (int id = hotkey::First; id <= hotkey::Last; ++id) {
        const JsonValue* entry = settings::find(*all, kNames[id]);
        if (!entry || !entry->isObject()) continue;
        if (const auto stored = storedBinding(*entry)) table_[id] = *stored;
    }
}

void HotkeyBindings::load(const settings::SettingsStore& store) { loadFrom(store.preferences()); }

void HotkeyBindings::storeInto(JsonValue& prefs) const {
    JsonValue all = JsonValue::makeObject();
    for (int id = hotkey::First; id <= hotkey::Last; ++id) {
        JsonValue entry = JsonValue::makeObject();
        settings::member(entry, "mods") = table_[id].mods;
        settings::member(entry, "vk") = table_[id].vk;
        settings::member(all, kNames[id]) = std::move(entry);
    }
    settings::member(prefs, settings::key::Hotkeys) = std::move(all);
}

bool HotkeyBindings::save(settings::SettingsStore& store) const {
    return store.updatePreferences([this](JsonValue& prefs) {
        storeInto(prefs);
        return true;
    });
}

int HotkeyBindings::commandWith(HotkeyBinding binding, int exceptId) const {
    if (binding.vk == 0) return 0;
    for (int id = hotkey::First; id <= hotkey::Last; ++id)
        if (id != exceptId && table_[id].vk == binding.vk && table_[id].mods == (binding.mods & modifier::All))
            return id;
    return 0;
}

HotkeyRefusal HotkeyBindings::refusal(int id, HotkeyBinding binding) const {
    const HotkeyRefusal combination = combinationRefusal(binding);
    if (combination != HotkeyRefusal::None) return combination;
    return commandWith(binding, id) ? HotkeyRefusal::TakenByCommand : HotkeyRefusal::None;
}

void HotkeyBindings::setRegistrationRefused(int id, bool refused) {
    if (validId(id)) registrationRefused_[id] = refused;
}

bool HotkeyBindings::registrationRefused(int id) const { return validId(id) && registrationRefused_[id]; }

HotkeyBindings::SetResult HotkeyBindings::set(int id, HotkeyBinding binding, settings::SettingsStore& store) {
    if (!validId(id) || refusal(id, binding) != HotkeyRefusal::None) return SetResult::Refused;
    const HotkeyBinding before = table_[id];
    table_[id] = binding.vk == 0 ? HotkeyBinding{} : HotkeyBinding{binding.mods & modifier::All, binding.vk};
    if (save(store)) return SetResult::Saved;
    table_[id] = before;  // what is registered stays what is stored
    return SetResult::SaveFailed;
}

bool HotkeyBindings::resetToDefaults(settings::SettingsStore& store) {
    *this = HotkeyBindings();
    return save(store);
}

std::u16string hotkeyText(HotkeyBinding binding, const KeyNameSource& keyNames) {
    if (binding.vk == 0) return text(TextId::Unset);
    std::u16string result;
    if (binding.mods & modifier::Ctrl) result += u"Ctrl+";
    if (binding.mods & modifier::Alt) result += u"Alt+";
    if (binding.mods & modifier::Shift) result += u"Shift+";
    if (binding.mods & modifier::Win) result += u"Win+";
    return result + keyName(binding.vk, keyNames);
}

}  // namespace quillom::tray
