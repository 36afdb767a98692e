#include "language_picker.h"

#include "common/utf16.h"

#include <algorithm>

namespace quillom::ui {

std::u16string languageDisplayName(std::string_view code) {
    if (code == "en") return u"English";
    if (code == "uk") return u"Українська";
    if (code == "ru") return u"Русский";
    return toUtf16(code);
}

namespace {

int numberOf(std::string_view code) {
    if (code == "en") return 1;
    if (code == "uk") return 2;
    if (code == "ru") return 3;
    return 0;
}

}  // namespace

LanguagePicker languagePicker(std::span<const std::string> activeLanguages, std::string_view preselect) {
    LanguagePicker picker;
    picker.codes.assign(activeLanguages.begin(), activeLanguages.end());
    if (std::find(picker.codes.begin(), picker.codes.end(), preselect) == picker.codes.end())
        picker.codes.emplace_back(preselect);
    for (const std::string& code : picker.codes) {
        picker.numbers.push_back(numberOf(code));
        if (picker.selected < 0 && code == preselect) picker.selected = int(picker.numbers.size()) - 1;
    }
    return picker;
}

std::string pickerLanguage(int number) {
    if (number == 2) return "uk";
    if (number == 3) return "ru";
    return "en";
}

std::string firstCyrillicLanguage(std::span<const std::string> activeLanguages) {
    for (const std::string& code : activeLanguages)
        if (code == "uk" || code == "ru") return code;
    return "ru";
}

}  // namespace quillom::ui
