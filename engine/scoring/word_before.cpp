#include "scoring/word_before.h"

#include <algorithm>

#include "layout/selection_conversion.h"
#include "layout/token_mapping.h"
#include "scoring/text_chars.h"
#include "scoring/word_evaluation.h"
#include "unicode/unicode.h"

namespace quillom::scoring {

namespace {

// Words of no more than this many characters; a number with its marks may be longer.
constexpr std::size_t kMarkedNumberMaxLength = 12;

bool allLetters(const TextChars& word) {
    for (std::size_t i = 0; i < word.size(); ++i)
        if (!unicode::isLetterChar(word[i])) return false;
    return !word.empty();
}

bool hasLetter(const TextChars& text) {
    for (std::size_t i = 0; i < text.size(); ++i)
        if (unicode::isLetterChar(text[i])) return true;
    return false;
}

bool hasDigit(const TextChars& text) {
    for (std::size_t i = 0; i < text.size(); ++i)
        if (unicode::isNumericChar(text[i])) return true;
    return false;
}

// Quotation marks only: what the quote key gives ("Э" typed on the Russian
// layout is '"' on the US one).
bool onlyQuotes(const TextChars& text) {
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] != "\"" && text[i] != "'") return false;
    return !text.empty();
}

// The previous word read in target, when it is one to correct: a short word
// of target, or a lone quote.
std::optional<std::string> shortWordIn(const LanguageConfig& targetLanguage, std::string_view previous,
                                       const std::string& mapped) {
    if (targetLanguage.isCommonWord(unicode::toLower(mapped)) || onlyQuotes(TextChars(mapped)))
        return layout::preserveCase(previous, mapped);
    return std::nullopt;
}

// The marks of a number: all full stops and commas ("5.", "1,5", "12.05.2020").
bool numberMarks(const TextChars& text) {
    bool any = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (unicode::isNumericChar(text[i])) continue;
        if (text[i] != "." && text[i] != ",") return false;
        any = true;
    }
    return any;
}

// A number whose marks were typed on the wrong layout: "5/" typed on the US
// layout is "5." on the Russian one. Only full stops and commas count, and
// only when the typed marks are none: "5." typed on the Russian layout is
// meant as it stands.
std::optional<std::string> markedNumber(const ScoringContext& context, std::string_view previous,
                                        const std::vector<std::string>& typedSources, const std::string& target) {
    TextChars chars{std::string(previous)};
    if (chars.size() > kMarkedNumberMaxLength || hasLetter(chars) || !hasDigit(chars)) return std::nullopt;
    for (std::size_t i = 0; i < chars.size(); ++i)
        if (chars[i] == "." || chars[i] == ",") return std::nullopt;
    for (const std::string& source : typedSources) {
        if (source == target) continue;
        std::string mapped = layout::mapSelection(context.config.keyboardLayout, previous, {source, target});
        if (mapped != previous && numberMarks(TextChars(mapped))) return mapped;
    }
    return std::nullopt;
}

// A word of source kept because nothing supported its far more frequent
// reading in target, which the corrected word after it now does.
bool twinTakenAlong(const RulesConfig& config, const TextChars& lower, const std::string& source,
                    const std::string& lowerMapped, const LanguageConfig& targetLanguage, const std::string& target,
                    const LanguageVotes* votes) {
    const LanguageConfig* sourceLanguage = config.language(source);
    return sourceLanguage && sourceLanguage->isCommonWord(lower.text()) && targetLanguage.isCommonWord(lowerMapped) &&
           farMoreFrequentReading(config, *sourceLanguage, lower.text(), targetLanguage, lowerMapped) &&
           !votesLeanAwayFrom(config, votes, target);
}

}  // namespace

std::optional<std::string> revisedCorrection(const RulesConfig& config, std::string_view typed,
                                             const std::string& source, const std::string& correctedTo,
                                             const std::string& target) {
    const LanguageConfig* targetLanguage = config.language(target);
    if (!targetLanguage || correctedTo == target || source == target || !config.sameScript(correctedTo, target))
        return std::nullopt;
    const std::string mapped = layout::mapLayout(config.keyboardLayout, typed, {source, target});
    const std::string lowerMapped = unicode::toLower(mapped);
    if (mapped == typed || !targetLanguage->isCommonWord(lowerMapped)) return std::nullopt;
    // мы is not read again as мі because the next word seemed Ukrainian.
    const LanguageConfig* correctedLanguage = config.language(correctedTo);
    const std::string reading =
        unicode::toLower(layout::mapLayout(config.keyboardLayout, typed, {source, correctedTo}));
    if (correctedLanguage && correctedLanguage->isCommonWord(reading) &&
        farMoreFrequentReading(config, *targetLanguage, lowerMapped, *correctedLanguage, reading))
        return std::nullopt;
    return layout::preserveCase(typed, mapped);
}

std::optional<std::string> correctWordBefore(const ScoringContext& context, std::string_view previous,
                                             std::string_view typedWord, const std::string& target,
                                             const LanguageVotes* votes) {
    const RulesConfig& config = context.config;
    const LanguageConfig* targetLanguage = config.language(target);
    if (!targetLanguage) return std::nullopt;
    std::vector<std::string> typedSources =
        detectSourceLanguages(context.index, TextChars(std::string(typedWord)).lowered());
    TextChars word{std::string(previous)};
    if (!allLetters(word)) return markedNumber(context, previous, typedSources, target);
    TextChars lower = word.lowered();
    if (config.manualOverrides.neverCorrect.contains(lower.text())) return std::nullopt;
    for (const std::string& source : detectSourceLanguages(context.index, lower)) {
        if (source == target || std::find(typedSources.begin(), typedSources.end(), source) == typedSources.end())
            continue;
        std::string mapped = layout::mapLayout(config.keyboardLayout, previous, {source, target});
        if (mapped == previous) continue;
        if (word.size() <= kWordBeforeMaxLength) {
            if (auto corrected = shortWordIn(*targetLanguage, previous, mapped)) return corrected;
        } else if (twinTakenAlong(config, lower, source, unicode::toLower(mapped), *targetLanguage, target, votes)) {
            return layout::preserveCase(previous, mapped);
        }
    }
    return std::nullopt;
}

}  // namespace quillom::scoring
