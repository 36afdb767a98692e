#include "scoring_fixture.h"

#include <stdexcept>
#include <vector>

#include "unicode/unicode.h"

namespace quillom::scoring::testing {

namespace {

std::vector<std::string> chars(std::string_view text) {
    std::vector<std::string> out;
    for (std::string_view c : unicode::graphemes(text)) out.emplace_back(c);
    return out;
}

CharMap zipMap(std::string_view keys, std::string_view values) {
    std::vector<std::string> k = chars(keys), v = chars(values);
    if (k.size() != v.size()) throw std::logic_error("map halves differ in length");
    CharMap map;
    for (std::size_t i = 0; i < k.size(); ++i) map[k[i]] = v[i];
    return map;
}

CharMap inverted(const CharMap& map) {
    CharMap out;
    for (const auto& [k, v] : map) out[v] = k;
    return out;
}

CharMap upperValues(const CharMap& map) {
    CharMap out;
    for (const auto& [k, v] : map) out[k] = unicode::isLetterChar(v) ? unicode::upperChar(v) : v;
    return out;
}

CharSet charSet(std::string_view text) {
    CharSet out;
    for (const std::string& c : chars(text)) out.insert(c);
    return out;
}

void addDirection(KeyboardLayoutConfig& layout, const std::string& from, const std::string& to, CharMap lower,
                  CharMap shift) {
    layout.maps[{from, to}] = std::move(lower);
    layout.shiftMaps[{from, to}] = std::move(shift);
}

KeyboardLayoutConfig standardLayouts() {
    const std::string_view enLower = "qwertyuiop[]asdfghjkl;'zxcvbnm,.`";
    const std::string_view enShift = "QWERTYUIOP{}ASDFGHJKL:\"ZXCVBNM<>~";
    const std::string_view ru = "йцукенгшщзхъфывапролджэячсмитьбюё";
    const std::string_view uk = "йцукенгшщзхїфівапролджєячсмитьбю'";
    KeyboardLayoutConfig layout;
    CharMap enRu = zipMap(enLower, ru), enRuShift = upperValues(zipMap(enShift, ru));
    CharMap enUk = zipMap(enLower, uk), enUkShift = upperValues(zipMap(enShift, uk));
    CharMap ruUk = zipMap("ыэъё", "ієї'"), ruUkShift = zipMap("ЫЭЪЁ", "ІЄЇ'");
    addDirection(layout, "en", "ru", enRu, enRuShift);
    addDirection(layout, "ru", "en", inverted(enRu), inverted(enRuShift));
    addDirection(layout, "en", "uk", enUk, enUkShift);
    addDirection(layout, "uk", "en", inverted(enUk), inverted(enUkShift));
    addDirection(layout, "ru", "uk", ruUk, ruUkShift);
    addDirection(layout, "uk", "ru", inverted(ruUk), inverted(ruUkShift));
    return layout;
}

LanguageConfig makeLanguage(std::string script, std::string_view alphabet, std::string_view vowels,
                            std::initializer_list<const char*> common,
                            std::initializer_list<std::pair<const char*, double>> bigrams) {
    LanguageConfig l;
    l.script = std::move(script);
    l.scriptAlphabet = charSet(alphabet);
    l.vowels = charSet(vowels);
    for (const char* w : common) l.commonWords.insert(w);
    for (const auto& [pair, weight] : bigrams) l.bigramLogWeights[pair] = weight;
    return l;
}

}  // namespace

regex::Regex compiled(std::string_view pattern, bool caseInsensitive) {
    auto r = regex::Regex::compile(pattern, caseInsensitive);
    if (!r) throw std::logic_error("test pattern does not compile: " + std::string(pattern));
    return *r;
}

LanguageConfig& lang(RulesConfig& config, const std::string& key) { return config.languages.at(key); }

RulesConfig makeConfig() {
    RulesConfig config;
    config.keyboardLayout = standardLayouts();
    config.activeLanguages = {"en", "ru", "uk"};
    config.tokenization.wordBoundaries = charSet(",.!?;:");
    config.languages["en"] = makeLanguage("latin", "abcdefghijklmnopqrstuvwxyz", "aeiouy",
                                          {"hello", "world", "the", "is", "it", "friend", "a", "ok"},
                                          {{"he", 3.0},
                                           {"el", 2.0},
                                           {"ll", 2.0},
                                           {"lo", 2.0},
                                           {"wo", 2.0},
                                           {"or", 2.0},
                                           {"rl", 1.0},
                                           {"ld", 2.0},
                                           {"th", 3.0},
                                           {"is", 2.0},
                                           {"it", 2.0},
                                           {"fr", 2.0},
                                           {"ri", 2.0},
                                           {"ie", 2.0},
                                           {"en", 2.0},
                                           {"nd", 2.0}});
    config.languages["ru"] = makeLanguage("cyrillic", "абвгдеёжзийклмнопрстуфхцчшщъыьэюя", "аеёиоуыэюя",
                                          {"привет", "мир", "как", "дела", "союз", "стол", "это", "мы", "да", "нет"},
                                          {{"пр", 2.0},
                                           {"ри", 2.0},
                                           {"ив", 2.0},
                                           {"ве", 2.0},
                                           {"ет", 2.0},
                                           {"ми", 2.0},
                                           {"ир", 2.0},
                                           {"ка", 2.0},
                                           {"ак", 2.0},
                                           {"со", 2.0},
                                           {"ою", 1.0},
                                           {"юз", 1.0},
                                           {"ст", 2.0},
                                           {"то", 2.0},
                                           {"ол", 2.0},
                                           {"де", 2.0},
                                           {"ел", 2.0},
                                           {"ла", 2.0},
                                           {"да", 2.0}});
    config.languages["uk"] = makeLanguage("cyrillic", "абвгґдеєжзиіїйклмнопрстуфхцчшщьюя'", "аеєиіїоуюя",
                                          {"привіт", "світ", "як", "так", "стіл"},
                                          {{"пр", 2.0},
                                           {"ри", 2.0},
                                           {"ив", 2.0},
                                           {"ві", 2.0},
                                           {"іт", 2.0},
                                           {"св", 2.0},
                                           {"ст", 2.0},
                                           {"ті", 2.0},
                                           {"іл", 2.0},
                                           {"як", 2.0},
                                           {"та", 2.0},
                                           {"ак", 2.0}});
    return config;
}

RulesDecision decide(const RulesConfig& config, const DirectionCase& c) {
    LanguageIndex index(config);
    TextChars token(c.token);
    TextChars lower = token.lowered();
    WordContext word{token, lower, c.trailing, c.isProtected, c.sessionLanguage};
    return scoreAndDecideForDirection({config, index}, word, {c.from, c.to}, c.priorityIndex);
}

}  // namespace quillom::scoring::testing
