// The user's own dictionary inside the working rules file (member "manual_overrides"):
// correction pairs, never-correct words, a language record for each, and tombstone lists
// that keep deleted entries from coming back from a newer template rules file.
// Every function works on a rules tree loaded with SettingsStore::loadRules and does not save;
// the caller saves with saveRules and then reloads the engine. Words are stored and compared
// byte for byte as given (UTF-8); callers lower-case them.
#pragma once

#include "json.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quillom::settings {

inline constexpr std::string_view kManualOverrides = "manual_overrides";

namespace overrides {
inline constexpr std::string_view ExactPairs = "exact_pairs";
inline constexpr std::string_view ExactPairsMeta = "exact_pairs_meta";
inline constexpr std::string_view DeletedExactPairs = "deleted_exact_pairs";
inline constexpr std::string_view NeverCorrect = "never_correct";
inline constexpr std::string_view NeverCorrectMeta = "never_correct_meta";
inline constexpr std::string_view DeletedNeverCorrect = "deleted_never_correct";
}  // namespace overrides

// "en" for Latin (or words under 2 bytes); for Cyrillic the first of "uk"/"ru" in the active
// languages, else "ru".
std::string guessLanguage(std::string_view word, std::span<const std::string> activeLanguages);

// The root made an object if needed, then its manual_overrides made an object if needed.
JsonValue& manualOverrides(JsonValue& rules);

// Empty languages are guessed. False (nothing changed) when either word is empty.
bool addExactPair(JsonValue& rules, std::string_view typed, std::string_view corrected, std::string_view fromLang,
                  std::string_view toLang, std::span<const std::string> activeLanguages);
bool addLearnedPair(JsonValue& rules, std::string_view typed, std::string_view corrected, std::string_view toLang,
                    std::span<const std::string> activeLanguages);
void removeExactPair(JsonValue& rules, std::string_view typed);

// True also when the word was listed already (its language record is then updated).
bool addNeverCorrect(JsonValue& rules, std::string_view word, std::string_view lang,
                     std::span<const std::string> activeLanguages);
void removeNeverCorrect(JsonValue& rules, std::string_view word);

// Adds word to (present) or removes its first copy from (not present) the array listName.
void setTombstone(JsonValue& overrides, std::string_view listName, std::string_view word, bool present);

struct ExactPairEntry {
    std::string src, typed, dst, corrected;
    friend bool operator==(const ExactPairEntry&, const ExactPairEntry&) = default;
};
struct NeverCorrectEntry {
    std::string lang, word;
    friend bool operator==(const NeverCorrectEntry&, const NeverCorrectEntry&) = default;
};

// Sorted by language code; order within one language is stored order.
std::vector<ExactPairEntry> listExactPairs(const JsonValue& rules, std::span<const std::string> activeLanguages);
std::vector<NeverCorrectEntry> listNeverCorrect(const JsonValue& rules, std::span<const std::string> activeLanguages);

// The user's object with the template's entries added that the user neither has nor
// deleted; the user's values win. Either argument may be null or not an object.
JsonValue mergeManualOverrides(const JsonValue* templateOverrides, const JsonValue* userOverrides);

}  // namespace quillom::settings
