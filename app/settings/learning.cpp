#include "learning.h"

#include "manual_overrides.h"
#include "preferences.h"
#include "common/utf16.h"

#include <string>
#include <vector>

namespace quillom::settings {
namespace {

bool isSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

std::vector<std::u16string> splitWords(std::u16string_view text) {
    std::vector<std::u16string> words;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && isSpace(text[i])) ++i;
        const size_t start = i;
        while (i < text.size() && !isSpace(text[i])) ++i;
        if (i > start) words.emplace_back(text.substr(start, i - start));
    }
    return words;
}

std::u16string_view trimSpaces(std::u16string_view s) {
    while (!s.empty() && isSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && isSpace(s.back())) s.remove_suffix(1);
    return s;
}

// The word without leading and trailing non-alphanumerics, lower-cased, as UTF-8.
std::string learnedForm(const SettingsPlatform& platform, std::u16string_view word) {
    while (!word.empty() && !platform.isLetterOrDigit(word.front())) word.remove_prefix(1);
    while (!word.empty() && !platform.isLetterOrDigit(word.back())) word.remove_suffix(1);
    return toUtf8(platform.lowerCase(word));
}

bool learningEnabled(const SettingsStore& store) { return learningMode(store.preferences()); }

bool changeRulesAndReload(SettingsStore& store, const ReloadEngine& reloadEngine, const SettingsStore::Change& change) {
    if (!store.updateRules(change)) return false;
    if (reloadEngine) reloadEngine();
    return true;
}

}  // namespace

bool learnFromConversion(SettingsStore& store, std::string_view source, std::string_view converted,
                         std::string_view lang, const ReloadEngine& reloadEngine) {
    if (!learningEnabled(store)) return false;
    const SettingsPlatform& platform = store.platform();
    const std::u16string source16 = toUtf16(source), converted16 = toUtf16(converted);
    const std::vector<std::u16string> from = splitWords(source16), to = splitWords(converted16);
    return changeRulesAndReload(store, reloadEngine, [&](JsonValue& rules) {
        const std::vector<std::string> active = store.activeLanguages();
        bool added = false;
        if (!from.empty() && from.size() == to.size()) {
            for (size_t i = 0; i < from.size(); ++i) {
                const std::string typed = learnedForm(platform, from[i]);
                const std::string corrected = learnedForm(platform, to[i]);
                if (!typed.empty() && !corrected.empty() && typed != corrected)
                    added = addLearnedPair(rules, typed, corrected, lang, active) || added;
            }
        } else if (!trimSpaces(source16).empty()) {
            added = addLearnedPair(rules, toUtf8(platform.lowerCase(source16)), toUtf8(platform.lowerCase(converted16)),
                                   lang, active);
        }
        return added;
    });
}

bool learnFromUndo(SettingsStore& store, std::string_view restored, const ReloadEngine& reloadEngine) {
    if (!learningEnabled(store)) return false;
    const SettingsPlatform& platform = store.platform();
    // Undo may put back several words at once, when words before the corrected one went
    // with it: the last is the word whose correction made the step, and the one learned.
    const std::vector<std::u16string> words = splitWords(toUtf16(restored));
    if (words.empty()) return false;
    const std::string word = toUtf8(platform.lowerCase(words.back()));
    return changeRulesAndReload(store, reloadEngine, [&](JsonValue& rules) {
        return addNeverCorrect(rules, word, "", store.activeLanguages());
    });
}

}  // namespace quillom::settings
