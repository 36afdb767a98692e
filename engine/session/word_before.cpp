#include "session/word_before.h"

#include <algorithm>
#include <cstdint>

#include "layout/selection_conversion.h"
#include "layout/token_mapping.h"
#include "scoring/read/text_chars.h"
#include "scoring/evaluate/word_evaluation.h"
#include "unicode/unicode.h"

namespace quillom::session {

using namespace scoring;

namespace {

// A word of both languages counts for one of them by frequency; it confirms a
// guess of that language only when it stands this many times the twin rank
// margin of bands before its reading in the other (що does, корпус does not).
constexpr std::int64_t kConfirmingMarginFactor = 2;

// Words of no more than this many characters; a number with its marks may be longer.
constexpr std::size_t kMarkedNumberMaxLength = 12;

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

// Marks that stand alone between spaces in ordinary text: brackets ("[ ]
// Limit"), a full stop or colon ("Wait . . ."), comparison signs, the quoting
// ">" of mail, the grave accent and tilde of code. Alone they are no letters,
// whatever the lexicon lists for their keys (х, ї, ю, ё occur as the letters
// of enumerations).
bool standsAloneAsMark(const TextChars& chars) {
    constexpr std::string_view kMarks = "[]{}.:<>`~";  // one byte each
    return chars.size() == 1 && chars[0].size() == 1 && kMarks.find(chars[0][0]) != std::string_view::npos;
}

// A short word typed with keys that give marks on the layout typed on and
// letters on the target's: "][" before a word corrected to Ukrainian is їх,
// "'" is є, "," is б. Its reading must be a word of the target, every key a
// letter there; letters typed among the marks must be of the layout typed on.
std::optional<std::string> letterKeysWord(const ScoringContext& context, const LanguageConfig& targetLanguage,
                                          std::string_view previous, const std::vector<std::string>& typedSources,
                                          const std::string& target) {
    const TextChars chars{std::string(previous)};
    if (chars.size() > kWordBeforeMaxLength || standsAloneAsMark(chars)) return std::nullopt;
    const std::vector<std::string> letterSources = detectSourceLanguages(context.index, chars.lowered());
    for (const std::string& source : typedSources) {
        if (source == target ||
            (hasLetter(chars) && std::find(letterSources.begin(), letterSources.end(), source) == letterSources.end()))
            continue;
        std::string mapped = layout::mapLayout(context.config.keyboardLayout, previous, {source, target});
        if (allLetters(TextChars(mapped)) && targetLanguage.isCommonWord(unicode::toLower(mapped)))
            return layout::preserveCase(previous, mapped);
    }
    return std::nullopt;
}

// A word ended by a punctuation key of the layout it was typed on, whose
// key is a mark in target too: "b?" before a word corrected to Russian is
// "и," (the Russian comma is Shift+/). The word goes along as a word on its
// own would, the mark as target's layout has it.
std::optional<std::string> wordWithMark(const ScoringContext& context, std::string_view previous,
                                        std::string_view typedWord, const std::string& target,
                                        const std::vector<std::string>& typedSources, const LanguageVotes* votes) {
    const TextChars chars{std::string(previous)};
    if (chars.size() < 2 || !allLetters(TextChars(chars.prefix(chars.size() - 1)))) return std::nullopt;
    const std::string_view word = chars.prefix(chars.size() - 1);
    for (const std::string& source : typedSources) {
        if (source == target) continue;
        const TextChars mapped{layout::mapSelection(context.config.keyboardLayout, previous, {source, target})};
        if (mapped.size() != chars.size() || unicode::isLetterChar(mapped[mapped.size() - 1])) continue;
        if (auto corrected = correctWordBefore(context, word, typedWord, target, votes))
            return *corrected + std::string(mapped[mapped.size() - 1]);
    }
    return std::nullopt;
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

// A word its language does not list whose reading is a word target ranks
// in the band a text of that language keeps as typed
// (decision.rareReadingMinBandInTypedText): Ghbdtn after English words, kept
// as fps is, is Привет once the word after it is corrected into Russian.
bool rareReadingTakenAlong(const RulesConfig& config, const TextChars& lower, const std::string& source,
                           std::string_view lowerMapped, const LanguageConfig& targetLanguage) {
    const int64_t minBand = config.decision.rareReadingMinBandInTypedText;
    const LanguageConfig* sourceLanguage = config.language(source);
    if (minBand <= 0 || !sourceLanguage || sourceLanguage->isCommonWord(lower.text())) return false;
    const std::optional<int64_t> order = targetLanguage.frequencyOrder(lowerMapped);
    return order && *order >= minBand;
}

// typed on the layout of `from`, read on that of `language`, is a word there.
bool readsAsWordOf(const RulesConfig& config, std::string_view typed, const std::string& from,
                   const std::string& language) {
    const LanguageConfig* listed = config.language(language);
    return listed &&
           listed->isCommonWord(unicode::toLower(layout::mapLayout(config.keyboardLayout, typed, {from, language})));
}

// The active languages other than `language` (and `from`, the layout typed
// on) that share its script, each until `reads` says true for one.
template <typename Reads>
bool anotherOfScript(const RulesConfig& config, const std::string& from, const std::string& language,
                     const Reads& reads) {
    for (const std::string& other : config.activeLanguages)
        if (other != language && other != from && config.sameScript(language, other) && reads(other)) return true;
    return false;
}

}  // namespace

bool guessedBetweenTwins(const RulesConfig& config, std::string_view typed, const std::string& source,
                         const std::string& target) {
    const bool listed = readsAsWordOf(config, typed, source, target);
    const std::string text = layout::mapLayout(config.keyboardLayout, typed, {source, target});
    return anotherOfScript(config, source, target, [&](const std::string& other) {
        return !listed || readsAsWordOf(config, typed, source, other) ||
               layout::mapLayout(config.keyboardLayout, typed, {source, other}) == text;
    });
}

bool keepsGuessOpen(const RulesConfig& config, std::string_view typed, const std::string& guessed,
                    std::optional<std::size_t> vote) {
    if (!vote || *vote >= config.activeLanguages.size() || config.activeLanguages[*vote] != guessed) return true;
    const LanguageConfig* own = config.language(guessed);
    if (!own) return true;
    const std::int64_t ownOrder = own->frequencyOrder(unicode::toLower(typed)).value_or(LanguageConfig::kUnrankedOrder);
    const std::int64_t margin = kConfirmingMarginFactor * config.decision.languageEvidence.twinRankMargin;
    return anotherOfScript(config, guessed, guessed, [&](const std::string& other) {
        const LanguageConfig* listed = config.language(other);
        if (!listed) return false;
        const std::optional<std::int64_t> order =
            listed->frequencyOrder(unicode::toLower(layout::mapLayout(config.keyboardLayout, typed, {guessed, other})));
        return order && ownOrder + margin > *order;
    });
}

std::optional<std::string> revisedCorrection(const RulesConfig& config, std::string_view typed,
                                             std::string_view corrected, const std::string& source,
                                             const std::string& correctedTo, const std::string& target) {
    const LanguageConfig* targetLanguage = config.language(target);
    if (!targetLanguage || correctedTo == target || source == target || !config.sameScript(correctedTo, target))
        return std::nullopt;
    // A correction that read marks at its edges ("Сервис for @Cthdbc) is not
    // the keys' reading: leave it.
    if (layout::mapLayout(config.keyboardLayout, typed, {source, correctedTo}) != corrected) return std::nullopt;
    const std::string mapped = layout::mapLayout(config.keyboardLayout, typed, {source, target});
    if (mapped == corrected) return mapped;  // Бомба reads the same
    const std::string lowerMapped = unicode::toLower(mapped);
    const std::string reading = unicode::toLower(corrected);
    const LanguageConfig* correctedLanguage = config.language(correctedTo);
    // A correction that is no listed word either was a guess of the layout
    // alone: the keys were meant in the language settled since.
    const bool listedCorrection = correctedLanguage && correctedLanguage->isCommonWord(reading);
    if (mapped == typed || (listedCorrection && !targetLanguage->isCommonWord(lowerMapped))) return std::nullopt;
    // мы is not read again as мі because the next word seemed Ukrainian: a
    // guess stands against the language settled since only when its reading
    // is twice the twin margin more frequent, bands of corpora of different
    // genres putting Файловій (53) before Файловый (65).
    if (listedCorrection && farMoreFrequentReading(config, *targetLanguage, lowerMapped, *correctedLanguage, reading,
                                                   kConfirmingMarginFactor))
        return std::nullopt;
    return layout::preserveCase(typed, mapped);
}

std::string wordAfterGuessRevised(const RulesConfig& config, std::string_view typed, const std::string& guessed,
                                  const std::string& target) {
    std::string mapped = layout::mapLayout(config.keyboardLayout, typed, {guessed, target});
    if (mapped == typed) return mapped;
    const LanguageConfig* targetLanguage = config.language(target);
    const LanguageConfig* guessedLanguage = config.language(guessed);
    if (guessedLanguage && guessedLanguage->isCommonWord(unicode::toLower(typed)) &&
        !(targetLanguage && targetLanguage->isCommonWord(unicode::toLower(mapped))))
        return std::string(typed);
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
    if (!allLetters(word)) {
        if (auto letters = letterKeysWord(context, *targetLanguage, previous, typedSources, target)) return letters;
        if (auto marked = wordWithMark(context, previous, typedWord, target, typedSources, votes)) return marked;
        return markedNumber(context, previous, typedSources, target);
    }
    TextChars lower = word.lowered();
    if (config.manualOverrides.neverCorrect.contains(lower.text())) return std::nullopt;
    for (const std::string& source : detectSourceLanguages(context.index, lower)) {
        if (source == target || std::find(typedSources.begin(), typedSources.end(), source) == typedSources.end())
            continue;
        std::string mapped = layout::mapLayout(config.keyboardLayout, previous, {source, target});
        if (mapped == previous) continue;
        if (word.size() <= kWordBeforeMaxLength) {
            if (auto corrected = shortWordIn(*targetLanguage, previous, mapped)) return corrected;
        } else if (twinTakenAlong(config, lower, source, unicode::toLower(mapped), *targetLanguage, target, votes) ||
                   rareReadingTakenAlong(config, lower, source, unicode::toLower(mapped), *targetLanguage)) {
            return layout::preserveCase(previous, mapped);
        }
    }
    return std::nullopt;
}

}  // namespace quillom::session
