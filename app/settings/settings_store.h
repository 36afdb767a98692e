// The settings folder and its two files: the working rules file (quillom_rules.json) and the
// user preferences (user_preferences.json), with their templates next to the program.
// Nothing is cached: every change loads a file, changes it and saves the whole tree.
// The packed lexicon the rules file names (quillom_lexicon.bin) lies beside each rules file:
// staging copies the program's copy next to the working rules. Used from the user-interface
// thread only.
//
// Saves never truncate a file in place: the text goes to "<name>.tmp" in the same folder,
// is flushed, and then replaces the file in one step, so an interrupted save leaves the old
// file whole. A preferences or rules file that exists but cannot be read as a JSON object
// (for example a hand edit with a typo) is first copied aside as "<name>.unreadable" (or
// "<name>.unreadable.2" and so on) so the user's text is never lost.
#pragma once

#include "json.h"
#include "settings_platform.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quillom::settings {

class SettingsStore {
public:
    explicit SettingsStore(SettingsPlatform& platform) : platform_(platform) {}

    SettingsPlatform& platform() const { return platform_; }

    // LOCALAPPDATA\Quillom, or the program folder when LOCALAPPDATA is unusable.
    std::filesystem::path settingsFolder() const;
    // Folder of the running executable; empty (current directory) when it has none.
    std::filesystem::path programFolder() const;
    std::filesystem::path workingRulesPath() const;
    std::filesystem::path preferencesPath() const;
    std::filesystem::path templateRulesPath() const;
    std::filesystem::path templatePreferencesPath() const;
    std::filesystem::path workingLexiconPath() const;
    std::filesystem::path templateLexiconPath() const;

    bool readFileBytes(const std::filesystem::path& path, std::string& out) const;
    // Atomic replace through a flushed temporary file in the same folder.
    bool writeFileBytes(const std::filesystem::path& path, std::string_view bytes);

    // True only when the file was read, parsed and holds an object; otherwise out becomes
    // an empty object.
    bool readJsonFile(const std::filesystem::path& path, JsonValue& out) const;
    bool loadPreferences(JsonValue& out) const;
    bool loadRules(JsonValue& out) const;
    bool savePreferences(const JsonValue& prefs);
    bool saveRules(const JsonValue& rules);

    // Start-up, before the engine exists: creates the folder, copies the templates the user
    // lacks (writing the default preferences when there is no template), refreshes the
    // working rules from a newer template with the user's own entries merged in, and puts the
    // program's packed lexicon beside them when the copy there is missing or another.
    // Returns whether the working rules file exists afterwards.
    bool stageConfigurationFiles();

    // "en", then "ru" and "uk" in the order of the installed keyboard layouts.
    std::vector<std::string> installedLanguages() const;
    // Reconciles active_languages with the installed layouts; saves and returns true only
    // when the list changed.
    bool normaliseActiveLanguages();
    // The active languages of the stored preferences.
    std::vector<std::string> activeLanguages() const;
    std::string updateFrequency() const;

    // Working rules := template rules (dropping the user's dictionary), then the default
    // preferences. False when the template is unreadable or a save failed.
    bool restoreDefaults();

private:
    bool saveJsonFile(const std::filesystem::path& path, const JsonValue& tree);
    bool keepAsideIfUnreadable(const std::filesystem::path& path);
    void upgradeWorkingRules();
    void stagePackedLexicon();

    SettingsPlatform& platform_;
};

}  // namespace quillom::settings
