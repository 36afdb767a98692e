// The user preferences as the engine reads them at creation.
#pragma once

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace quillom {

struct AppExclusionConfig {
    std::string name;
    bool disableManualSwitching = false;
};

struct UserPreferences {
    std::unordered_map<std::string, AppExclusionConfig> excludedApps;
    std::vector<std::string> activeLanguages{"en"};
    bool protectEndingsAfterDelete = true;
    bool uppercaseOnlyExactPairs = false;
    bool launchAtLogin = false;
    bool launchAtLoginInitialized = false;
    std::string updateCheckFrequency = "hourly";
    std::optional<std::string> skippedUpdateVersion;
    bool debugLog = false;
    bool pauseInGames = true;
    bool playSoundOnCorrection = true;
    std::string correctionSoundName = "Morse";
    std::string undoSoundName = "Morse";
    std::string uiLanguage = "en";

    // Never fails: a missing or unreadable file gives the defaults.
    static UserPreferences load(const std::string& path);
    static UserPreferences fromJsonText(std::string_view text);
};

// "en" first, then each entry trimmed and lower-cased, without empties or repeats.
std::vector<std::string> normaliseActiveLanguages(const std::vector<std::string>& entries);

}  // namespace quillom
