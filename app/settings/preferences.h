// The user preferences tree (user_preferences.json): its keys, their defaults and the typed
// readers and writers the program uses. All functions work on a tree the caller loaded with
// SettingsStore::loadPreferences and saves again with savePreferences; a member of the wrong
// type reads as its default, an empty string as missing.
#pragma once

#include "common/app_mode.h"
#include "json.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quillom::settings {

namespace key {
inline constexpr std::string_view SchemaVersion = "schema_version";
inline constexpr std::string_view ActiveLanguages = "active_languages";
inline constexpr std::string_view ExcludedApps = "excluded_apps";
inline constexpr std::string_view UpdateCheckFrequency = "update_check_frequency";
inline constexpr std::string_view CheckForUpdates = "check_for_updates";
inline constexpr std::string_view DebugLog = "debug_log";
inline constexpr std::string_view PauseInGames = "pause_in_games";
inline constexpr std::string_view ProtectEndingsAfterDelete = "protect_endings_after_delete";
inline constexpr std::string_view UppercaseOnlyExactPairs = "uppercase_only_exact_pairs";
inline constexpr std::string_view PlaySoundOnCorrection = "play_sound_on_correction";
inline constexpr std::string_view CorrectionSound = "correction_sound";
inline constexpr std::string_view UndoSound = "undo_sound";
inline constexpr std::string_view LearningMode = "learning_mode";
inline constexpr std::string_view UiLanguage = "ui_language";
inline constexpr std::string_view Hotkeys = "hotkeys";
inline constexpr std::string_view BackspaceRevertsCorrection = "backspace_reverts_correction";
}  // namespace key

// What a first start writes when no template preferences file sits next to the program.
inline constexpr std::string_view kDefaultPreferencesText =
    R"({"active_languages":["en","uk","ru"],"protect_endings_after_delete":true,)"
    R"("uppercase_only_exact_pairs":false,"pause_in_games":true,"play_sound_on_correction":true,)"
    R"("correction_sound":"SystemAsterisk","undo_sound":"SystemExclamation"})";

// Boolean and sound preferences with their defaults.
bool debugLog(const JsonValue& prefs);                    // false
bool pauseInGames(const JsonValue& prefs);                // true
bool protectEndingsAfterDelete(const JsonValue& prefs);   // true
bool uppercaseOnlyExactPairs(const JsonValue& prefs);     // false
bool playSoundOnCorrection(const JsonValue& prefs);       // true
bool learningMode(const JsonValue& prefs);                // true
bool backspaceRevertsCorrection(const JsonValue& prefs);  // true
std::string correctionSound(const JsonValue& prefs);      // "SystemAsterisk"
std::string undoSound(const JsonValue& prefs);            // "SystemExclamation"

// Sets a boolean member (the root becomes an object if it is not one).
void setFlag(JsonValue& prefs, std::string_view name, bool on);

// "en" first, then each entry trimmed of space/tab/CR/LF and lower-cased (ASCII), empty ones
// and repeats dropped.
std::vector<std::string> normaliseLanguageList(std::span<const std::string> languages);

// The String elements of active_languages, normalised; ["en"] when the member is missing.
std::vector<std::string> activeLanguages(const JsonValue& prefs);
void setActiveLanguages(JsonValue& prefs, std::span<const std::string> languages);

// The configured order reconciled with the installed layouts: "en", then the configured
// languages that are installed (in their order), then the other installed ones in code order.
std::vector<std::string> reconcileLanguages(std::span<const std::string> configured,
                                            std::span<const std::string> installed);

// Exactly "en", "uk" or "ru"; anything else reads and is stored as "en".
std::string uiLanguage(const JsonValue& prefs);
void setUiLanguage(JsonValue& prefs, std::string_view code);

// "1h", "1d", "startup", "never" or whatever else is stored; "1d" when missing or not a
// string, and the old "15m" reads as "1h".
std::string updateFrequency(const JsonValue& prefs);

struct ExcludedApp {
    std::string key;   // lower-case executable name, e.g. notepad.exe
    std::string name;  // display name; the key when none is stored
    std::string path;  // full path of the executable; may be empty
    AppMode mode = AppMode::HotkeysOnly;
    friend bool operator==(const ExcludedApp&, const ExcludedApp&) = default;
};

// Sorted by display name, ignoring ASCII case.
std::vector<ExcludedApp> excludedApps(const JsonValue& prefs);
// Keys are compared ignoring ASCII case.
bool isExcluded(const JsonValue& prefs, std::string_view appKey);
// Removes every member matching appKey (ignoring ASCII case) and, when excluded, appends
// {name, disable_manual_switching: false, path}. An empty key changes nothing.
void setExcluded(JsonValue& prefs, std::string_view appKey, std::string_view name, bool excluded,
                 std::string_view path);

// The preferences that Restore defaults writes (no hotkeys, no learning_mode: both default).
JsonValue restoredPreferences(std::span<const std::string> installedLanguages);

// ASCII case-insensitive comparison, as the C runtime's _stricmp in the C locale.
int compareIgnoringAsciiCase(std::string_view a, std::string_view b);

}  // namespace quillom::settings
