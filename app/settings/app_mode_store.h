// The application modes in the user preferences: an application's entry in
// excluded_apps turns automatic correction off there (the engine reads the
// same entries), and its disable_manual_switching flag turns the hotkeys off
// too. A file written before the modes existed keeps its meaning: its
// entries, all with the flag false, read as hotkeys only.
#pragma once

#include <string_view>

#include "common/app_mode.h"
#include "json.h"

namespace quillom::settings {

// The mode an entry of excluded_apps stands for.
AppMode modeOfEntry(const JsonValue& entry);

// Keys are compared ignoring ASCII case.
AppMode appMode(const JsonValue& prefs, std::string_view appKey);

// Automatic removes the entry. Otherwise an existing entry keeps its name,
// path and place and only its flag changes; a new one is appended with the
// name and path given. An empty key changes nothing.
void setAppMode(JsonValue& prefs, std::string_view appKey, std::string_view name, AppMode mode, std::string_view path);

}  // namespace quillom::settings
