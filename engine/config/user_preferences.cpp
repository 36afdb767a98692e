#include "config/user_preferences.h"

#include <algorithm>

#include "config/engine_log.h"
#include "config/file_bytes.h"
#include "config/json.h"
#include "unicode/unicode.h"

namespace quillom {

namespace {

std::string trimmedLower(const std::string& s) {
    auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    size_t b = 0, e = s.size();
    while (b < e && isSpace(s[b])) ++b;
    while (e > b && isSpace(s[e - 1])) --e;
    return unicode::toLower(std::string_view(s).substr(b, e - b));
}

std::unordered_map<std::string, AppExclusionConfig> readExcludedApps(const json::Value& object) {
    std::unordered_map<std::string, AppExclusionConfig> apps;
    for (const auto& [id, value] : object.asObject()) {
        AppExclusionConfig app;
        // A record that is not an object still excludes the application.
        app.name = value.isObject() ? json::findString(value, "name").value_or(id) : id;
        if (value.isObject())
            app.disableManualSwitching = json::findBool(value, "disable_manual_switching").value_or(false);
        apps[unicode::toLower(id)] = std::move(app);
    }
    return apps;
}

std::string summary(const UserPreferences& p) {
    std::string line = "[Quillom] user_preferences.json loaded: " + std::to_string(p.excludedApps.size()) +
                       " excluded app(s), active=[";
    for (size_t i = 0; i < p.activeLanguages.size(); ++i) {
        if (i) line += ", ";
        line += p.activeLanguages[i];
    }
    line += "], launchAtLogin=";
    line += p.launchAtLogin ? "true" : "false";
    line += ", updateCheckFrequency=" + p.updateCheckFrequency;
    return line;
}

}  // namespace

std::vector<std::string> normaliseActiveLanguages(const std::vector<std::string>& entries) {
    std::vector<std::string> out{"en"};
    for (const auto& entry : entries) {
        std::string key = trimmedLower(entry);
        if (!key.empty() && std::find(out.begin(), out.end(), key) == out.end()) out.push_back(std::move(key));
    }
    return out;
}

UserPreferences UserPreferences::fromJsonText(std::string_view text) {
    UserPreferences prefs;
    auto root = json::parse(text);
    if (!root || !root->isObject()) {
        engineLog("[Quillom] user_preferences.json could not be parsed; ignoring");
        return prefs;
    }
    if (const json::Value* apps = json::findObject(*root, "excluded_apps"))
        prefs.excludedApps = readExcludedApps(*apps);
    if (const json::Value* langs = json::findArray(*root, "active_languages")) {
        // Entries that are not strings are skipped, as the application does.
        std::vector<std::string> entries;
        for (const auto& v : langs->asArray())
            if (v.isString()) entries.emplace_back(v.asString());
        prefs.activeLanguages = normaliseActiveLanguages(entries);
    }
    prefs.protectEndingsAfterDelete = json::findBool(*root, "protect_endings_after_delete").value_or(true);
    prefs.uppercaseOnlyExactPairs = json::findBool(*root, "uppercase_only_exact_pairs").value_or(false);
    prefs.launchAtLogin = json::findBool(*root, "launch_at_login").value_or(false);
    if (auto f = json::findString(*root, "update_check_frequency"); f && !f->empty()) prefs.updateCheckFrequency = *f;
    engineLog(summary(prefs));
    return prefs;
}

UserPreferences UserPreferences::load(const std::string& path) {
    auto bytes = readConfigText(path);
    if (!bytes) return UserPreferences{};
    return fromJsonText(*bytes);
}

}  // namespace quillom
