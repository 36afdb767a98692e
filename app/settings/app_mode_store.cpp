#include "app_mode_store.h"

#include "preferences.h"

namespace quillom::settings {
namespace {

constexpr std::string_view kManualSwitchingOff = "disable_manual_switching";

template <typename Json>
Json* entryOf(Json& prefs, std::string_view appKey) {
    Json* all = find(prefs, key::ExcludedApps);
    if (appKey.empty() || !all || !all->isObject()) return nullptr;
    for (auto& m : all->members())
        if (compareIgnoringAsciiCase(m.key, appKey) == 0) return &m.value;
    return nullptr;
}

}  // namespace

AppMode modeOfEntry(const JsonValue& entry) {
    return getBool(entry, kManualSwitchingOff, false) ? AppMode::Off : AppMode::HotkeysOnly;
}

AppMode appMode(const JsonValue& prefs, std::string_view appKey) {
    const JsonValue* entry = entryOf(prefs, appKey);
    return entry ? modeOfEntry(*entry) : AppMode::Automatic;
}

void setAppMode(JsonValue& prefs, std::string_view appKey, std::string_view name, AppMode mode, std::string_view path) {
    if (appKey.empty()) return;
    JsonValue* entry = entryOf(prefs, appKey);
    if (mode == AppMode::Automatic || !entry || !entry->isObject()) {
        setExcluded(prefs, appKey, name, mode != AppMode::Automatic, path);
        entry = entryOf(prefs, appKey);
    }
    if (entry) member(*entry, kManualSwitchingOff) = mode == AppMode::Off;
}

}  // namespace quillom::settings
