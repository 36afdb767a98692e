#include "dictionary_tab.h"

#include "common/utf16.h"

namespace quillom::ui {
namespace {

bool isBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

std::string loweredUtf8(const settings::SettingsStore& store, std::u16string_view text) {
    return toUtf8(store.platform().lowerCase(stripBlanks(text)));
}

}  // namespace

std::u16string stripBlanks(std::u16string_view text) {
    size_t begin = 0, end = text.size();
    while (begin < end && isBlank(text[begin])) ++begin;
    while (end > begin && isBlank(text[end - 1])) --end;
    return std::u16string(text.substr(begin, end - begin));
}

DictionaryRows dictionaryRows(const settings::SettingsStore& store, std::u16string_view search) {
    return filterDictionaryRows(loadDictionaryRows(store), store.platform(), search);
}

DictionaryRows loadDictionaryRows(const settings::SettingsStore& store) {
    settings::JsonValue rules;
    store.loadRules(rules);
    const std::vector<std::string> active = store.activeLanguages();
    return {settings::listExactPairs(rules, active), settings::listNeverCorrect(rules, active)};
}

DictionaryRows filterDictionaryRows(const DictionaryRows& all, const settings::SettingsPlatform& platform,
                                    std::u16string_view search) {
    const std::u16string needle = platform.lowerCase(search);
    if (needle.empty()) return all;
    auto kept = [&](const std::string& word) {
        return platform.lowerCase(toUtf16(word)).find(needle) != std::u16string::npos;
    };
    DictionaryRows rows;
    for (const settings::ExactPairEntry& pair : all.pairs)
        if (kept(pair.typed) || kept(pair.corrected)) rows.pairs.push_back(pair);
    for (const settings::NeverCorrectEntry& entry : all.neverCorrect)
        if (kept(entry.word)) rows.neverCorrect.push_back(entry);
    return rows;
}

bool addDictionaryPair(SettingsHost& host, std::u16string_view typed, std::u16string_view corrected,
                       std::string_view fromLang, std::string_view toLang) {
    settings::SettingsStore& store = host.store();
    const std::string from = loweredUtf8(store, typed), to = loweredUtf8(store, corrected);
    if (from.empty() || to.empty()) return false;
    return changeRulesAndApply(host, [&](settings::JsonValue& rules) {
        return settings::addExactPair(rules, from, to, fromLang, toLang, store.activeLanguages());
    });
}

bool addNeverCorrectWord(SettingsHost& host, std::u16string_view word, std::string_view lang) {
    settings::SettingsStore& store = host.store();
    const std::string text = loweredUtf8(store, word);
    if (text.empty()) return false;
    return changeRulesAndApply(host, [&](settings::JsonValue& rules) {
        return settings::addNeverCorrect(rules, text, lang, store.activeLanguages());
    });
}

bool removeDictionaryPair(SettingsHost& host, const settings::ExactPairEntry& pair) {
    return changeRulesAndApply(host, [&](settings::JsonValue& rules) {
        settings::removeExactPair(rules, pair.typed);
        return true;
    });
}

bool removeNeverCorrectWord(SettingsHost& host, const settings::NeverCorrectEntry& entry) {
    return changeRulesAndApply(host, [&](settings::JsonValue& rules) {
        settings::removeNeverCorrect(rules, entry.word);
        return true;
    });
}

}  // namespace quillom::ui
