#include "manual_overrides.h"

#include <algorithm>
#include <set>

namespace quillom::settings {
namespace {

using namespace overrides;

// Lead bytes of most Cyrillic letters in UTF-8, anywhere but the last byte.
bool looksCyrillic(std::string_view word) {
    for (size_t i = 0; i + 1 < word.size(); ++i) {
        const auto b = static_cast<unsigned char>(word[i]);
        if (b == 0xD0 || b == 0xD1) return true;
    }
    return false;
}

JsonValue& objectMember(JsonValue& parent, std::string_view name) {
    JsonValue& v = member(parent, name);
    if (!v.isObject()) v = JsonValue::makeObject();
    return v;
}

JsonValue& arrayMember(JsonValue& parent, std::string_view name) {
    JsonValue& v = member(parent, name);
    if (!v.isArray()) v = JsonValue::makeArray();
    return v;
}

bool isString(const JsonValue& v, std::string_view text) { return v.isString() && v.asString() == text; }

bool hasString(const JsonValue& array, std::string_view text) {
    return std::any_of(array.items().begin(), array.items().end(),
                       [&](const JsonValue& v) { return isString(v, text); });
}

// The String elements of parent[name] when it is an array.
std::set<std::string, std::less<>> stringSet(const JsonValue* parent, std::string_view name) {
    std::set<std::string, std::less<>> result;
    const JsonValue* list = parent ? find(*parent, name) : nullptr;
    if (list && list->isArray())
        for (const JsonValue& v : list->items())
            if (v.isString()) result.insert(v.asString());
    return result;
}

const JsonValue* existingOverrides(const JsonValue& rules) {
    const JsonValue* mo = find(rules, kManualOverrides);
    return mo && mo->isObject() ? mo : nullptr;
}

// A member of the overrides object; null when either is absent.
const JsonValue* overridesMember(const JsonValue& rules, std::string_view name) {
    const JsonValue* mo = existingOverrides(rules);
    return mo ? find(*mo, name) : nullptr;
}

void mergeObject(JsonValue& result, const JsonValue* templateOverrides, std::string_view name,
                 const std::set<std::string, std::less<>>& tombstones) {
    JsonValue& target = objectMember(result, name);
    std::erase_if(target.members(), [&](const JsonMember& m) { return tombstones.count(m.key) > 0; });
    const JsonValue* source = templateOverrides ? find(*templateOverrides, name) : nullptr;
    if (!source || !source->isObject()) return;
    for (const JsonMember& m : source->members())
        if (!find(target, m.key) && !tombstones.count(m.key)) target.members().push_back(m);
}

void mergeNeverCorrect(JsonValue& result, const JsonValue* templateOverrides,
                       const std::set<std::string, std::less<>>& tombstones) {
    JsonValue& words = arrayMember(result, NeverCorrect);
    std::erase_if(words.items(),
                  [&](const JsonValue& v) { return v.isString() && tombstones.count(v.asString()) > 0; });
    const JsonValue* source = templateOverrides ? find(*templateOverrides, NeverCorrect) : nullptr;
    if (!source || !source->isArray()) return;
    for (const JsonValue& v : source->items())
        if (v.isString() && !tombstones.count(v.asString()) && !hasString(words, v.asString()))
            words.items().push_back(v);
}

}  // namespace

std::string guessLanguage(std::string_view word, std::span<const std::string> activeLanguages) {
    if (word.size() < 2 || !looksCyrillic(word)) return "en";
    for (const std::string& code : activeLanguages)
        if (code == "uk" || code == "ru") return code;
    return "ru";
}

JsonValue& manualOverrides(JsonValue& rules) {
    if (!rules.isObject()) rules = JsonValue::makeObject();
    return objectMember(rules, kManualOverrides);
}

void setTombstone(JsonValue& overridesObject, std::string_view listName, std::string_view word, bool present) {
    auto& items = arrayMember(overridesObject, listName).items();
    const auto it = std::find_if(items.begin(), items.end(), [&](const JsonValue& v) { return isString(v, word); });
    if (!present && it != items.end()) items.erase(it);
    if (present && it == items.end()) items.emplace_back(word);
}

bool addExactPair(JsonValue& rules, std::string_view typed, std::string_view corrected, std::string_view fromLang,
                  std::string_view toLang, std::span<const std::string> activeLanguages) {
    if (typed.empty() || corrected.empty()) return false;
    JsonValue& mo = manualOverrides(rules);
    member(objectMember(mo, ExactPairs), typed) = corrected;
    setTombstone(mo, DeletedExactPairs, typed, false);
    JsonValue meta = JsonValue::makeObject();
    member(meta, "src") = !fromLang.empty() ? std::string(fromLang) : looksCyrillic(typed) ? "ru" : "en";
    member(meta, "dst") = !toLang.empty() ? std::string(toLang) : guessLanguage(corrected, activeLanguages);
    member(objectMember(mo, ExactPairsMeta), typed) = std::move(meta);
    return true;
}

bool addLearnedPair(JsonValue& rules, std::string_view typed, std::string_view corrected, std::string_view toLang,
                    std::span<const std::string> activeLanguages) {
    const std::string to = !toLang.empty() ? std::string(toLang) : guessLanguage(corrected, activeLanguages);
    return addExactPair(rules, typed, corrected, guessLanguage(typed, activeLanguages), to, activeLanguages);
}

void removeExactPair(JsonValue& rules, std::string_view typed) {
    JsonValue* mo = find(rules, kManualOverrides);
    if (!mo) return;
    // A hand-edited file may name a word twice; a removal that left a copy would show it again.
    for (std::string_view list : {ExactPairs, ExactPairsMeta})
        if (JsonValue* members = find(*mo, list); members && members->isObject())
            std::erase_if(members->members(), [&](const JsonMember& m) { return m.key == typed; });
    setTombstone(*mo, DeletedExactPairs, typed, true);
}

bool addNeverCorrect(JsonValue& rules, std::string_view word, std::string_view lang,
                     std::span<const std::string> activeLanguages) {
    if (word.empty()) return false;
    JsonValue& mo = manualOverrides(rules);
    JsonValue& words = arrayMember(mo, NeverCorrect);
    if (!hasString(words, word)) words.items().emplace_back(word);
    setTombstone(mo, DeletedNeverCorrect, word, false);
    member(objectMember(mo, NeverCorrectMeta), word) =
        !lang.empty() ? std::string(lang) : guessLanguage(word, activeLanguages);
    return true;
}

void removeNeverCorrect(JsonValue& rules, std::string_view word) {
    JsonValue* mo = find(rules, kManualOverrides);
    if (!mo) return;
    if (JsonValue* words = find(*mo, NeverCorrect); words && words->isArray())
        std::erase_if(words->items(), [&](const JsonValue& v) { return isString(v, word); });
    if (JsonValue* meta = find(*mo, NeverCorrectMeta); meta && meta->isObject())
        std::erase_if(meta->members(), [&](const JsonMember& m) { return m.key == word; });
    setTombstone(*mo, DeletedNeverCorrect, word, true);
}

std::vector<ExactPairEntry> listExactPairs(const JsonValue& rules, std::span<const std::string> activeLanguages) {
    std::vector<ExactPairEntry> list;
    const JsonValue* pairs = overridesMember(rules, ExactPairs);
    if (!pairs || !pairs->isObject()) return list;
    const JsonValue* metaAll = overridesMember(rules, ExactPairsMeta);
    for (const JsonMember& m : pairs->members()) {
        if (!m.value.isString()) continue;
        ExactPairEntry e{guessLanguage(m.key, activeLanguages), m.key,
                         guessLanguage(m.value.asString(), activeLanguages), m.value.asString()};
        if (const JsonValue* meta = metaAll ? find(*metaAll, m.key) : nullptr; meta && meta->isObject()) {
            if (const JsonValue* src = find(*meta, "src"); src && src->isString()) e.src = src->asString();
            if (const JsonValue* dst = find(*meta, "dst"); dst && dst->isString()) e.dst = dst->asString();
        }
        list.push_back(std::move(e));
    }
    std::stable_sort(list.begin(), list.end(),
                     [](const ExactPairEntry& a, const ExactPairEntry& b) { return a.src < b.src; });
    return list;
}

std::vector<NeverCorrectEntry> listNeverCorrect(const JsonValue& rules, std::span<const std::string> activeLanguages) {
    std::vector<NeverCorrectEntry> list;
    const JsonValue* words = overridesMember(rules, NeverCorrect);
    if (!words || !words->isArray()) return list;
    const JsonValue* metaAll = overridesMember(rules, NeverCorrectMeta);
    for (const JsonValue& w : words->items()) {
        if (!w.isString()) continue;
        const JsonValue* lang = metaAll ? find(*metaAll, w.asString()) : nullptr;
        list.push_back(
            {lang && lang->isString() ? lang->asString() : guessLanguage(w.asString(), activeLanguages), w.asString()});
    }
    std::stable_sort(list.begin(), list.end(),
                     [](const NeverCorrectEntry& a, const NeverCorrectEntry& b) { return a.lang < b.lang; });
    return list;
}

JsonValue mergeManualOverrides(const JsonValue* templateOverrides, const JsonValue* userOverrides) {
    if (templateOverrides && !templateOverrides->isObject()) templateOverrides = nullptr;
    if (userOverrides && !userOverrides->isObject()) userOverrides = nullptr;
    JsonValue result = userOverrides ? *userOverrides : JsonValue::makeObject();
    const auto deletedPairs = stringSet(userOverrides, DeletedExactPairs);
    const auto deletedWords = stringSet(userOverrides, DeletedNeverCorrect);
    mergeObject(result, templateOverrides, ExactPairs, deletedPairs);
    mergeObject(result, templateOverrides, ExactPairsMeta, deletedPairs);
    mergeObject(result, templateOverrides, NeverCorrectMeta, deletedWords);
    mergeNeverCorrect(result, templateOverrides, deletedWords);
    return result;
}

}  // namespace quillom::settings
