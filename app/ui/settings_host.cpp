#include "settings_host.h"

namespace quillom::ui {
namespace {

bool appliedWhenSaved(SettingsHost& host, bool saved) {
    if (saved) host.applySettings();
    return saved;
}

}  // namespace

bool changePreferencesAndApply(SettingsHost& host, const settings::SettingsStore::Change& change) {
    return appliedWhenSaved(host, host.store().updatePreferences(change));
}

bool changeRulesAndApply(SettingsHost& host, const settings::SettingsStore::Change& change) {
    return appliedWhenSaved(host, host.store().updateRules(change));
}

}  // namespace quillom::ui
