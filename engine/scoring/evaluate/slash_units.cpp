#include "scoring/evaluate/slash_units.h"

#include <algorithm>
#include <string>

#include "layout/selection_conversion.h"
#include "scoring/judge/pair_diagnosis.h"
#include "scoring/read/text_chars.h"
#include "unicode/unicode.h"

namespace quillom::scoring {

namespace {

const std::string kEnglish = "en";
constexpr std::size_t kMaxPieceLetters = 2;
// Two pieces of two letters, the slash and a closing mark, in two-byte letters.
constexpr std::size_t kMaxTokenBytes = 2 * kMaxPieceLetters * 2 + 1 + 2;

struct Pieces {
    std::string_view left, right;  // as typed
    std::string leftRead, rightRead;
};

bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool listedIn(const LanguageConfig& language, const std::string& word) {
    return language.isCommonWord(word) || language.abbreviations.contains(word);
}

// Some active language other than English lists the word or writes it as an
// abbreviation. word: lower-case.
bool listedOutsideEnglish(const RulesConfig& config, const std::string& word) {
    for (const std::string& key : config.activeLanguages) {
        const LanguageConfig* language = key == kEnglish ? nullptr : config.language(key);
        if (language && listedIn(*language, word)) return true;
    }
    return false;
}

// No abbreviation of the active languages other than English begins with the
// piece: it shortens none of their words (ль, ь, ы), as т, е, кв do.
bool beginsNoAbbreviation(const RulesConfig& config, std::string_view piece) {
    for (const std::string& key : config.activeLanguages) {
        const LanguageConfig* language = key == kEnglish ? nullptr : config.language(key);
        if (!language) continue;
        for (const std::string_view abbreviation : language->abbreviations)
            if (abbreviation.substr(0, piece.size()) == piece) return false;
    }
    return true;
}

// A piece of two letters must read as a word or abbreviation English lists
// and be none another active language lists; a single letter is listed
// everywhere as a letter, and says nothing.
bool pieceFits(const RulesConfig& config, const LanguageConfig& english, const std::string& typed,
               const std::string& read) {
    return read.size() == 1 || (listedIn(english, read) && !listedOutsideEnglish(config, typed));
}

// The pieces of the token as typed and as read, split at the slash of the
// reading, with a closing comma or full stop left off; nothing unless every
// letter typed is one of the layout's language (x.y stays).
std::optional<Pieces> splitReading(const LanguageConfig& typed, const TextChars& chars, std::string_view read) {
    if (!read.empty() && (read.back() == ',' || read.back() == '.')) read.remove_suffix(1);
    const std::size_t slash = read.find('/');
    if (slash == std::string_view::npos || slash == 0 || slash > kMaxPieceLetters) return std::nullopt;
    const std::size_t rightSize = read.size() - slash - 1;
    if (rightSize == 0 || rightSize > kMaxPieceLetters) return std::nullopt;
    if (!std::all_of(read.begin(), read.begin() + slash, isAsciiLetter) ||
        !std::all_of(read.begin() + slash + 1, read.end(), isAsciiLetter))
        return std::nullopt;
    for (std::size_t i = 0; i < read.size(); ++i)
        if (i != slash && !typed.scriptAlphabet.count(unicode::toLower(chars[i]))) return std::nullopt;
    return Pieces{chars.slice(0, slash), chars.slice(slash + 1, rightSize), unicode::toLower(read.substr(0, slash)),
                  unicode::toLower(read.substr(slash + 1))};
}

}  // namespace

std::optional<RulesDecision> slashJoinedUnitsReading(const RulesConfig& config, std::string_view token) {
    // Most words hold no full stop inside: one scan of their few bytes.
    if (!config.tokenization.slashJoinedUnits || token.size() > kMaxTokenBytes || token.size() < 3 ||
        token.substr(1).find('.') == std::string_view::npos)
        return std::nullopt;
    const LanguageConfig* english = config.language(kEnglish);
    if (!english || !config.isActive(kEnglish) || config.manualOverrides.neverCorrect.contains(unicode::toLower(token)))
        return std::nullopt;
    const TextChars chars(token);
    for (const std::string& source : config.activeLanguages) {
        const LanguageConfig* language = config.language(source);
        if (!language || language->script != "cyrillic") continue;
        std::string read = layout::mapSelection(config.keyboardLayout, token, {source, kEnglish});
        if (read.size() != chars.size()) continue;
        const auto pieces = splitReading(*language, chars, read);
        if (!pieces) continue;
        const std::string left = unicode::toLower(pieces->left), right = unicode::toLower(pieces->right);
        if (!pieceFits(config, *english, left, pieces->leftRead) ||
            !pieceFits(config, *english, right, pieces->rightRead) || listedOutsideEnglish(config, left + right) ||
            !(beginsNoAbbreviation(config, left) || beginsNoAbbreviation(config, right)))
            continue;
        RulesDecision d;
        d.shouldCorrect = true;
        d.correctedToken = std::move(read);
        d.confidence = kNonDictionaryConfidenceCap;
        d.reason = Reason::LayoutMismatch;
        d.sourceLanguage = source;
        d.targetLanguage = kEnglish;
        return d;
    }
    return std::nullopt;
}

}  // namespace quillom::scoring
