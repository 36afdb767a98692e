#include "scoring/score/token_scorer.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "layout/token_mapping.h"
#include "unicode/unicode.h"

namespace quillom::scoring {

namespace {

bool hasPrefixIn(const TextChars& token, const WordSet& set, std::size_t longest, std::size_t shortest = 1) {
    if (set.empty()) return false;
    for (std::size_t k = shortest; k <= std::min(longest, token.size()); ++k)
        if (set.contains(token.prefix(k))) return true;
    return false;
}

bool hasSuffixIn(const TextChars& token, const WordSet& set, std::size_t longest) {
    if (set.empty()) return false;
    for (std::size_t k = 1; k <= std::min(longest, token.size()); ++k)
        if (set.contains(token.suffix(k))) return true;
    return false;
}

// The boost of the matching suffix that comes first in the configured list.
double suffixBoost(const TextChars& token, const AffixIndex& affixes) {
    const std::pair<std::size_t, double>* best = nullptr;
    for (std::size_t k = 1; k <= std::min(affixes.longestSuffix, token.size()); ++k) {
        auto it = affixes.suffixBoosts.find(token.suffix(k));
        if (it != affixes.suffixBoosts.end() && (!best || it->second.first < best->first)) best = &it->second;
    }
    return best ? best->second : 0.0;
}

bool anyMatches(const std::vector<regex::Regex>& patterns, const regex::Subject& token) {
    for (const regex::Regex& pattern : patterns)
        if (pattern.search(token)) return true;
    return false;
}

bool hasVowel(const TextChars& token, const CharTable<bool>& vowels) {
    for (std::size_t i = 0; i < token.size(); ++i)
        if (vowels.find(token[i])) return true;
    return false;
}

// A micro-dictionary word, or a word that begins with one of 4 characters or more.
bool isFrequentToken(const TextChars& token, std::string_view word, const LanguageConfig& language,
                     const AffixIndex& affixes) {
    if (language.microDictionary.contains(word)) return true;
    if (token.size() < kMicroWordHead || !affixes.microWordHeads.contains(token.prefix(kMicroWordHead))) return false;
    return hasPrefixIn(token, language.microDictionary, affixes.longestMicroWord, kMicroWordHead);
}

struct PairStats {
    double sum = 0.0;
    std::size_t unknown = 0;
};

// The character's scalar when it is one hot scalar (see ScalarPairWeights).
bool oneHotScalar(std::string_view character, char32_t& scalar) {
    std::size_t end = 0;
    scalar = unicode::decodeScalar(character, end);
    return end == character.size() && ScalarPairWeights::isHot(scalar);
}

// pairs: the same weights as a table, for the pairs it covers; may be null.
PairStats bigramStats(const TextChars& token, const LanguageConfig& language, const ScalarPairWeights* pairs) {
    PairStats stats;
    char32_t a = 0, b = 0;
    bool hotA = token.size() >= 2 && pairs && oneHotScalar(token[0], a);
    for (std::size_t i = 0; i + 1 < token.size(); ++i) {
        const bool hotB = pairs && oneHotScalar(token[i + 1], b);
        const double* weight = nullptr;
        if (hotA && hotB) {
            weight = pairs->find(a, b);
        } else {
            auto it = language.bigramLogWeights.find(token.slice(i, 2));
            if (it != language.bigramLogWeights.end()) weight = &it->second;
        }
        hotA = hotB;
        a = b;
        if (weight) {
            stats.sum += *weight;
        } else {
            stats.sum += language.unknownBigramWeight;
            ++stats.unknown;
        }
    }
    return stats;
}

void scoreStartsAndEnds(const ScoringWeights& w, const TextChars& token, const AffixIndex& affixes,
                        ScoreBreakdown& score) {
    if (hasPrefixIn(token, affixes.strongStarts, affixes.longestStart)) score.strongWordStart = w.strongWordStart;
    if (score.strongWordStart == 0.0 && hasPrefixIn(token, affixes.weakStarts, affixes.longestStart))
        score.weakWordStart = w.weakWordStart;
    if (hasSuffixIn(token, affixes.strongEnds, affixes.longestEnd)) score.strongWordEnd = w.strongWordEnd;
    if (score.strongWordEnd == 0.0 && hasSuffixIn(token, affixes.weakEnds, affixes.longestEnd))
        score.weakWordEnd = w.weakWordEnd;
    score.learnedSuffixBoost = suffixBoost(token, affixes);
}

void scorePatterns(const ScoringWeights& w, const TextChars& token, const LanguageConfig& language,
                   ScoreBreakdown& score) {
    if (score.exactCommonWord > 0.0) return;
    const regex::Subject subject(token.text());
    // Every address contains a dot; skip the expression for the common case.
    bool isAddress = token.text().find('.') != std::string_view::npos && addressPattern().search(subject);
    if (!isAddress && anyMatches(language.impossiblePatterns, subject)) {
        score.impossiblePatternPenalty = w.impossiblePattern;
        if (w.impossiblePattern != 0.0) return;
    }
    if (anyMatches(language.rarePatterns, subject)) score.rarePatternPenalty = w.rarePattern;
}

// Map: a CharMap, or a CharTable<std::string> of the same entries.
template <typename Map>
TextChars sanitizedBy(const Map& map, const TextChars& source) {
    TextChars out;
    for (std::size_t i = 0; i < source.size(); ++i) {
        std::string_view c = source[i];
        if (!unicode::isLetterChar(c)) {
            const std::string* mapped = layout::detail::lookup(map, c);
            if (mapped && unicode::isLetterChar(*mapped)) continue;
        }
        out.append(c);
    }
    return out;
}

}  // namespace

ScoreBreakdown scoreToken(const ScoringContext& context, const TextChars& token, const std::string& languageKey) {
    ScoreBreakdown score;
    const LanguageConfig* language = context.config.language(languageKey);
    const AffixIndex* affixes = context.index.affixes(languageKey);
    if (!language || !affixes) return score;
    const ScoringWeights& w = context.config.decision.scoringWeights;
    const std::string_view word = token.text();

    if (language->isCommonWord(word)) score.exactCommonWord = w.exactCommonWord;
    if (hasVowel(token, affixes->vowels)) score.vowelBonus = w.hasLanguageVowel;

    bool readAffixes = true;
    if (token.size() >= 2) {
        PairStats stats = bigramStats(token, *language, &affixes->pairWeights);
        double mean = stats.sum / static_cast<double>(token.size() - 1);
        score.bigramScore = language->ngramScoringScale * mean;
        readAffixes = stats.unknown < 2 && mean > -1.0;
    }
    if (readAffixes) scoreStartsAndEnds(w, token, *affixes, score);
    if (isFrequentToken(token, word, *language, *affixes)) score.frequentTokenBonus = w.frequentTokenBonus;
    scorePatterns(w, token, *language, score);
    return score;
}

std::size_t countUnknownBigrams(const TextChars& token, const LanguageConfig* language,
                                const ScalarPairWeights* pairs) {
    if (!language || token.size() < 2) return 0;
    return bigramStats(token, *language, pairs).unknown;
}

double layoutSuspicionBonus(const RulesConfig& config, std::string_view token, const LayoutDirection& direction) {
    const std::vector<LayoutSuspicionRule>* rules = nullptr;
    if (direction.from == "en" && direction.to == "ru") rules = &config.layoutSuspicion.latinSuspiciousForRu;
    if (direction.from == "ru" && direction.to == "en") rules = &config.layoutSuspicion.cyrillicSuspiciousForEn;
    if (!rules || rules->empty()) return 0.0;
    const regex::Subject subject(token);
    double bonus = 0.0;
    for (const LayoutSuspicionRule& rule : *rules)
        if (rule.regex.search(subject)) bonus += rule.bonus;
    return bonus;
}

double sameScriptPhoneticAdjustment(const TextChars& source) {
    if (source.size() < 2) return 0.0;
    double adjustment = 0.0;
    for (std::size_t i = 0; i < source.size(); ++i) {
        std::string_view c = source[i];
        if (c == "ы") adjustment += i + 1 == source.size() ? -28.0 : 10.0;
        else if (c == "э") adjustment += i == 0 ? -20.0 : 4.0;
        else if (c == "ъ") adjustment += -6.0;
    }
    return adjustment;
}

TextChars sanitizeSourceForScoring(const RulesConfig& config, const TextChars& source,
                                   const LayoutDirection& direction) {
    return sanitizedBy(layout::lowerMapFor(config.keyboardLayout, direction), source);
}

TextChars sanitizeSourceForScoring(const ScoringContext& context, const TextChars& source,
                                   const LayoutDirection& direction) {
    return sanitizedBy(context.index.layoutTables(direction).lower, source);
}

std::pair<const LanguageConfig*, const LanguageConfig*> languagesForDirection(const RulesConfig& config,
                                                                              const LayoutDirection& direction) {
    return {config.language(direction.from), config.language(direction.to)};
}

const regex::Regex& addressPattern() {
    static const regex::Regex pattern = [] {
        const std::string domain =
            "[a-z0-9-]+(?:\\.[a-z0-9-]+)*\\.(?:com|net|org|io|me|co|ru|ua|by|kz|uk|us|eu|de|fr|it|es|pl|nl|cn|"
            "jp|kr|in|br|info|biz|app|dev|ai|tech|store|online|site|xyz|edu|gov)";
        auto compiled = regex::Regex::compile("^(?:[a-z0-9._%+-]+@" + domain + "|" + domain + ")(?:/\\S*)?$", true);
        // A constant expression that fails to compile is a defect of this build.
        if (!compiled) std::abort();
        return std::move(*compiled);
    }();
    return pattern;
}

}  // namespace quillom::scoring
