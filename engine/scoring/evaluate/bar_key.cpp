#include "scoring/evaluate/bar_key.h"

#include <string>
#include <vector>

#include "layout/selection_conversion.h"
#include "scoring/evaluate/slash_key.h"
#include "scoring/judge/pair_diagnosis.h"
#include "scoring/read/text_chars.h"
#include "unicode/unicode.h"

namespace quillom::scoring {

namespace {

const std::string kTyped = "en";
const std::string kRead = "ru";
constexpr std::string_view kBar = "|";
constexpr std::size_t kMinWordLetters = 2;

// The pieces of text between its bars, the first empty when a bar opens it
// (|etc); none when a bar closes it or two stand together.
std::vector<std::string_view> piecesBetweenBars(std::string_view text) {
    std::vector<std::string_view> pieces;
    std::size_t start = 0;
    for (std::size_t bar = text.find(kBar); bar != std::string_view::npos; bar = text.find(kBar, start)) {
        if (bar == start && start > 0) return {};
        pieces.push_back(text.substr(start, bar - start));
        start = bar + kBar.size();
    }
    if (start == text.size()) return {};
    pieces.push_back(text.substr(start));
    return pieces;
}

// With Ukrainian active the bar key is also its Ґ: |fpf is Ґаза where the
// text is Ukrainian or Ukrainian lists the word so read.
bool ukrainian(const RulesConfig& config, std::string_view token, const LanguageVotes* votes) {
    const std::string key = "uk";
    const LanguageConfig* language = config.isActive(key) ? config.language(key) : nullptr;
    if (!language) return false;
    return votesFavour(config, votes, key, kRead) ||
           language->isCommonWord(unicode::toLower(layout::mapSelection(config.keyboardLayout, token, {kTyped, key})));
}

// A mark between two letters that no Latin word or path puts there (the
// comma of ghb,snbq, прибытий): the keys of Cyrillic letters.
bool letterKeyBetweenLetters(const TextChars& piece) {
    for (std::size_t i = 1; i + 1 < piece.size(); ++i) {
        const std::string_view c = piece[i];
        if (unicode::isLetterChar(c) || unicode::isNumericChar(c) || c == "." || c == "-" || c == "_" || c == "'")
            continue;
        if (unicode::isLetterChar(piece[i - 1]) && unicode::isLetterChar(piece[i + 1])) return true;
    }
    return false;
}

bool isCyrillicFree(const TextChars& piece) {
    for (std::size_t i = 0; i < piece.size(); ++i)
        if (unicode::isLetterChar(piece[i]) && piece[i].size() != 1) return false;
    return true;
}

}  // namespace

std::optional<RulesDecision> barKeyReading(const RulesConfig& config, std::string_view token,
                                           const LanguageVotes* votes) {
    if (!config.tokenization.barKeyOfRussianSlash || token.find(kBar) == std::string_view::npos ||
        !config.isActive(kRead) || !config.isActive(kTyped))
        return std::nullopt;
    const std::vector<std::string_view> typed = piecesBetweenBars(token);
    if (typed.size() < 2 || !isCyrillicFree(TextChars(token))) return std::nullopt;
    const LanguageConfig* russian = config.language(kRead);
    if (!russian) return std::nullopt;
    std::string read;
    bool listed = false, latin = false, converted = false;
    for (std::size_t p = 0; p < typed.size(); ++p) {
        const std::string_view piece = typed[p];
        const std::string mapped = layout::mapSelection(config.keyboardLayout, piece, {kTyped, kRead});
        const std::string readWord = unicode::toLower(lettersOf(TextChars(mapped)));
        const std::size_t letters = TextChars(readWord).size();
        const bool russianWord = letters >= kMinWordLetters && russian->isCommonWord(readWord);
        // A piece of two letters or more that reads as no Russian word is a
        // path's or a name's Latin letters typed on the US layout (|etc,
        // ПАКЕТ|copyright), unless keys of Cyrillic letters stand between its
        // letters; a letter alone is an abbreviation's (т|с).
        const bool keep =
            !piece.empty() && !russianWord && letters >= kMinWordLetters && !letterKeyBetweenLetters(TextChars(piece));
        listed = listed || russianWord;
        latin = latin || keep;
        converted = converted || (!piece.empty() && !keep);
        read += (p == 0 ? "" : "/") + (keep ? std::string(piece) : mapped);
    }
    // Bars between Latin pieces are bars ({pre|post}), unless one opens a path.
    const bool path = typed.front().empty();
    const bool textIsRussian = votesFavour(config, votes, kRead, kTyped) && !votesLeanAwayFrom(config, votes, kRead);
    if (!(converted || path) || !(listed || textIsRussian) || ukrainian(config, token, votes) ||
        config.manualOverrides.neverCorrect.contains(unicode::toLower(token)))
        return std::nullopt;
    return slashReadingDecision(std::move(read), {kTyped, kRead}, latin);
}

}  // namespace quillom::scoring
