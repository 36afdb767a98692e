// The Dictionary tab: the user's correction pairs and never-correct words in the working rules
// file, the search that filters both lists, and adding and removing entries. What the user
// types is stripped and lower-cased with the system's case mapping; every change saves the
// rules file and reloads the engine, and a removal leaves a tombstone so the entry does not
// come back from the template rules file.
#pragma once

#include "settings/manual_overrides.h"
#include "settings_host.h"

#include <string>
#include <string_view>
#include <vector>

namespace quillom::ui {

// Without leading and trailing space, tab, CR and LF.
std::u16string stripBlanks(std::u16string_view text);

// The rows both lists show for a search text (empty: everything). A pair is kept when its typed
// or its corrected word, lower-cased, contains the lower-cased search text; a never-correct
// word the same way.
struct DictionaryRows {
    std::vector<settings::ExactPairEntry> pairs;
    std::vector<settings::NeverCorrectEntry> neverCorrect;
};
DictionaryRows dictionaryRows(const settings::SettingsStore& store, std::u16string_view search);
// The same in two steps: reading the rules file (slow: it holds the whole rule set), then the
// search over what was read (fast enough for every keystroke in the search field).
DictionaryRows loadDictionaryRows(const settings::SettingsStore& store);
DictionaryRows filterDictionaryRows(const DictionaryRows& all, const settings::SettingsPlatform& platform,
                                    std::u16string_view search);

// Button 1033. Nothing happens when either word is empty after stripping; true when the rules
// file was saved (and the engine reloaded).
bool addDictionaryPair(SettingsHost& host, std::u16string_view typed, std::u16string_view corrected,
                       std::string_view fromLang, std::string_view toLang);
// Button 1042, the same way for one word.
bool addNeverCorrectWord(SettingsHost& host, std::u16string_view word, std::string_view lang);

// Buttons 1034 and 1043 with the record of the selected row.
bool removeDictionaryPair(SettingsHost& host, const settings::ExactPairEntry& pair);
bool removeNeverCorrectWord(SettingsHost& host, const settings::NeverCorrectEntry& entry);

}  // namespace quillom::ui
