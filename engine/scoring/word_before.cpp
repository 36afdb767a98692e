#include "scoring/word_before.h"

#include <algorithm>

#include "layout/token_mapping.h"
#include "scoring/text_chars.h"
#include "scoring/word_evaluation.h"
#include "unicode/unicode.h"

namespace quillom::scoring {

namespace {

bool allLetters(const TextChars& word) {
    for (std::size_t i = 0; i < word.size(); ++i)
        if (!unicode::isLetterChar(word[i])) return false;
    return !word.empty();
}

}  // namespace

std::optional<std::string> correctWordBefore(const ScoringContext& context, std::string_view previous,
                                             std::string_view typedWord, const std::string& target) {
    const RulesConfig& config = context.config;
    TextChars word{std::string(previous)};
    if (word.size() > kWordBeforeMaxLength || !allLetters(word)) return std::nullopt;
    TextChars lower = word.lowered();
    if (config.manualOverrides.neverCorrect.contains(lower.text())) return std::nullopt;
    const LanguageConfig* targetLanguage = config.language(target);
    if (!targetLanguage) return std::nullopt;
    std::vector<std::string> wordSources = detectSourceLanguages(context.index, lower);
    std::vector<std::string> typedSources = detectSourceLanguages(context.index, TextChars(std::string(typedWord)).lowered());
    for (const std::string& source : wordSources) {
        if (source == target ||
            std::find(typedSources.begin(), typedSources.end(), source) == typedSources.end())
            continue;
        std::string mapped = layout::mapLayout(config.keyboardLayout, previous, {source, target});
        if (mapped == previous || !targetLanguage->isCommonWord(unicode::toLower(mapped))) continue;
        return layout::preserveCase(previous, mapped);
    }
    return std::nullopt;
}

}  // namespace quillom::scoring
