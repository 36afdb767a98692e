#include "scoring/read/capitals.h"

#include "unicode/unicode.h"

namespace quillom::scoring {

bool allCapitals(const TextChars& token) {
    std::size_t letters = 0;
    for (std::size_t i = 0; i < token.size(); ++i) {
        if (!unicode::isLetterChar(token[i])) continue;
        if (!unicode::isUpperChar(token[i])) return false;
        ++letters;
    }
    return letters >= 2;
}

bool letterBeginsNoWord(std::string_view letter) {
    return letter == "ь" || letter == "ъ" || letter == "ы" || letter == "Ь" || letter == "Ъ" || letter == "Ы";
}

bool capitalsOfNoAcronym(const TextChars& token) {
    if (token.size() > kAcronymMaxLetters || !allLetters(token) || !allCapitals(token)) return false;
    for (std::size_t i = 0; i < token.size(); ++i)
        if (letterBeginsNoWord(token[i])) return true;
    return false;
}

bool abbreviationOfScript(const RulesConfig& config, const std::string& language, std::string_view word) {
    const LanguageConfig* own = config.language(language);
    if (!own) return false;
    if (own->abbreviations.contains(word)) return true;
    for (const std::string& key : config.activeLanguages) {
        const LanguageConfig* other = config.language(key);
        if (other && other != own && other->script == own->script && other->abbreviations.contains(word)) return true;
    }
    return false;
}

bool readsAsAbbreviation(const LanguageConfig* source, std::string_view typed, const LanguageConfig& target,
                         std::string_view reading) {
    if (!target.abbreviations.contains(reading)) return false;
    const auto readingOrder = target.frequencyOrder(reading);
    if (!readingOrder || *readingOrder == LanguageConfig::kUnrankedOrder) return false;
    const auto typedOrder = source ? source->frequencyOrder(typed) : std::nullopt;
    return !typedOrder || *typedOrder > *readingOrder;
}

bool frequentWord(const LanguageConfig& language, std::string_view reading, int64_t maxBand) {
    const auto band = language.rankBand(reading);
    return band && *band != PackedLexicon::kUnranked && static_cast<int64_t>(*band) <= maxBand;
}

}  // namespace quillom::scoring
