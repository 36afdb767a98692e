#include "scoring/evaluate/slash_key.h"

#include <string>

#include "layout/token_mapping.h"
#include "scoring/judge/pair_diagnosis.h"
#include "scoring/read/text_chars.h"
#include "unicode/unicode.h"

namespace quillom::scoring {

namespace {

// The key on the Ukrainian layout, with and without Shift, and what the
// Russian layout gives for it.
constexpr std::string_view kKey = "\u0490", kLowerKey = "\u0491";  // Ґ, ґ
constexpr std::string_view kSlash = "/", kBackslash = "\\";
const std::string kTyped = "uk";
const std::string kRead = "ru";

// Ґ or ґ anywhere in the token: one pass for their common first byte.
bool hasKeyLetter(std::string_view token) {
    static_assert(kKey.size() == 2 && kLowerKey.size() == 2 && kKey[0] == kLowerKey[0]);
    for (std::size_t at = 0; at + 1 < token.size(); ++at)
        if (token[at] == kKey[0] && (token[at + 1] == kKey[1] || token[at + 1] == kLowerKey[1])) return true;
    return false;
}

bool isLatinLetter(std::string_view c) { return c.size() == 1 && unicode::isLetterChar(c); }

bool isOpeningMark(std::string_view c) {
    for (std::string_view mark : {"\"", "'", "(", "[", "{", "-", "\u00AB", "\u201C", "\u201E", "\u2014"})
        if (c == mark) return true;
    return false;
}

// The Ґ at position i is the slash: after a lower-case letter (иҐили), or
// after a mark other than an opening one (вкл.Ґвікл., ~Ґ.local), or before a
// Latin letter (Ґetc, ПАКЕТҐcopyright). A capital Ґ opening a word ("Ґрунт",
// Ґ. Петренко) or among capitals (ҐРУНТ) is the letter. A ґ before a Latin
// letter is the backslash (ґCURRENT).
std::string_view keyMarkAt(const TextChars& chars, std::size_t i) {
    if (i + 1 >= chars.size()) return {};
    const std::string_view after = chars[i + 1];
    if (chars[i] == kLowerKey) return isLatinLetter(after) ? kBackslash : std::string_view();
    if (chars[i] != kKey) return {};
    if (isLatinLetter(after)) return kSlash;
    if (i == 0) return {};
    const std::string_view before = chars[i - 1];
    if (unicode::isLetterChar(before)) return unicode::isUpperChar(before) ? std::string_view() : kSlash;
    return !isOpeningMark(before) || !unicode::isLetterChar(after) ? kSlash : std::string_view();
}

bool isLetterAt(const TextChars& chars, std::size_t i) { return i < chars.size() && unicode::isLetterChar(chars[i]); }

// The letters of a piece, lower-cased, with the apostrophes between them.
std::string pieceWord(std::string_view piece) {
    const TextChars chars(piece);
    std::string word;
    for (std::size_t i = 0; i < chars.size(); ++i)
        if (unicode::isLetterChar(chars[i]) ||
            (chars[i] == "'" && i > 0 && isLetterAt(chars, i - 1) && isLetterAt(chars, i + 1)))
            word += chars[i];
    return unicode::toLower(word);
}

// What a piece says: +1 when read on the Russian layout it is a word only
// Russian lists, -1 when as typed it is a word only Ukrainian lists.
int piecesEvidence(const RulesConfig& config, std::string_view typed, std::string_view read) {
    const LanguageConfig* typedLanguage = config.language(kTyped);
    const LanguageConfig* readLanguage = config.language(kRead);
    const std::string typedWord = pieceWord(typed), readWord = pieceWord(read);
    if (!readLanguage || TextChars(readWord).size() < 2) return 0;
    const bool russian = readLanguage->isCommonWord(readWord);
    const bool ukrainian = typedLanguage && typedLanguage->isCommonWord(typedWord);
    return russian == ukrainian ? 0 : russian ? 1 : -1;
}

}  // namespace

std::optional<RulesDecision> slashKeyReading(const RulesConfig& config, std::string_view token,
                                             const LanguageVotes* votes) {
    if (!config.tokenization.slashKeyOfRussianLayout || !hasKeyLetter(token) || !config.isActive(kRead))
        return std::nullopt;
    // Most words with the letter are Ukrainian words (ґанок): nothing to build for them.
    const TextChars chars(token);
    bool anyMark = false;
    for (std::size_t i = 0; i < chars.size() && !anyMark; ++i) anyMark = !keyMarkAt(chars, i).empty();
    if (!anyMark) return std::nullopt;
    const LayoutDirection direction{kTyped, kRead};
    const CharMap& lower = layout::lowerMapFor(config.keyboardLayout, direction);
    const CharMap& shift = layout::shiftMapFor(config.keyboardLayout, direction);
    std::string read, typedPiece, readPiece;
    bool slash = false, letterKey = false, russian = false, ukrainian = false;
    auto endPiece = [&] {
        const int evidence = piecesEvidence(config, typedPiece, readPiece);
        russian = russian || evidence > 0;
        ukrainian = ukrainian || evidence < 0;
        typedPiece.clear();
        readPiece.clear();
    };
    for (std::size_t i = 0; i < chars.size(); ++i) {
        if (const std::string_view mark = keyMarkAt(chars, i); !mark.empty()) {
            slash = true;
            endPiece();
            read += mark;
            continue;
        }
        // One key read as a mark and another as the letter: no telling which is right.
        if (chars[i] == kKey || chars[i] == kLowerKey) letterKey = true;
        // An apostrophe at a word's edge is a quote, not the key of ё.
        const bool quote = chars[i] == "'" && !(isLetterAt(chars, i - 1) && isLetterAt(chars, i + 1));
        const std::string mapped = quote ? std::string(chars[i]) : layout::mapToken(chars[i], lower, shift);
        typedPiece += chars[i];
        readPiece += mapped;
        read += mapped;
    }
    endPiece();
    const bool textIsRussian = votesFavour(config, votes, kRead, kTyped) && !votesLeanAwayFrom(config, votes, kRead);
    if (!slash || letterKey || ukrainian || !(russian || textIsRussian) ||
        config.manualOverrides.neverCorrect.contains(unicode::toLower(token)))
        return std::nullopt;
    bool latin = false;
    for (std::size_t i = 0; i < chars.size(); ++i) latin = latin || isLatinLetter(chars[i]);
    return slashReadingDecision(std::move(read), {kTyped, kRead}, latin);
}

RulesDecision slashReadingDecision(std::string read, const LayoutDirection& direction, bool latinKept) {
    RulesDecision d;
    d.shouldCorrect = true;
    d.correctedToken = std::move(read);
    d.confidence = kNonDictionaryConfidenceCap;
    d.reason = Reason::LayoutMismatch;
    // A path's Latin letters were typed on the US layout, which stays.
    if (!latinKept) {
        d.sourceLanguage = direction.from;
        d.targetLanguage = direction.to;
    }
    return d;
}

}  // namespace quillom::scoring
