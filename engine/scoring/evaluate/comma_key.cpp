#include "scoring/evaluate/comma_key.h"

#include <algorithm>

#include "layout/token_mapping.h"
#include "unicode/unicode.h"

namespace quillom::scoring {

namespace {

constexpr std::size_t kMinPieceChars = 2;
// Two letters read as a word of the target more often than not only when it
// is one of its most frequent (in, or): ть of вгадують reads as nm.
constexpr std::size_t kMinPieceCharsUnlisted = 3;
constexpr int64_t kShortPieceMaxBand = 28;

bool isLetterAt(const TextChars& chars, std::size_t i) { return i < chars.size() && unicode::isLetterChar(chars[i]); }

// The letters of a word in lower case, with the apostrophes between them.
ShortText lowerLetters(std::string_view word) {
    const TextChars lowered = TextChars(word).lowered();
    ShortText letters;
    for (std::size_t i = 0; i < lowered.size(); ++i)
        if (unicode::isLetterChar(lowered[i]) ||
            (isApostrophe(lowered[i]) && i > 0 && isLetterAt(lowered, i - 1) && isLetterAt(lowered, i + 1)))
            letters.append(lowered[i]);
    return letters;
}

}  // namespace

MarkKeyLetters::MarkKeyLetters(const RulesConfig& config) {
    if (!config.isActive("en")) return;
    for (const std::string& key : config.activeLanguages) {
        const LanguageConfig* language = config.language(key);
        if (!language || language->script != "cyrillic") continue;
        for (const std::string_view mark : {",", "."}) {
            const std::string typed = layout::mapLayout(config.keyboardLayout, mark, {"en", key});
            const TextChars chars(typed);
            // A layout that keeps the mark on its key gives nothing to split at.
            if (chars.size() == 1 && unicode::isLetterChar(typed) && !unicode::isUpperChar(typed) &&
                std::find(letters_.begin(), letters_.end(), typed) == letters_.end())
                letters_.push_back(typed);
        }
    }
}

bool MarkKeyLetters::inside(std::string_view token) const {
    for (const std::string& letter : letters_) {
        const std::size_t at = token.find(letter, 1);
        if (at != std::string_view::npos && at + letter.size() < token.size()) return true;
    }
    return false;
}

JoinedPieces MarkKeyLetters::split(std::string_view token) const {
    const TextChars chars(token);
    // Views into the token itself: chars holds a copy of its own.
    const auto inToken = [&](std::string_view part) {
        return token.substr(static_cast<std::size_t>(part.data() - chars.text().data()), part.size());
    };
    JoinedPieces joined;
    std::size_t start = 0;
    const auto endPiece = [&](std::size_t end) {
        if (end - start < kMinPieceChars) return false;
        joined.pieces.push_back(inToken(chars.slice(start, end - start)));
        return true;
    };
    for (std::size_t i = 1; i + 1 < chars.size(); ++i) {
        if (!isLetterAt(chars, i - 1) || !isLetterAt(chars, i + 1) ||
            std::find(letters_.begin(), letters_.end(), chars[i]) == letters_.end())
            continue;
        if (!endPiece(i)) return {};
        joined.keys.push_back(inToken(chars[i]));
        start = i + 1;
    }
    if (joined.keys.empty() || !endPiece(chars.size())) return {};
    return joined;
}

bool MarkKeyLetters::joinsCapitals(std::string_view token) const {
    const TextChars chars(token);
    const auto isKey = [&](std::size_t i) {
        return std::find(letters_.begin(), letters_.end(), chars[i]) != letters_.end();
    };
    // The marks closing it (U.S.,) stand after the last capital.
    std::size_t end = chars.size();
    while (end > 0 && isKey(end - 1)) --end;
    std::size_t capitals = 0;
    for (std::size_t i = 0; i < end; ++i) {
        // Capitals and keys take turns, a capital first and last.
        if (isKey(i) != (i % 2 == 1) ||
            (i % 2 == 0 && !(unicode::isLetterChar(chars[i]) && unicode::isUpperChar(chars[i]))))
            return false;
        capitals += i % 2 == 0 ? 1 : 0;
    }
    return capitals >= 2;
}

bool listedOutside(const RulesConfig& config, std::string_view word, std::string_view target) {
    const ShortText letters = lowerLetters(word);
    if (letters.view().empty()) return false;
    for (const std::string& key : config.activeLanguages) {
        const LanguageConfig* language = key == target ? nullptr : config.language(key);
        if (language && language->isCommonWord(letters.view())) return true;
    }
    return false;
}

bool shortPieceUnlisted(const RulesConfig& config, std::string_view piece, std::string_view reading,
                        const std::string& target) {
    if (TextChars(piece).size() >= kMinPieceCharsUnlisted) return false;
    const LanguageConfig* language = config.language(target);
    const auto order = language ? language->frequencyOrder(lowerLetters(reading).view()) : std::nullopt;
    return !order || *order > kShortPieceMaxBand;
}

}  // namespace quillom::scoring
