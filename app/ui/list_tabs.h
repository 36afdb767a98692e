// The Languages tab (order of the active languages, English always first) and the Excluded
// Apps tab (applications without automatic correction). Each change saves the preferences
// and reloads the engine; the lists are always refilled from the file afterwards.
#pragma once

#include "settings/preferences.h"
#include "settings_host.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quillom::ui {

// One row of the languages list: the active languages in order, then "en", "uk", "ru" that are
// not active (their layout is not installed), which cannot be moved.
struct LanguageRow {
    std::string code;
    bool active = true;
};
std::vector<LanguageRow> languageRows(std::span<const std::string> activeLanguages);
// The display name, with " — layout not installed" for an inactive row.
std::u16string languageRowText(const LanguageRow& row);

// The order after moving row by delta (-1 up, +1 down), or nothing when the move is not
// allowed: no such row, English, a row of an inactive language, or a target that is English or
// past the last active language.
std::optional<std::vector<std::string>> movedLanguages(std::span<const std::string> activeLanguages, int row,
                                                       int delta);

// Runs the start-up reconciliation with the installed layouts first (applying a change it
// saved) and returns the rows to show.
std::vector<LanguageRow> refreshLanguageRows(SettingsHost& host);

// Move Up / Move Down: the code of the moved language when the new order was saved.
std::optional<std::string> moveLanguage(SettingsHost& host, int row, int delta);

// An application the user picked in the open-file dialog.
struct ChosenApplication {
    std::u16string path;       // full path
    std::u16string shellName;  // the shell's display name; may be empty
};

// The full paths in an open-file dialog's multi-selection result: one full path, or the folder
// followed by file names, each part ending in a NUL and the whole in two.
std::vector<std::u16string> chosenPaths(std::u16string_view dialogResult);

// The entry an application is excluded under: key = its file name lower-cased; name = the
// shell's display name without a trailing ".exe" (any case), or else the lower-cased file name
// without its last extension.
settings::ExcludedApp excludedEntryFor(const ChosenApplication& app, const settings::SettingsPlatform& platform);

// Add Application…: every chosen application is excluded (one entry per key, the newer one
// replacing an older); true when saved.
bool addExcludedApplications(SettingsHost& host, std::span<const ChosenApplication> apps);
// Remove: true when saved.
bool removeExcludedApplication(SettingsHost& host, const settings::ExcludedApp& app);
// The mode list under the applications: Automatic takes the application off the list; true
// when saved.
bool setExcludedAppMode(SettingsHost& host, const settings::ExcludedApp& app, AppMode mode);

}  // namespace quillom::ui
