#include "scoring/choose/selection_target.h"

#include "layout/selection_conversion.h"
#include "scoring/score/token_scorer.h"

namespace quillom::scoring {

namespace {

// The words of each candidate's reading of one space-separated piece.
std::vector<std::vector<std::string>> readings(const RulesConfig& config, std::string_view piece,
                                               const std::vector<std::string>& candidates) {
    std::vector<std::vector<std::string>> out;
    for (const auto& key : candidates)
        out.push_back(layout::latinWords(layout::mapSelection(config.keyboardLayout, piece, {"en", key})));
    return out;
}

// The same number of words, each of as many letters: a key is a letter in
// every reading (| is Ґ in Ukrainian and / in Russian: орт against ґорт would
// weigh a shorter word against a longer one).
bool sameShape(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (TextChars(a[i]).size() != TextChars(b[i]).size()) return false;
    return true;
}

// A candidate's language ranks its reading: the lists have spoken there (a
// form listed without a rank, гусеницы as гусениці, has not).
bool anyRanked(const RulesConfig& config, const std::vector<std::vector<std::string>>& words,
               const std::vector<std::string>& candidates, std::size_t i) {
    for (std::size_t c = 0; c < candidates.size(); ++c) {
        const LanguageConfig* language = config.language(candidates[c]);
        const auto order = language ? language->frequencyOrder(words[c][i]) : std::nullopt;
        if (order && *order < LanguageConfig::kUnrankedOrder) return true;
    }
    return false;
}

// Adds each candidate's score of the words of a piece that the candidates
// read differently and no list holds; a piece they split into different words
// (a key that is a letter in one layout and a mark in another) is left out.
void addPieceScores(const ScoringContext& context, std::string_view piece, const std::vector<std::string>& candidates,
                    std::vector<double>& totals) {
    const auto words = readings(context.config, piece, candidates);
    for (const auto& w : words)
        if (!sameShape(w, words.front())) return;
    for (std::size_t i = 0; i < words.front().size(); ++i) {
        bool differ = false;
        for (const auto& w : words) differ = differ || w[i] != words.front()[i];
        if (!differ || anyRanked(context.config, words, candidates, i)) continue;
        for (std::size_t c = 0; c < candidates.size(); ++c)
            totals[c] += scoreToken(context, TextChars(words[c][i]), candidates[c]).total();
    }
}

}  // namespace

std::optional<std::string> targetByLetters(const ScoringContext& context, std::string_view forLatin,
                                           const std::vector<std::string>& candidates) {
    if (candidates.empty()) return std::nullopt;
    std::vector<double> totals(candidates.size(), 0.0);
    for (std::string_view piece : layout::spaceSeparatedPieces(forLatin))
        addPieceScores(context, piece, candidates, totals);
    std::optional<std::size_t> best;
    bool tie = false;
    for (std::size_t c = 0; c < candidates.size(); ++c) {
        if (!best || totals[c] > totals[*best]) best = c, tie = false;
        else if (totals[c] == totals[*best]) tie = true;
    }
    if (tie) return std::nullopt;
    return candidates[*best];
}

}  // namespace quillom::scoring
