#include "general_tab.h"

#include "control_ids.h"
#include "settings/preferences.h"
#include "common/utf16.h"
#include "tray/interface_strings.h"

#include <algorithm>
#include <memory>

namespace quillom::ui {
namespace {

template <size_t N>
int rowOf(const std::array<std::string_view, N>& entries, std::string_view value, int fallback) {
    const auto it = std::find(entries.begin(), entries.end(), value);
    return it == entries.end() ? fallback : int(it - entries.begin());
}

}  // namespace

int interfaceLanguageRow(std::string_view code) { return rowOf(kInterfaceLanguages, code, 0); }

int updateFrequencyRow(std::string_view frequency) { return rowOf(kUpdateFrequencies, frequency, 1); }

int soundRow(std::string_view stored, std::string_view fallback) {
    return rowOf(kSoundNames, stored, rowOf(kSoundNames, fallback, 0));
}

std::string_view optionKeyOf(int controlId) {
    switch (controlId) {
    case ctrl::UppercaseOnlyExactPairs: return settings::key::UppercaseOnlyExactPairs;
    case ctrl::ProtectEndings: return settings::key::ProtectEndingsAfterDelete;
    case ctrl::PauseInGames: return settings::key::PauseInGames;
    case ctrl::PlaySound: return settings::key::PlaySoundOnCorrection;
    case ctrl::BackspaceReverts: return settings::key::BackspaceRevertsCorrection;
    default: return {};
    }
}

bool setOption(SettingsHost& host, int controlId, bool checked) {
    const std::string_view key = optionKeyOf(controlId);
    if (key.empty()) return false;
    return changePreferencesAndApply(host, [&](settings::JsonValue& prefs) {
        settings::setFlag(prefs, key, checked);
        return true;
    });
}

bool chooseSound(SettingsHost& host, int controlId, int row) {
    if (row < 0 || row >= int(kSoundNames.size())) return false;
    std::string_view key;
    if (controlId == ctrl::CorrectionSound) key = settings::key::CorrectionSound;
    else if (controlId == ctrl::UndoSound) key = settings::key::UndoSound;
    else return false;
    const std::string_view name = kSoundNames[size_t(row)];
    const bool saved = changePreferencesAndApply(host, [&](settings::JsonValue& prefs) {
        settings::member(prefs, key) = settings::JsonValue(name);
        return true;
    });
    if (!saved) return false;
    host.playSound(toUtf16(name));
    return true;
}

bool chooseUpdateFrequency(SettingsHost& host, int row) {
    if (row < 0 || row >= int(kUpdateFrequencies.size())) return false;
    const std::string value(kUpdateFrequencies[size_t(row)]);
    const bool saved = host.store().updatePreferences([&](settings::JsonValue& prefs) {
        settings::member(prefs, settings::key::UpdateCheckFrequency) = settings::JsonValue(value);
        return true;
    });
    host.applyUpdateFrequency(value);
    return saved;
}

bool chooseInterfaceLanguage(SettingsHost& host, int row) {
    if (row < 0 || row >= int(kInterfaceLanguages.size())) return false;
    const std::string_view code = kInterfaceLanguages[size_t(row)];
    host.store().updatePreferences([&](settings::JsonValue& prefs) {
        settings::setUiLanguage(prefs, code);
        return true;
    });
    tray::setInterfaceLanguage(code);
    return true;
}

LaunchAtLoginOutcome switchLaunchAtLogin(SettingsHost& host, bool on) {
    if (host.setLaunchAtLogin(on) || !on) return {false, on};
    return {true, host.launchAtLogin()};
}

void restoreAllDefaults(SettingsHost& host, std::function<void(RestoreOutcome)> done) {
    auto restored = std::make_shared<bool>(false);
    host.runInBackground([&host, restored] { *restored = host.store().restoreDefaults(); },
                         [&host, restored, done = std::move(done)] {
                             if (!*restored) return done(RestoreOutcome::Failed);
                             host.hotkeys().resetToDefaults(host.store());
                             host.registerHotkeys();
                             // A portable copy leaves the registry alone.
                             if (!host.store().portable()) host.setLaunchAtLogin(true);
                             host.applyUpdateFrequency("1d");
                             host.setDebugLog(false);
                             host.applySettings();
                             tray::setInterfaceLanguage("en");
                             done(RestoreOutcome::Restored);
                         });
}

}  // namespace quillom::ui
