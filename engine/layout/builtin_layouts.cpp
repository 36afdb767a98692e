#include "layout/builtin_layouts.h"

#include <utility>

#include "unicode/unicode.h"

namespace quillom::layout {

namespace {

// US key -> the Ukrainian letter on the same key (the backtick key gives the apostrophe).
CharMap enToUkLower() {
    return {{"q", "й"}, {"w", "ц"}, {"e", "у"}, {"r", "к"}, {"t", "е"}, {"y", "н"}, {"u", "г"}, {"i", "ш"}, {"o", "щ"},
            {"p", "з"}, {"[", "х"}, {"]", "ї"}, {"a", "ф"}, {"s", "і"}, {"d", "в"}, {"f", "а"}, {"g", "п"}, {"h", "р"},
            {"j", "о"}, {"k", "л"}, {"l", "д"}, {";", "ж"}, {"'", "є"}, {"z", "я"}, {"x", "ч"}, {"c", "с"}, {"v", "м"},
            {"b", "и"}, {"n", "т"}, {"m", "ь"}, {",", "б"}, {".", "ю"}, {"`", "'"}};
}

CharMap ruToUkLower() { return {{"ы", "і"}, {"э", "є"}, {"ъ", "ї"}, {"ё", "'"}}; }
CharMap ukToRuLower() { return {{"і", "ы"}, {"є", "э"}, {"ї", "ъ"}, {"'", "ё"}}; }

const CharMap& qwertyShiftedPunctuation() {
    static const CharMap m{{",", "<"}, {".", ">"}, {";", ":"},  {"'", "\""}, {"[", "{"}, {"]", "}"},
                           {"`", "~"}, {"/", "?"}, {"\\", "|"}, {"-", "_"},  {"=", "+"}};
    return m;
}

CharMap inverted(const CharMap& m) {
    CharMap out;
    for (const auto& [k, v] : m) out[v] = k;
    return out;
}

std::string upperIfLetter(const std::string& c) { return unicode::isLetterChar(c) ? unicode::upperChar(c) : c; }

CharMap enToUkShift(const CharMap& lower) {
    CharMap out;
    const CharMap& shifted = qwertyShiftedPunctuation();
    for (const auto& [k, v] : lower) {
        auto p = shifted.find(k);
        out[p != shifted.end() ? p->second : unicode::upperChar(k)] = upperIfLetter(v);
    }
    return out;
}

struct Tables {
    CharMap enToUk = enToUkLower();
    CharMap ukToEn = inverted(enToUk);
    CharMap enToUkShiftMap = enToUkShift(enToUk);
    CharMap ukToEnShiftMap = inverted(enToUkShiftMap);
    CharMap ruToUk = ruToUkLower();
    CharMap ukToRu = ukToRuLower();
    CharMap ruToUkShift = uppercasedLayoutMap(ruToUk);
    CharMap ukToRuShift = uppercasedLayoutMap(ukToRu);
};

}  // namespace

CharMap uppercasedLayoutMap(const CharMap& lower) {
    CharMap out;
    for (const auto& [k, v] : lower) out[unicode::upperChar(k)] = upperIfLetter(v);
    return out;
}

const std::vector<BuiltinDirection>& builtinDirections() {
    static const Tables t;
    static const std::vector<BuiltinDirection> directions{
        {{"en", "uk"}, &t.enToUk, &t.enToUkShiftMap},
        {{"uk", "en"}, &t.ukToEn, &t.ukToEnShiftMap},
        {{"ru", "uk"}, &t.ruToUk, &t.ruToUkShift},
        {{"uk", "ru"}, &t.ukToRu, &t.ukToRuShift},
    };
    return directions;
}

}  // namespace quillom::layout
