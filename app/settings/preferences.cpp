#include "preferences.h"

#include "app_mode_store.h"

#include <algorithm>

namespace quillom::settings {
namespace {

bool isTrimmed(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool contains(const std::vector<std::string>& list, std::string_view s) {
    return std::find(list.begin(), list.end(), s) != list.end();
}

}  // namespace

bool debugLog(const JsonValue& prefs) { return getBool(prefs, key::DebugLog, false); }
bool pauseInGames(const JsonValue& prefs) { return getBool(prefs, key::PauseInGames, true); }
bool protectEndingsAfterDelete(const JsonValue& prefs) { return getBool(prefs, key::ProtectEndingsAfterDelete, true); }
bool uppercaseOnlyExactPairs(const JsonValue& prefs) { return getBool(prefs, key::UppercaseOnlyExactPairs, false); }
bool playSoundOnCorrection(const JsonValue& prefs) { return getBool(prefs, key::PlaySoundOnCorrection, true); }
bool learningMode(const JsonValue& prefs) { return getBool(prefs, key::LearningMode, true); }
bool backspaceRevertsCorrection(const JsonValue& prefs) {
    return getBool(prefs, key::BackspaceRevertsCorrection, true);
}
std::string correctionSound(const JsonValue& prefs) { return getString(prefs, key::CorrectionSound, "SystemAsterisk"); }
std::string undoSound(const JsonValue& prefs) { return getString(prefs, key::UndoSound, "SystemExclamation"); }

void setFlag(JsonValue& prefs, std::string_view name, bool on) { member(prefs, name) = on; }

std::vector<std::string> normaliseLanguageList(std::span<const std::string> languages) {
    std::vector<std::string> result{"en"};
    for (const std::string& entry : languages) {
        std::string_view s = entry;
        while (!s.empty() && isTrimmed(s.front())) s.remove_prefix(1);
        while (!s.empty() && isTrimmed(s.back())) s.remove_suffix(1);
        std::string code(s);
        std::transform(code.begin(), code.end(), code.begin(), asciiLower);
        if (!code.empty() && !contains(result, code)) result.push_back(std::move(code));
    }
    return result;
}

std::vector<std::string> activeLanguages(const JsonValue& prefs) {
    std::vector<std::string> collected;
    if (const JsonValue* list = find(prefs, key::ActiveLanguages); list && list->isArray())
        for (const JsonValue& item : list->items())
            if (item.isString()) collected.push_back(item.asString());
    return normaliseLanguageList(collected);
}

void setActiveLanguages(JsonValue& prefs, std::span<const std::string> languages) {
    JsonValue list = JsonValue::makeArray();
    for (std::string& code : normaliseLanguageList(languages)) push(list, std::move(code));
    member(prefs, key::ActiveLanguages) = std::move(list);
}

std::vector<std::string> reconcileLanguages(std::span<const std::string> configured,
                                            std::span<const std::string> installed) {
    std::vector<std::string> result{"en"};
    const std::vector<std::string> installedList(installed.begin(), installed.end());
    for (const std::string& code : configured)
        if (contains(installedList, code) && !contains(result, code)) result.push_back(code);
    std::vector<std::string> rest;
    for (const std::string& code : installed)
        if (!contains(result, code) && !contains(rest, code)) rest.push_back(code);
    std::sort(rest.begin(), rest.end());
    result.insert(result.end(), rest.begin(), rest.end());
    return result;
}

std::string uiLanguage(const JsonValue& prefs) {
    std::string code = getString(prefs, key::UiLanguage, "en");
    return code == "uk" || code == "ru" ? code : "en";
}

void setUiLanguage(JsonValue& prefs, std::string_view code) {
    member(prefs, key::UiLanguage) = code == "uk" || code == "ru" ? code : "en";
}

std::string updateFrequency(const JsonValue& prefs) {
    const JsonValue* v = find(prefs, key::UpdateCheckFrequency);
    if (!v || !v->isString()) return "1d";
    return v->asString() == "15m" ? "1h" : v->asString();
}

int compareIgnoringAsciiCase(std::string_view a, std::string_view b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const auto x = static_cast<unsigned char>(asciiLower(a[i]));
        const auto y = static_cast<unsigned char>(asciiLower(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

std::vector<ExcludedApp> excludedApps(const JsonValue& prefs) {
    std::vector<ExcludedApp> apps;
    const JsonValue* all = find(prefs, key::ExcludedApps);
    if (!all || !all->isObject()) return apps;
    for (const JsonMember& m : all->members()) {
        if (m.key.empty()) continue;  // an empty name counts as missing: nothing can match it
        const JsonValue* name = find(m.value, "name");
        const JsonValue* path = find(m.value, "path");
        apps.push_back({m.key, name && name->isString() ? name->asString() : m.key,
                        path && path->isString() ? path->asString() : std::string(), modeOfEntry(m.value)});
    }
    std::stable_sort(apps.begin(), apps.end(), [](const ExcludedApp& a, const ExcludedApp& b) {
        return compareIgnoringAsciiCase(a.name, b.name) < 0;
    });
    return apps;
}

bool isExcluded(const JsonValue& prefs, std::string_view appKey) {
    const JsonValue* all = find(prefs, key::ExcludedApps);
    if (appKey.empty() || !all || !all->isObject()) return false;
    return std::any_of(all->members().begin(), all->members().end(),
                       [&](const JsonMember& m) { return compareIgnoringAsciiCase(m.key, appKey) == 0; });
}

void setExcluded(JsonValue& prefs, std::string_view appKey, std::string_view name, bool excluded,
                 std::string_view path) {
    if (appKey.empty()) return;
    JsonValue& all = member(prefs, key::ExcludedApps);
    if (!all.isObject()) all = JsonValue::makeObject();
    std::erase_if(all.members(), [&](const JsonMember& m) { return compareIgnoringAsciiCase(m.key, appKey) == 0; });
    if (!excluded) return;
    JsonValue entry;
    member(entry, "name") = name;
    member(entry, "disable_manual_switching") = false;
    member(entry, "path") = path;
    all.members().push_back({std::string(appKey), std::move(entry)});
}

JsonValue restoredPreferences(std::span<const std::string> installedLanguages) {
    JsonValue prefs = JsonValue::makeObject();
    member(prefs, key::SchemaVersion) = "1.0";
    setActiveLanguages(prefs, installedLanguages);
    member(prefs, key::ExcludedApps) = JsonValue::makeObject();
    member(prefs, key::UpdateCheckFrequency) = "1d";
    member(prefs, key::CheckForUpdates) = true;
    member(prefs, key::DebugLog) = false;
    member(prefs, key::PauseInGames) = true;
    member(prefs, key::ProtectEndingsAfterDelete) = true;
    member(prefs, key::UppercaseOnlyExactPairs) = false;
    member(prefs, key::PlaySoundOnCorrection) = true;
    member(prefs, key::CorrectionSound) = "SystemAsterisk";
    member(prefs, key::UndoSound) = "SystemExclamation";
    member(prefs, key::UiLanguage) = "en";
    return prefs;
}

}  // namespace quillom::settings
