#include "session/text_start.h"

#include <algorithm>
#include <vector>

#include "layout/selection_conversion.h"
#include "scoring/evaluate/word_evaluation.h"
#include "scoring/judge/mixed_case_name.h"
#include "scoring/read/capitals.h"
#include "scoring/read/text_chars.h"
#include "scoring/score/token_scorer.h"
#include "session/recent_words.h"
#include "unicode/unicode.h"

namespace quillom::session {

using namespace scoring;

namespace {

// Longer pieces are sentences' words, not the abbreviations and numbers a
// text starts with.
constexpr std::size_t kPieceMaxLength = 16;
// Keys that give only marks in target: a bracket, a comma, a colon; more of
// them are no mark a text starts with, but for an ellipsis.
constexpr std::size_t kMarksMaxKeys = 2;
constexpr std::size_t kEllipsisDots = 3;
// Letters after a number within a text that can tell a unit (мм, not ь).
constexpr std::size_t kUnitMinLetters = 2;

bool isLetter(std::string_view c) { return unicode::isLetterChar(c); }
bool isMark(std::string_view c) { return !unicode::isLetterChar(c) && !unicode::isNumericChar(c); }
bool isQuote(std::string_view c) { return c == "'" || c == "`" || c == "\""; }
bool endsSentencePart(std::string_view c) {
    return c == "." || c == "," || c == ";" || c == ":" || c == "?" || c == "!" || isQuote(c);
}

struct Counts {
    std::size_t letters = 0, digits = 0;
};

Counts countOf(const TextChars& text) {
    Counts count;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (isLetter(text[i])) ++count.letters;
        else if (unicode::isNumericChar(text[i])) ++count.digits;
    }
    return count;
}

// Calls run(first, count) for each run of letters; stops at the first false.
template <typename Run>
bool everyLetterRun(const TextChars& text, const Run& run) {
    std::size_t i = 0;
    while (i < text.size()) {
        if (!isLetter(text[i])) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && isLetter(text[end])) ++end;
        if (!run(i, end - i)) return false;
        i = end;
    }
    return true;
}

// Marks typed around a word or before it as a quote, and marks in a number,
// were meant as typed: "<Ntvf>" is "<Тема>", not "БТемаЮ", and "1941."
// stays; elsewhere a mark key may be the target's letter ("<ehsy" is Бурін).
bool marksMeantAsTyped(const TextChars& typed, const Counts& count) {
    return count.digits > 0 || isQuote(typed[0]) || (isMark(typed[0]) && isMark(typed.back()));
}

// Typed marks read as typed, or, where they were not meant as typed, as
// letters, as the target's punctuation after the word ("Uvv?" is "Гмм,") or
// as a slash between letters (":|l" is "Ж/д");
// the keys of letters read as marks where words have them: after the word
// as its punctuation ("Вю" is "D."), a full stop between letters ("ГюЫю" is
// "U.S."), a quote before it, or all the piece's keys ("б" is a comma).
bool marksInPlace(const TextChars& typed, const Counts& count, const TextChars& reading) {
    if (typed.size() != reading.size()) return false;
    std::size_t first = reading.size(), last = 0;
    for (std::size_t i = 0; i < reading.size(); ++i) {
        if (!isLetter(reading[i])) continue;
        first = std::min(first, i);
        last = i;
    }
    const bool asTyped = marksMeantAsTyped(typed, count);
    for (std::size_t i = 0; i < typed.size(); ++i) {
        if (isMark(typed[i])) {
            const bool punctuation = first < reading.size() && i > last && endsSentencePart(reading[i]);
            const bool pairSlash = i > first && i < last && reading[i] == "/";
            if (typed[i] != reading[i] && (asTyped || !(isLetter(reading[i]) || punctuation || pairSlash)))
                return false;
        } else if (isMark(reading[i]) && first < reading.size()) {
            const bool placed = i > last    ? endsSentencePart(reading[i])
                                : i < first ? isQuote(reading[i])
                                            : reading[i] == ".";
            if (!placed) return false;
        }
    }
    return true;
}

// A letter its language ranks no higher than letters used as initials and
// enumerations ("г", not "в" or "и") names no word there.
bool rareLetter(std::string_view letter, const LanguageConfig& source, int64_t minBand) {
    return minBand > 0 && source.frequencyOrder(letter).value_or(LanguageConfig::kUnrankedOrder) >= minBand;
}

// A longer run its language ranks in the list's tail, where another
// language's words stray ("цю", Ukrainian in the Russian list), is no word a
// text starts with either; one listed with no estimate still is.
bool rareRun(std::string_view run, const LanguageConfig& source, int64_t minBand) {
    const auto band = source.rankBand(run);
    return minBand > 0 && band && *band != PackedLexicon::kUnranked && static_cast<int64_t>(*band) >= minBand;
}

// Capitals after the first letter of a run that also holds lower-case
// letters: "ЭРу" is cased as no word is ("He typed on the Russian layout).
bool casedAsNoWord(const TextChars& piece, std::size_t first, std::size_t count) {
    bool upper = false, lower = false;
    for (std::size_t i = first + 1; i < first + count; ++i) (unicode::isUpperChar(piece[i]) ? upper : lower) = true;
    return upper && lower;
}

// Some run of letters of the piece is a word its language lists: "тихо,"
// is Ukrainian with a comma, "ID" an English abbreviation before a Russian
// word, whatever their keys spell. A rare letter alone is no word, in a
// piece of its own or before a hyphen (Р-Ехфты is H-Trans), nor a rare run
// (Цю Рю are W. H.), nor a run cased as no word is ("ЭРу" is no эру).
bool holdsWordOf(const TextChars& piece, const TextChars& lowerPiece, const LanguageConfig& source,
                 const DecisionConfig& decision) {
    return !everyLetterRun(lowerPiece, [&](std::size_t first, std::size_t count) {
        const std::string_view run = lowerPiece.slice(first, count);
        const bool rare = count == 1 ? rareLetter(run, source, decision.textStartLetterMinBand)
                                     : rareRun(run, source, decision.textStartWordMinBand);
        return rare || casedAsNoWord(piece, first, count) || !source.isCommonWord(run);
    });
}

// Three full stops, or two or three after a quote that opens the text:
// "ююю" and "Эюю" typed on the Russian layout before English.
bool ellipsis(const TextChars& reading) {
    const std::size_t first = reading.size() > 0 && isQuote(reading[0]) ? 1 : 0;
    const std::size_t dots = reading.size() - first;
    if (dots != kEllipsisDots && !(first == 1 && dots == kEllipsisDots - 1)) return false;
    for (std::size_t i = first; i < reading.size(); ++i)
        if (reading[i] != ".") return false;
    return true;
}

// Marks alone start a text only as an ellipsis: "///" typed on the US layout
// before a Russian word is "...", whatever else such keys type.
std::optional<std::string> ellipsisOfMarks(const ScoringContext& context, std::string_view previous,
                                           std::string_view typedWord, const std::string& target,
                                           const std::optional<std::string>& typedOn) {
    const RulesConfig& config = context.config;
    for (const std::string& source : detectSourceLanguages(context.index, TextChars(typedWord).lowered())) {
        if (source == target || (typedOn ? source != *typedOn : !config.isActive(source))) continue;
        std::string reading = layout::mapSelection(config.keyboardLayout, previous, {source, target});
        if (reading != previous && ellipsis(TextChars(reading))) return reading;
    }
    return std::nullopt;
}

// Every run of letters pairs only letters that target's text pairs.
bool runsPairAsTarget(const TextChars& lower, const LanguageConfig& target) {
    return everyLetterRun(lower, [&](std::size_t first, std::size_t count) {
        return count < 2 || countUnknownBigrams(TextChars(lower.slice(first, count)), &target) == 0;
    });
}

// A capital beside a digit names a format or a model ("4K", "3D", "A4"),
// in whatever script the user chose.
bool capitalBesideDigit(const TextChars& piece) {
    for (std::size_t i = 0; i + 1 < piece.size(); ++i) {
        const bool digitFirst = unicode::isNumericChar(piece[i]);
        const std::string_view letter = digitFirst ? piece[i + 1] : piece[i];
        const std::string_view other = digitFirst ? piece[i] : piece[i + 1];
        if (unicode::isNumericChar(other) && isLetter(letter) && !hasLowerLetter(TextChars(letter))) return true;
    }
    return false;
}

// A code of capitals and digits ("3D", "F2", "VR360"), a number with one
// letter after it ("2p", "105m") or a letter labelling an item ("(B)",
// "B)"), typed on a layout of another script before a word of the first
// active language: that language's, whatever its keys spell in the layout's
// ("3В" is 3D, "2з" 2p, "(И)" (B)). Not the other way round: Latin codes
// and units stand in Cyrillic text ("4K", "5m").
bool codeOrLabel(const TextChars& piece, const Counts& count) {
    if (count.letters == 1 && count.digits == 0 && piece.size() <= 3 && piece.back() == ")")
        return piece.size() == 2 ? isLetter(piece[0]) : piece[0] == "(" && isLetter(piece[1]);
    if (count.letters + count.digits != piece.size()) return false;
    if (count.digits > 0 && count.letters == 1 && isLetter(piece.back())) return true;
    if (!capitalBesideDigit(piece)) return false;
    return everyLetterRun(piece, [&](std::size_t first, std::size_t letters) {
        return letters <= kAcronymMaxLetters && !hasLowerLetter(TextChars(piece.slice(first, letters)));
    });
}

bool codeOrLabelOfFirstLanguage(const RulesConfig& config, const TextChars& piece, const Counts& count,
                                const std::string& source, const std::string& target) {
    return config.isFirstActive(target) && config.differentScripts(source, target) && codeOrLabel(piece, count);
}

// Capitals holding a letter that begins no word, as many as an acronym has:
// the acronym is the target's, whose letters pair as they like (ЬДЕ is
// MLT); no test of the target's pairs tells one.
bool acronymOfTarget(const TextChars& piece, const Counts& reading) {
    return reading.letters == piece.size() && capitalsOfNoAcronym(piece);
}

// Some run of letters of the reading begins with a letter that begins no
// word (MLT read as ЬДЕ).
bool runBeginsNoWord(const TextChars& reading) {
    return !everyLetterRun(reading,
                           [&](std::size_t first, std::size_t) { return !letterBeginsNoWord(reading[first]); });
}

// The reading is a word target's text could hold, more than the piece one
// of its own language, or an acronym of target.
bool plausibleReading(const ScoringContext& context, const TextChars& piece, const TextChars& lowerPiece,
                      const std::string& source, const TextChars& lowerReading, const LanguageConfig& targetLanguage,
                      const std::string& target) {
    const Counts reading = countOf(lowerReading);
    if (reading.letters == 0)
        return countOf(piece).digits > 0 || piece.size() <= kMarksMaxKeys || ellipsis(lowerReading);
    if (capitalBesideDigit(piece)) return false;
    if (targetLanguage.isCommonWord(lettersOf(lowerReading))) return true;
    if (acronymOfTarget(piece, reading)) return true;
    if (runBeginsNoWord(lowerReading)) return false;
    if (!runsPairAsTarget(lowerReading, targetLanguage)) return false;
    if (reading.letters < 3 || reading.letters != lowerReading.size()) return true;
    return scoreToken(context, lowerReading, target).total() > scoreToken(context, lowerPiece, source).total();
}

// The letters after a number read as a unit or an ending: each run of them
// a word target lists, joined to the number from two letters on ("5m" would
// be 5ь, a lone letter listed as often when it is none), after a hyphen
// whatever its length ("22-year-old", "1-й"). Before a dash the number and
// a letter label what follows ("2г - Лігво", "2и - Москва"), unless the
// letter begins no word.
bool unitAfterNumber(std::string_view reading, const LanguageConfig& targetLanguage, bool beforeDash) {
    const TextChars lower = TextChars(reading).lowered();
    return everyLetterRun(lower, [&](std::size_t first, std::size_t count) {
        const bool afterHyphen = first > 0 && lower[first - 1] == "-";
        const bool label = beforeDash && count == 1 && !letterBeginsNoWord(lower[first]);
        return (afterHyphen || label || count >= kUnitMinLetters) &&
               targetLanguage.isCommonWord(lower.slice(first, count));
    });
}

// As textStartPiece reads it; textStart: the piece is of the text's start,
// where codes and labels of another script may be read.
std::optional<std::string> pieceReading(const ScoringContext& context, std::string_view previous,
                                        std::string_view typedWord, const std::string& target,
                                        const std::optional<std::string>& typedOn, bool beforeDash, bool textStart) {
    const RulesConfig& config = context.config;
    const LanguageConfig* targetLanguage = config.language(target);
    const TextChars chars{previous};
    if (!targetLanguage || chars.size() > kPieceMaxLength) return std::nullopt;
    const Counts piece = countOf(chars);
    // A dash or a number the layouts write alike stands where it is: the
    // pieces before it may still go along.
    if (isDashPiece(previous)) return std::string(previous);
    if (piece.letters == 0 && piece.digits == 0)
        return textStart ? ellipsisOfMarks(context, previous, typedWord, target, typedOn) : std::nullopt;
    if (piece.digits == chars.size()) return std::string(previous);
    const TextChars lower = chars.lowered();
    if (config.manualOverrides.neverCorrect.contains(lower.text())) return std::nullopt;
    const std::vector<std::string> pieceSources = detectSourceLanguages(context.index, lower);
    for (const std::string& source : detectSourceLanguages(context.index, TextChars(typedWord).lowered())) {
        // A letter both layouts type is read in the language of the one it was
        // typed on: з is a Ukrainian word, whatever Russian makes of it.
        if (source == target || (typedOn ? source != *typedOn : !config.isActive(source)) ||
            (piece.letters > 0 && std::find(pieceSources.begin(), pieceSources.end(), source) == pieceSources.end()))
            continue;
        const LanguageConfig* sourceLanguage = config.language(source);
        std::string reading = layout::mapSelection(config.keyboardLayout, previous, {source, target});
        if (!sourceLanguage || reading == previous) continue;
        const TextChars readingChars{reading};
        if (!marksInPlace(chars, piece, readingChars)) continue;
        const TextChars lowerReading = readingChars.lowered();
        if (textStart && codeOrLabelOfFirstLanguage(config, chars, piece, source, target)) {
            if (countOf(lowerReading).letters == piece.letters) return reading;
            continue;
        }
        if (countOf(lowerReading).letters > 0 && holdsWordOf(chars, lower, *sourceLanguage, config.decision)) continue;
        // The word after it corrected into the target tells the text's language.
        if (config.decision.mixedCaseNamesRead &&
            mixedCaseNameOfTarget(context, source, *targetLanguage, chars, readingChars, true))
            return reading;
        if (plausibleReading(context, chars, lower, source, lowerReading, *targetLanguage, target) &&
            (!unicode::isNumericChar(chars[0]) || unitAfterNumber(reading, *targetLanguage, beforeDash)))
            return reading;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> numberWithUnitPiece(const ScoringContext& context, std::string_view previous,
                                               std::string_view typedWord, const std::string& target) {
    if (previous.empty() || previous.find(' ') != std::string_view::npos) return std::nullopt;
    const TextChars chars{previous};
    const LanguageConfig* targetLanguage = context.config.language(target);
    if (!targetLanguage || !unicode::isNumericChar(chars[0]) || countOf(chars).letters == 0) return std::nullopt;
    return pieceReading(context, previous, typedWord, target, std::nullopt, false, false);
}

std::optional<std::string> textStartPiece(const ScoringContext& context, std::string_view previous,
                                          std::string_view typedWord, const std::string& target,
                                          const std::optional<std::string>& typedOn, bool beforeDash) {
    return pieceReading(context, previous, typedWord, target, typedOn, beforeDash, true);
}

}  // namespace quillom::session
