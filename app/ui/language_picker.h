// Language names and the language drop-down lists of the settings window.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quillom::ui {

// "English", "Українська", "Русский"; any other code is shown as itself.
std::u16string languageDisplayName(std::string_view code);

// A picker's entries: the active languages ("en" first) and, when the code to preselect is not
// among them, that code too. Each entry carries a number: 1 "en", 2 "uk", 3 "ru", 0 others.
struct LanguagePicker {
    std::vector<std::string> codes;
    std::vector<int> numbers;
    int selected = -1;
};
LanguagePicker languagePicker(std::span<const std::string> activeLanguages, std::string_view preselect);

// What a picker reads as: "uk" for 2, "ru" for 3, "en" for anything else (no selection too).
std::string pickerLanguage(int number);

// The first of "uk" and "ru" among the active languages, else "ru".
std::string firstCyrillicLanguage(std::span<const std::string> activeLanguages);

}  // namespace quillom::ui
