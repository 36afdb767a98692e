#include "config/language_decoder.h"

#include <algorithm>

#include "config/builtin_languages.h"
#include "config/json_fields.h"
#include "unicode/unicode.h"

namespace quillom {

namespace {

using Kind = json::Value::Kind;

CharSet charactersOf(std::string_view text) {
    CharSet out;
    for (std::string_view c : unicode::graphemes(text)) out.emplace(c);
    return out;
}

WordSet wordSet(const json::Value* array) {
    WordSet out;
    if (!array) return out;
    std::vector<std::string_view> words;
    words.reserve(array->asArray().size());
    for (const auto& v : array->asArray())
        if (v.isString()) words.push_back(v.asString());
    out.insertAll(words);
    return out;
}

std::vector<std::string> stringList(const json::Value& object, std::string_view key) {
    const json::Value* a = json::findArray(object, key);
    return a ? fields::strings(*a) : std::vector<std::string>{};
}

std::vector<regex::Regex> compileAll(const std::vector<std::string>& patterns) {
    std::vector<regex::Regex> out;
    for (const auto& p : patterns)
        if (auto r = regex::Regex::compile(p)) out.push_back(std::move(*r));
    return out;
}

// An empty or missing array falls back to the built-in patterns of the key.
std::vector<regex::Regex> patterns(const json::Value& object, std::string_view key,
                                   const std::vector<std::string_view>& builtin) {
    const json::Value* a = json::findArray(object, key);
    if (a && !a->asArray().empty()) return compileAll(fields::strings(*a));
    return compileAll(std::vector<std::string>(builtin.begin(), builtin.end()));
}

std::vector<std::pair<std::string, double>> suffixBoosts(const json::Value& object) {
    std::vector<std::pair<std::string, double>> out;
    const json::Value* o = fields::memberOfKind(object, "common_suffix_boosts", "commonSuffixBoosts", Kind::Object);
    if (!o) return out;
    for (const auto& [suffix, v] : o->asObject())
        if (v.isNumber()) out.emplace_back(unicode::toLower(suffix), v.asNumber());
    std::stable_sort(out.begin(), out.end(), [](const auto& a, const auto& b) {
        return unicode::graphemeCount(a.first) > unicode::graphemeCount(b.first);
    });
    return out;
}

WordSet microDictionary(const std::string& key, const json::Value& object) {
    if (const json::Value* a = fields::memberOfKind(object, "micro_dictionary", "microDictionary", Kind::Array))
        return wordSet(a);
    WordSet out;
    for (std::string_view w : builtin::microDictionary(key)) out.insert(w);
    return out;
}

StringMap<double> bigramWeights(const std::string& key, const json::Value& object) {
    StringMap<double> out;
    if (const json::Value* o = fields::memberOfKind(object, "bigram_log_weights", "bigramLogWeights", Kind::Object)) {
        out.reserve(o->asObject().size());
        for (const auto& [pair, v] : o->asObject())
            if (v.isNumber()) out[pair] = v.asNumber();
        return out;
    }
    for (const auto& [pair, weight] : builtin::bigramLogWeights(key)) out.emplace(pair, weight);
    return out;
}

}  // namespace

LanguageConfig parseLanguage(const std::string& key, const json::Value& object) {
    LanguageConfig lang;
    lang.script = json::findString(object, "script").value_or("");
    const json::Value* alphabet = fields::memberOfKind(object, "script_alphabet", "scriptAlphabet", Kind::String);
    lang.scriptAlphabet =
        charactersOf(alphabet ? unicode::toLower(alphabet->asString()) : std::string(builtin::scriptAlphabet(key)));
    if (const json::Value* v = json::findArray(object, "vowels")) lang.vowels = fields::characterSet(*v);
    if (lang.vowels.empty())
        for (std::string_view v : builtin::vowels(key)) lang.vowels.emplace(v);
    lang.commonWords = wordSet(json::findArray(object, "common_words"));
    lang.phraseStartWords = wordSet(json::findArray(object, "phrase_start_words"));
    lang.strongWordStarts = stringList(object, "strong_word_starts");
    lang.weakWordStarts = stringList(object, "weak_word_starts");
    lang.strongWordEnds = stringList(object, "strong_word_ends");
    lang.weakWordEnds = stringList(object, "weak_word_ends");
    lang.strongBigrams = wordSet(json::findArray(object, "strong_bigrams"));
    lang.strongTrigrams = wordSet(json::findArray(object, "strong_trigrams"));
    lang.impossiblePatterns = patterns(object, "impossible_patterns", builtin::impossiblePatterns(key));
    lang.rarePatterns = patterns(object, "rare_patterns", builtin::rarePatterns(key));
    lang.commonSuffixBoosts = suffixBoosts(object);
    lang.microDictionary = microDictionary(key, object);
    lang.technicalWords = wordSet(json::findArray(object, "technical_words"));
    lang.abbreviations = wordSet(json::findArray(object, "abbreviations"));
    for (std::string_view w : lang.microDictionary)
        if (unicode::graphemeCount(w) >= 4) lang.microDictionaryPrefixes.emplace_back(w);
    std::sort(lang.microDictionaryPrefixes.begin(), lang.microDictionaryPrefixes.end());
    lang.bigramLogWeights = bigramWeights(key, object);
    lang.unknownBigramWeight = fields::numberOr(object, "unknown_bigram_weight", -1.5, "unknownBigramWeight");
    lang.ngramScoringScale = fields::numberOr(object, "ngram_scoring_scale", 20.0, "ngramScoringScale");
    return lang;
}

}  // namespace quillom
