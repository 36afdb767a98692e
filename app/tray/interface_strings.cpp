#include "interface_strings.h"

#include "string_tables.h"

#include <atomic>
#include <vector>

namespace quillom::tray {
namespace {

enum class Language { English, Ukrainian, Russian };

// Set at start-up and by the settings window; read from any thread.
std::atomic<Language> currentLanguage{Language::English};

Language languageOf(std::string_view code) {
    if (code == "uk") return Language::Ukrainian;
    if (code == "ru") return Language::Russian;
    return Language::English;
}

// Indexed by id; an empty text is a missing one.
using StringTable = std::vector<std::u16string>;

StringTable build(std::span<const StringEntry> entries) {
    StringTable table;
    for (const StringEntry& e : entries) {
        const int id = int(e.id);
        if (id < 0) continue;
        if (static_cast<size_t>(id) >= table.size()) table.resize(static_cast<size_t>(id) + 1);
        table[static_cast<size_t>(id)] = e.text;
    }
    return table;
}

// Built on first use; function-local statics initialise once even across threads.
const StringTable& tableOf(Language language) {
    static const StringTable english = build(englishEntries());
    static const StringTable ukrainian = build(ukrainianEntries());
    static const StringTable russian = build(russianEntries());
    switch (language) {
    case Language::Ukrainian: return ukrainian;
    case Language::Russian: return russian;
    case Language::English: break;
    }
    return english;
}

const std::u16string* lookup(const StringTable& table, TextId textId) {
    const int id = int(textId);
    if (id < 0 || static_cast<size_t>(id) >= table.size() || table[static_cast<size_t>(id)].empty()) return nullptr;
    return &table[static_cast<size_t>(id)];
}

const std::u16string& resolve(Language language, TextId id) {
    static const std::u16string empty;
    if (const std::u16string* s = lookup(tableOf(language), id)) return *s;
    if (const std::u16string* s = lookup(tableOf(Language::English), id)) return *s;
    return empty;
}

}  // namespace

void setInterfaceLanguage(std::string_view code) { currentLanguage = languageOf(code); }

std::string_view interfaceLanguage() {
    switch (currentLanguage.load()) {
    case Language::Ukrainian: return "uk";
    case Language::Russian: return "ru";
    case Language::English: break;
    }
    return "en";
}

const std::u16string& text(TextId id) { return resolve(currentLanguage.load(), id); }

const std::u16string& textIn(std::string_view code, TextId id) { return resolve(languageOf(code), id); }

std::u16string formatWithArgument(std::u16string_view text, std::u16string_view argument) {
    std::u16string result(text);
    const size_t at = text.size() >= 2 ? text.find(u"%s") : std::u16string_view::npos;
    if (at != std::u16string_view::npos) result.replace(at, 2, argument);
    return result;
}

std::u16string formattedText(TextId id, std::u16string_view argument) { return formatWithArgument(text(id), argument); }

const std::u16string& appModeText(AppMode mode) {
    switch (mode) {
    case AppMode::Automatic: break;
    case AppMode::HotkeysOnly: return text(TextId::AppModeHotkeysOnly);
    case AppMode::Off: return text(TextId::AppModeOff);
    }
    return text(TextId::AppModeAutomatic);
}

std::u16string withoutAccessKey(std::u16string_view menuText) {
    std::u16string out;
    for (size_t i = 0; i < menuText.size(); ++i) {
        if (menuText[i] == u'&' && i + 1 < menuText.size()) ++i;
        out += menuText[i];
    }
    return out;
}

}  // namespace quillom::tray
