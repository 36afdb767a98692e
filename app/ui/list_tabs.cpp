#include "list_tabs.h"

#include "language_picker.h"
#include "settings/app_mode_store.h"
#include "common/utf16.h"
#include "tray/interface_strings.h"

#include <algorithm>

namespace quillom::ui {
namespace {

bool endsWithExeIgnoringCase(std::u16string_view name) {
    if (name.size() < 4) return false;
    std::u16string_view tail = name.substr(name.size() - 4);
    auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 0x20) : c; };
    return lower(tail[0]) == u'.' && lower(tail[1]) == u'e' && lower(tail[2]) == u'x' && lower(tail[3]) == u'e';
}

std::u16string_view fileNameOf(std::u16string_view path) {
    const size_t slash = path.find_last_of(u"\\/");
    return slash == std::u16string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::vector<LanguageRow> languageRows(std::span<const std::string> activeLanguages) {
    std::vector<LanguageRow> rows;
    for (const std::string& code : activeLanguages) rows.push_back({code, true});
    for (const char* code : {"en", "uk", "ru"})
        if (std::find(activeLanguages.begin(), activeLanguages.end(), code) == activeLanguages.end())
            rows.push_back({code, false});
    return rows;
}

std::u16string languageRowText(const LanguageRow& row) {
    std::u16string text = languageDisplayName(row.code);
    if (!row.active) text += tray::text(tray::TextId::LayoutNotInstalledSuffix);
    return text;
}

std::optional<std::vector<std::string>> movedLanguages(std::span<const std::string> activeLanguages, int row,
                                                       int delta) {
    const int count = int(activeLanguages.size());
    const int target = row + delta;
    if (row <= 0 || row >= count || target <= 0 || target >= count) return std::nullopt;
    std::vector<std::string> moved(activeLanguages.begin(), activeLanguages.end());
    std::swap(moved[size_t(row)], moved[size_t(target)]);
    return moved;
}

std::vector<LanguageRow> refreshLanguageRows(SettingsHost& host) {
    if (host.store().normaliseActiveLanguages()) host.applySettings();
    return languageRows(host.store().activeLanguages());
}

std::optional<std::string> moveLanguage(SettingsHost& host, int row, int delta) {
    std::optional<std::string> movedCode;
    const bool saved = changePreferencesAndApply(host, [&](settings::JsonValue& prefs) {
        const std::vector<std::string> active = settings::activeLanguages(prefs);
        const std::optional<std::vector<std::string>> moved = movedLanguages(active, row, delta);
        if (!moved) return false;
        settings::setActiveLanguages(prefs, *moved);
        movedCode = active[size_t(row)];
        return true;
    });
    return saved ? movedCode : std::nullopt;
}

std::vector<std::u16string> chosenPaths(std::u16string_view dialogResult) {
    std::vector<std::u16string> parts;
    size_t at = 0;
    while (at < dialogResult.size() && dialogResult[at] != u'\0') {
        size_t end = dialogResult.find(u'\0', at);
        if (end == std::u16string_view::npos) end = dialogResult.size();
        parts.emplace_back(dialogResult.substr(at, end - at));
        at = end + 1;
    }
    if (parts.size() <= 1) return parts;
    std::u16string folder = parts.front();
    if (folder.back() != u'\\') folder += u'\\';
    std::vector<std::u16string> paths;
    for (size_t i = 1; i < parts.size(); ++i) paths.push_back(folder + parts[i]);
    return paths;
}

settings::ExcludedApp excludedEntryFor(const ChosenApplication& app, const settings::SettingsPlatform& platform) {
    const std::u16string fileName = platform.lowerCase(fileNameOf(app.path));
    std::u16string name = app.shellName;
    if (!name.empty()) {
        if (endsWithExeIgnoringCase(name)) name.resize(name.size() - 4);
    } else {
        const size_t dot = fileName.rfind(u'.');
        name = dot == std::u16string::npos ? fileName : fileName.substr(0, dot);
    }
    return {toUtf8(fileName), toUtf8(name), toUtf8(app.path)};
}

bool addExcludedApplications(SettingsHost& host, std::span<const ChosenApplication> apps) {
    if (apps.empty()) return false;
    return changePreferencesAndApply(host, [&](settings::JsonValue& prefs) {
        for (const ChosenApplication& app : apps) {
            const settings::ExcludedApp entry = excludedEntryFor(app, host.store().platform());
            settings::setExcluded(prefs, entry.key, entry.name, true, entry.path);
        }
        return true;
    });
}

bool setExcludedAppMode(SettingsHost& host, const settings::ExcludedApp& app, AppMode mode) {
    return changePreferencesAndApply(host, [&](settings::JsonValue& prefs) {
        if (settings::appMode(prefs, app.key) == mode) return false;
        settings::setAppMode(prefs, app.key, app.name, mode, app.path);
        return true;
    });
}

bool removeExcludedApplication(SettingsHost& host, const settings::ExcludedApp& app) {
    return changePreferencesAndApply(host, [&](settings::JsonValue& prefs) {
        settings::setExcluded(prefs, app.key, app.name, false, app.path);
        return true;
    });
}

}  // namespace quillom::ui
