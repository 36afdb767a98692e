#include "scoring/judge/language_votes.h"

#include <algorithm>

#include "unicode/unicode.h"

namespace quillom::scoring {

namespace {

// Longest word looked up, in bytes of its lower-cased UTF-8.
constexpr std::size_t maxWordBytes = 96;

// Rank bands up to this one hold the frequent words of a language.
constexpr int64_t kFrequentBand = 30;

}  // namespace

std::optional<std::size_t> activeIndex(const RulesConfig& config, std::string_view language) {
    for (std::size_t i = 0; i < config.activeLanguages.size() && i < LanguageVotes::maxLanguages; ++i)
        if (config.activeLanguages[i] == language) return i;
    return std::nullopt;
}

namespace {

bool isApostrophe(char32_t c) { return c == U'\'' || c == U'\u2019'; }

std::size_t appendUtf8(char32_t c, std::array<char, maxWordBytes>& out, std::size_t size) {
    // With room for the longest encoding, straight into place.
    if (size + 4 <= out.size()) return size + unicode::encodeScalar(c, out.data() + size);
    char buffer[4];
    const std::size_t n = unicode::encodeScalar(c, buffer);
    if (size + n > out.size()) return 0;
    for (std::size_t i = 0; i < n; ++i) out[size++] = buffer[i];
    return size;
}

// The word lower-cased, without the marks around it, into `out`; its size, or
// 0 when it holds something other than letters and inner apostrophes, fewer
// than 2 letters, or does not fit.
std::size_t lowerLetters(std::string_view word, std::array<char, maxWordBytes>& out) {
    std::size_t size = 0, sizeAtLastLetter = 0, letters = 0;
    bool ended = false;  // a mark after the letters: only marks may follow
    for (std::size_t pos = 0; pos < word.size();) {
        char32_t c = unicode::decodeScalar(word, pos);
        if (unicode::isLetter(c)) {
            if (ended) return 0;
            size = appendUtf8(unicode::toLower(c), out, size);
            if (size == 0) return 0;
            sizeAtLastLetter = size;
            ++letters;
        } else if (letters > 0 && !ended && isApostrophe(c)) {
            size = appendUtf8(U'\'', out, size);
            if (size == 0) return 0;
        } else if (letters > 0) {
            ended = true;
        }
    }
    return letters >= 2 ? sizeAtLastLetter : 0;
}

}  // namespace

int LanguageVotes::countOf(const RulesConfig& config, std::string_view language) const {
    auto i = activeIndex(config, language);
    return i ? counts[*i] : 0;
}

bool votesFavour(const RulesConfig& config, const LanguageVotes* votes, std::string_view language,
                 std::string_view other) {
    const LanguageEvidenceConfig& evidence = config.decision.languageEvidence;
    if (!votes || !evidence.enabled()) return false;
    return votes->countOf(config, language) >= votes->countOf(config, other) + evidence.minLead;
}

bool votesFavourScriptOf(const RulesConfig& config, const LanguageVotes* votes, const std::string& language,
                         std::string_view other) {
    const LanguageConfig* own = config.language(language);
    if (!own || !votes) return false;
    for (const std::string& key : config.activeLanguages) {
        const LanguageConfig* active = config.language(key);
        if (active && active->script == own->script && votesFavour(config, votes, key, other)) return true;
    }
    return false;
}

bool noLanguageCounted(const LanguageVotes* votes) {
    return !votes || std::all_of(votes->counts.begin(), votes->counts.end(), [](std::uint8_t n) { return n == 0; });
}

bool writtenMostly(const RulesConfig& config, const LanguageVotes* votes, std::string_view language,
                   std::string_view other) {
    if (!votes || !config.decision.languageEvidence.enabled()) return false;
    const std::optional<std::size_t> a = activeIndex(config, language), b = activeIndex(config, other);
    if (!a || !b) return false;
    const int mine = votes->written[*a], theirs = votes->written[*b];
    return mine >= 4 && mine >= 3 * theirs;
}

bool votesLeanAwayFrom(const RulesConfig& config, const LanguageVotes* votes, std::string_view language) {
    if (!votes) return false;
    const int own = votes->countOf(config, language);
    for (std::size_t i = 0; i < config.activeLanguages.size() && i < LanguageVotes::maxLanguages; ++i)
        if (votes->counts[i] > own) return true;
    return false;
}

bool farMoreFrequentReading(const RulesConfig& config, const LanguageConfig& source, std::string_view typed,
                            const LanguageConfig& target, std::string_view reading, int64_t factor) {
    const LanguageEvidenceConfig& evidence = config.decision.languageEvidence;
    if (!evidence.enabled() || evidence.twinRankMargin <= 0) return false;
    constexpr int64_t unranked = LanguageConfig::kUnrankedOrder;
    const int64_t readingBand = target.frequencyOrder(reading).value_or(unranked);
    return readingBand != unranked &&
           readingBand + factor * evidence.twinRankMargin <= source.frequencyOrder(typed).value_or(unranked);
}

std::optional<std::size_t> languageOfWord(const RulesConfig& config, std::string_view word,
                                          const LanguageVotes* votes) {
    std::array<char, maxWordBytes> buffer;
    std::size_t size = lowerLetters(word, buffer);
    if (size == 0) return std::nullopt;
    const std::string_view lower(buffer.data(), size);
    std::array<std::optional<int64_t>, LanguageVotes::maxLanguages> orders{};
    const std::size_t count = std::min(config.activeLanguages.size(), LanguageVotes::maxLanguages);
    for (std::size_t i = 0; i < count; ++i) {
        const LanguageConfig* language = config.language(config.activeLanguages[i]);
        if (language) orders[i] = language->frequencyOrder(lower);
    }
    const LanguageEvidenceConfig& evidence = config.decision.languageEvidence;
    const auto language = clearlyMoreFrequent(std::span(orders.data(), count), evidence.twinRankMargin);
    if (!language) return std::nullopt;
    for (std::size_t i = 0; i < count; ++i) {
        if (i == *language || !orders[i]) continue;
        // Among the frequent words of another active language too (на, до):
        // the bands of the most frequent words, counted in other texts, do not
        // tell the languages apart.
        if (*orders[i] <= kFrequentBand) return std::nullopt;
        // Listed as the same text, it is a word of both (of one script):
        // bands counted in different corpora tell only a wide gap, wider
        // against the language the user writes.
        if (evidence.sameTextRankMargin <= 0) continue;
        const int64_t margin =
            writtenMostly(config, votes, config.activeLanguages[i], config.activeLanguages[*language])
                ? kWrittenSameTextMarginFactor * evidence.sameTextRankMargin
                : evidence.sameTextRankMargin;
        if (*orders[i] == LanguageConfig::kUnrankedOrder || *orders[*language] + margin > *orders[i])
            return std::nullopt;
    }
    return language;
}

}  // namespace quillom::scoring
