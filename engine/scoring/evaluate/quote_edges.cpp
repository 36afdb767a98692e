#include "scoring/evaluate/quote_edges.h"

#include "layout/token_mapping.h"
#include "scoring/choose/decision_selection.h"
#include "scoring/read/text_chars.h"
#include "unicode/unicode.h"

namespace quillom::scoring {

namespace {

bool isQuoteKey(char c) { return c == '\'' || c == '`'; }

bool hasScript(const RulesConfig& config, const std::optional<std::string>& key, std::string_view script) {
    const LanguageConfig* language = key ? config.language(*key) : nullptr;
    return language && language->script == script;
}

bool readAsLetter(const CharMap& map, char key) {
    auto it = map.find(std::string_view(&key, 1));
    return it != map.end() && unicode::isLetterChar(it->second);
}

// The first character after the opening quote key is a capital letter.
bool opensCapital(std::string_view token, const QuoteEdges& edges) {
    if (edges.leading == 0) return false;
    const std::size_t end = unicode::nextGraphemeBreak(token, edges.leading);
    const std::string_view first = token.substr(edges.leading, end - edges.leading);
    return unicode::isLetterChar(first) && unicode::isUpperChar(first);
}

}  // namespace

QuoteEdges quoteKeyEdges(const RulesConfig& config, std::string_view token, const RulesDecision& whole) {
    if (token.size() < 2 || !(isQuoteKey(token.front()) || isQuoteKey(token.back()))) return {};
    if (!whole.shouldCorrect || !hasScript(config, whole.sourceLanguage, "latin") ||
        !hasScript(config, whole.targetLanguage, "cyrillic"))
        return {};
    const CharMap& map = layout::lowerMapFor(config.keyboardLayout, {*whole.sourceLanguage, *whole.targetLanguage});
    const auto isEdgeKey = [&](char c) { return isQuoteKey(c) && readAsLetter(map, c); };
    QuoteEdges edges;
    while (edges.leading < token.size() && isEdgeKey(token[edges.leading])) ++edges.leading;
    while (edges.trailing < token.size() - edges.leading && isEdgeKey(token[token.size() - 1 - edges.trailing]))
        ++edges.trailing;
    if (edges.leading + edges.trailing >= token.size()) return {};
    return edges;
}

QuoteEdges graveKeyEdges(const RulesConfig& config, std::string_view token) {
    if (!config.tokenization.graveKeyQuotesAtEdges || token.size() < 2 || (token.front() != '`' && token.back() != '`'))
        return {};
    QuoteEdges edges;
    while (edges.leading < token.size() && token[edges.leading] == '`') ++edges.leading;
    while (edges.trailing < token.size() - edges.leading && token[token.size() - 1 - edges.trailing] == '`')
        ++edges.trailing;
    // Two in a row are typed as they are (``Максимальний), not apostrophes.
    if (edges.leading > 1 || edges.trailing > 1 || edges.leading + edges.trailing >= token.size()) return {};
    return edges;
}

InlineQuoteReadings quoteReadings(const QuoteEdges& edges) {
    InlineQuoteReadings out;
    out.readings[out.size++] = edges;
    if (edges.leading > 0 && edges.trailing > 0) {
        out.readings[out.size++] = {0, edges.trailing};
        out.readings[out.size++] = {edges.leading, 0};
    }
    return out;
}

QuoteVerdict judgeQuotes(const RulesConfig& config, std::string_view token, const QuoteEdges& reading,
                         const RulesDecision& whole, const RulesDecision& core) {
    if (!reading.any() || !core.shouldCorrect || !hasScript(config, core.targetLanguage, "cyrillic"))
        return QuoteVerdict::Letters;
    const bool capital = opensCapital(token, reading);
    if (!capital && isKnownWordInAnyTarget(config, whole.correctedToken)) return QuoteVerdict::Letters;
    if (isKnownWordInAnyTarget(config, core.correctedToken)) return QuoteVerdict::Listed;
    return capital || (reading.leading > 0 && reading.trailing > 0) ? QuoteVerdict::Plausible : QuoteVerdict::Letters;
}

std::string withInnerQuotesBeforeCapitals(const RulesConfig& config, std::string_view token,
                                          const RulesDecision& decision) {
    std::string corrected = decision.correctedToken.value_or("");
    if (token.find_first_of("'`") == std::string_view::npos || !decision.shouldCorrect ||
        !hasScript(config, decision.sourceLanguage, "latin") || !hasScript(config, decision.targetLanguage, "cyrillic"))
        return corrected;
    const TextChars typed(token), read(corrected);
    if (typed.size() != read.size()) return corrected;
    std::string out;
    for (std::size_t i = 0; i < read.size(); ++i) {
        const bool quote = i > 0 && i + 1 < read.size() && typed[i].size() == 1 && isQuoteKey(typed[i][0]) &&
                           unicode::isLetterChar(read[i]) && !unicode::isUpperChar(read[i]) &&
                           unicode::isLetterChar(read[i - 1]) && unicode::isLetterChar(read[i + 1]) &&
                           unicode::isUpperChar(read[i + 1]);
        out += quote ? typed[i] : read[i];
    }
    return out;
}

}  // namespace quillom::scoring
