// The user preferences as the engine reads them at creation.
#pragma once

#include <string_view>
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
    // Read only for the summary log line; the application owns these.
    bool launchAtLogin = false;
    std::string updateCheckFrequency = "hourly";

    // Never fails: a missing or unreadable file gives the defaults.
    static UserPreferences load(const std::string& path);
    static UserPreferences fromJsonText(std::string_view text);
};

// "en" first, then each entry trimmed and lower-cased, without empties or repeats.
std::vector<std::string> normaliseActiveLanguages(const std::vector<std::string>& entries);

}  // namespace quillom
