// Start-up staging, language normalisation and Restore defaults of the settings store.
#include "manual_overrides.h"
#include "preferences.h"
#include "settings_store.h"
#include "system_files.h"

#include <system_error>

namespace quillom::settings {
namespace fs = std::filesystem;

namespace {

bool isFile(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

}  // namespace

bool SettingsStore::stageConfigurationFiles() {
    std::error_code ignored;
    fs::create_directory(settingsFolder(), ignored);

    const fs::path working = workingRulesPath();
    std::string bytes;
    if (!isFile(working) && isFile(templateRulesPath()) && readFileBytes(templateRulesPath(), bytes))
        writeFileBytes(working, bytes);
    JsonValue rules;
    if (loadJsonFile(working, rules) == LoadStatus::Unparsable) setAsideWorkingRules();

    const fs::path prefs = preferencesPath();
    if (!isFile(prefs)) {
        if (isFile(templatePreferencesPath())) {
            if (readFileBytes(templatePreferencesPath(), bytes)) writeFileBytes(prefs, bytes);
        } else {
            writeFileBytes(prefs, kDefaultPreferencesText);
        }
    }

    upgradeWorkingRules();
    stagePackedLexicon();
    return isFile(working);
}

fs::path SettingsStore::setAsideWorkingRules() {
    std::string bytes;
    JsonValue parsed;
    if (!readFileBytes(templateRulesPath(), bytes) || !parseJson(bytes, parsed) || !parsed.isObject()) return {};
    const fs::path aside = copyAside(workingRulesPath());
    if (aside.empty() || !writeFileBytes(workingRulesPath(), bytes)) return {};
    damagedRulesKeptAs_ = aside;
    return aside;
}

// The working rules name the template's lexicon, so the copy beside them must be that file,
// byte for byte: a copy damaged in place (same size, same header) is replaced too. The
// installed copy is verified only then, as creating an engine costs more than the comparison.
void SettingsStore::stagePackedLexicon() {
    const fs::path from = templateLexiconPath(), to = workingLexiconPath();
    std::error_code ec;
    if (!isFile(from) || fs::equivalent(from, to, ec)) return;
    std::string bytes, current;
    if (!readFileBytes(from, bytes)) return;
    if (isFile(to) && fs::file_size(to, ec) == bytes.size() && !ec && readFileBytes(to, current) && current == bytes)
        return;
    if (installedRulesMakeAnEngine()) writeFileBytes(to, bytes);
}

bool SettingsStore::installedRulesMakeAnEngine() const { return engineCheck_ && engineCheck_(templateRulesPath()); }

fs::path SettingsStore::installedFileAtFault(bool installedRulesCreateAnEngine) const {
    if (installedRulesCreateAnEngine) return {};
    JsonValue rules;
    return readJsonFile(templateRulesPath(), rules) ? templateLexiconPath() : templateRulesPath();
}

// The working copy becomes the template rules plus the user's merged dictionary. A working
// file that cannot be read now is left alone.
void SettingsStore::upgradeWorkingRules() {
    const fs::path working = workingRulesPath();
    if (!isFile(working) || !isFile(templateRulesPath())) return;
    JsonValue rules;
    if (!readJsonFile(templateRulesPath(), rules)) return;
    std::string workingBytes;
    JsonValue user;
    if (!readFileBytes(working, workingBytes) || !readJsonFile(working, user)) return;
    JsonValue merged = mergeManualOverrides(find(rules, kManualOverrides), find(user, kManualOverrides));
    member(rules, kManualOverrides) = std::move(merged);
    const std::string text = toJsonText(rules);
    if (text != workingBytes) writeFileBytes(working, text);
}

bool SettingsStore::normaliseActiveLanguages() {
    return updatePreferences([this](JsonValue& prefs) {
        const std::vector<std::string> configured = settings::activeLanguages(prefs);
        const std::vector<std::string> reconciled = reconcileLanguages(configured, installedLanguages());
        if (reconciled == configured) return false;
        setActiveLanguages(prefs, reconciled);
        return true;
    });
}

bool SettingsStore::restoreDefaults() {
    std::error_code ignored;
    fs::create_directory(settingsFolder(), ignored);
    JsonValue rules, current;
    if (!readJsonFile(templateRulesPath(), rules)) return false;
    // Restoring replaces both files on purpose; only their reads now decide the refusal.
    loadJsonFile(workingRulesPath(), current);
    loadJsonFile(preferencesPath(), current);
    const JsonValue prefs = restoredPreferences(installedLanguages());
    return saveFiles({{workingRulesPath(), toJsonText(rules)}, {preferencesPath(), toJsonText(prefs)}});
}

}  // namespace quillom::settings
