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

// The working rules name the template's lexicon, so the copy beside them must be that file.
// Files of one size that start with the same magic and id (a digest of the rest) are the same.
void SettingsStore::stagePackedLexicon() {
    constexpr std::size_t kHeadBytes = 16;
    const fs::path from = templateLexiconPath(), to = workingLexiconPath();
    std::error_code ec;
    if (!isFile(from) || fs::equivalent(from, to, ec)) return;
    std::string fromHead, toHead;
    if (isFile(to) && fs::file_size(to, ec) == fs::file_size(from, ec) && !ec &&
        readFileStart(from, kHeadBytes, fromHead) && readFileStart(to, kHeadBytes, toHead) && fromHead == toHead)
        return;
    std::string bytes;
    if (readFileBytes(from, bytes)) writeFileBytes(to, bytes);
}

// The working copy becomes the template rules plus the user's merged dictionary. A working
// file that does not parse is left alone: the engine gets to try it unchanged.
void SettingsStore::upgradeWorkingRules() {
    const fs::path working = workingRulesPath();
    if (!isFile(working) || !isFile(templateRulesPath())) return;
    JsonValue rules;
    if (!readJsonFile(templateRulesPath(), rules)) return;
    std::string workingBytes;
    JsonValue user;
    if (!readFileBytes(working, workingBytes) || !parseJson(workingBytes, user) || !user.isObject())
        return;
    JsonValue merged = mergeManualOverrides(find(rules, kManualOverrides), find(user, kManualOverrides));
    member(rules, kManualOverrides) = std::move(merged);
    const std::string text = toJsonText(rules);
    if (text != workingBytes) writeFileBytes(working, text);
}

bool SettingsStore::normaliseActiveLanguages() {
    JsonValue prefs;
    loadPreferences(prefs);
    const std::vector<std::string> configured = settings::activeLanguages(prefs);
    const std::vector<std::string> reconciled = reconcileLanguages(configured, installedLanguages());
    if (reconciled == configured) return false;
    setActiveLanguages(prefs, reconciled);
    return savePreferences(prefs);
}

bool SettingsStore::restoreDefaults() {
    std::error_code ignored;
    fs::create_directory(settingsFolder(), ignored);
    JsonValue rules;
    if (!readJsonFile(templateRulesPath(), rules)) return false;
    const JsonValue prefs = restoredPreferences(installedLanguages());
    return saveRules(rules) && savePreferences(prefs);
}

}  // namespace quillom::settings
