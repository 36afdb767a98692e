#include "scoring/judge/mixed_case_name.h"

#include "scoring/judge/language_votes.h"
#include "scoring/read/capitals.h"
#include "scoring/score/token_scorer.h"
#include "unicode/unicode.h"

namespace quillom::scoring {

namespace {

// Pieces a name is cut into at most: more is no name.
constexpr std::size_t kMaxPieces = 6;
constexpr std::size_t kMinListedWordLetters = 3;

struct Piece {
    std::size_t first = 0, count = 0;
    bool capitals = false;  // every letter a capital, but for a plural s after two
};

using Pieces = InlineBuffer<Piece, kMaxPieces>;

bool isUpper(const TextChars& text, std::size_t i) { return unicode::isUpperChar(text[i]); }

// Where the reading's letters end: before closing marks (OpenTTD.) and an
// English possessive (NewGRF's, the players').
std::size_t lettersEnd(const TextChars& reading) {
    auto closing = [](std::string_view c) { return c == "." || c == "," || c == ";" || c == ":"; };
    std::size_t end = reading.size();
    while (end > 0 && closing(reading[end - 1])) --end;
    if (end >= 2 && reading[end - 2] == "'" && (reading[end - 1] == "s" || reading[end - 1] == "S")) return end - 2;
    if (end >= 1 && reading[end - 1] == "'") return end - 1;
    return end;
}

// A lone s closing capitals is their plural (GRFs, IDs), no piece of its own.
bool pluralOfCapitals(const TextChars& reading, std::size_t i, std::size_t end) {
    return i + 1 == end && reading[i] == "s";
}

// A piece begins at a capital after a lower-case letter (Open|TTD) and at the
// last of several capitals before lower-case letters (TTD|Open).
bool beginsPiece(const TextChars& reading, std::size_t i, std::size_t end) {
    if (!isUpper(reading, i)) return false;
    if (!isUpper(reading, i - 1)) return true;
    return i + 1 < end && !isUpper(reading, i + 1) && !pluralOfCapitals(reading, i + 1, end);
}

bool capitalsPiece(const TextChars& reading, const Piece& piece) {
    std::size_t capitals = 0;
    for (std::size_t i = piece.first; i < piece.first + piece.count; ++i) {
        if (isUpper(reading, i)) ++capitals;
        else if (!(capitals >= 2 && pluralOfCapitals(reading, i, piece.first + piece.count))) return false;
    }
    return capitals >= 2;
}

// The reading's letters cut at their case changes; empty when anything but
// letters stands between them, or nothing cuts them.
Pieces cutAtCaseChanges(const TextChars& reading, std::size_t end) {
    Pieces pieces;
    std::size_t first = 0;
    for (std::size_t i = 0; i <= end; ++i) {
        if (i < end && !unicode::isLetterChar(reading[i])) return {};
        if (i == 0 || (i < end && !beginsPiece(reading, i, end))) continue;
        if (pieces.size() == kMaxPieces) return {};
        Piece piece{first, i - first, false};
        piece.capitals = capitalsPiece(reading, piece);
        pieces.push_back(piece);
        first = i;
    }
    return pieces.size() >= 2 ? pieces : Pieces{};
}

// Each piece of the reading is a word the target lists, capitals of an
// abbreviation's length, or a lower-case letter opening the name (iPhone);
// one is a listed word long enough to tell.
bool piecesReadAsTarget(const LanguageConfig& target, const TextChars& reading, const TextChars& lower,
                        const Pieces& pieces) {
    bool listedWord = false;
    for (const Piece& piece : pieces) {
        if (piece.capitals) {
            if (piece.count > kAcronymMaxLetters + 1) return false;
            continue;
        }
        if (piece.count == 1 && piece.first == 0 && !isUpper(reading, 0)) continue;
        if (!target.isCommonWord(lower.slice(piece.first, piece.count))) return false;
        listedWord = listedWord || piece.count >= kMinListedWordLetters;
    }
    return listedWord;
}

// A language of the source's script lists the typed letters, and its reading
// is no word the target ranks far more frequent (Туц, listed, is still New).
bool typedWordOfScript(const RulesConfig& config, const LanguageConfig& source, std::string_view typed,
                       const LanguageConfig& target, std::string_view reading) {
    for (const std::string& key : config.activeLanguages) {
        const LanguageConfig* language = config.language(key);
        if (language && language->script == source.script && language->isCommonWord(typed) &&
            !farMoreFrequentReading(config, *language, typed, target, reading))
            return true;
    }
    return false;
}

// The typed pieces are no words of their script that their readings do not
// far outrank, the capitals no abbreviation of it, and the whole no word.
bool typedPiecesNoWords(const RulesConfig& config, const std::string& from, const LanguageConfig& source,
                        const LanguageConfig& target, const TextChars& lowerTyped, const TextChars& lowerReading,
                        std::size_t end, const Pieces& pieces) {
    if (typedWordOfScript(config, source, lowerTyped.prefix(end), target, lowerReading.prefix(end))) return false;
    for (const Piece& piece : pieces) {
        const std::string_view letters = lowerTyped.slice(piece.first, piece.count);
        if (piece.capitals
                ? abbreviationOfScript(config, from, letters)
                : piece.count >= kMinListedWordLetters &&
                      typedWordOfScript(config, source, letters, target, lowerReading.slice(piece.first, piece.count)))
            return false;
    }
    return true;
}

// The typed letters of a piece that is no capitals hold a pair the source's
// text never pairs (щз in Щзут); pairs across a cut join two pieces, and
// capitals are letters apart.
bool typedLettersPairAsNoText(const ScoringContext& context, const std::string& from, const LanguageConfig& source,
                              const TextChars& lowerTyped, const Pieces& pieces) {
    const AffixIndex* affixes = context.index.affixes(from);
    for (const Piece& piece : pieces) {
        if (piece.capitals || piece.count < 2) continue;
        const TextChars letters(lowerTyped.slice(piece.first, piece.count));
        if (countUnknownBigrams(letters, &source, affixes ? &affixes->pairWeights : nullptr) > 0) return true;
    }
    return false;
}

}  // namespace

bool mixedCaseNameOfTarget(const ScoringContext& context, const std::string& from, const LanguageConfig& target,
                           const TextChars& typed, const TextChars& reading, bool textOfTarget) {
    const RulesConfig& config = context.config;
    const LanguageConfig* source = config.language(from);
    if (!source || target.script != "latin" || source->script == target.script || typed.size() != reading.size())
        return false;
    const std::size_t end = lettersEnd(reading);
    const Pieces pieces = cutAtCaseChanges(reading, end);
    if (pieces.empty()) return false;
    const TextChars lowerReading = reading.lowered();
    if (!piecesReadAsTarget(target, reading, lowerReading, pieces)) return false;
    const TextChars lowerTyped = typed.lowered();
    return typedPiecesNoWords(config, from, *source, target, lowerTyped, lowerReading, end, pieces) &&
           (textOfTarget || typedLettersPairAsNoText(context, from, *source, lowerTyped, pieces));
}

}  // namespace quillom::scoring
