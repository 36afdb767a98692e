#include "scoring/language_votes.h"

#include <limits>

#include "unicode/unicode.h"

namespace quillom::scoring {

namespace {

// Longest word looked up, in bytes of its lower-cased UTF-8.
constexpr std::size_t maxWordBytes = 96;

std::optional<std::size_t> activeIndex(const RulesConfig& config, std::string_view language) {
    for (std::size_t i = 0; i < config.activeLanguages.size() && i < LanguageVotes::maxLanguages; ++i)
        if (config.activeLanguages[i] == language) return i;
    return std::nullopt;
}

bool isApostrophe(char32_t c) { return c == U'\'' || c == U'\u2019'; }

std::size_t appendUtf8(char32_t c, std::array<char, maxWordBytes>& out, std::size_t size) {
    char buffer[4];
    std::size_t n = 0;
    if (c < 0x80) {
        buffer[n++] = static_cast<char>(c);
    } else if (c < 0x800) {
        buffer[n++] = static_cast<char>(0xC0 | (c >> 6));
        buffer[n++] = static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        buffer[n++] = static_cast<char>(0xE0 | (c >> 12));
        buffer[n++] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        buffer[n++] = static_cast<char>(0x80 | (c & 0x3F));
    } else {
        buffer[n++] = static_cast<char>(0xF0 | (c >> 18));
        buffer[n++] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        buffer[n++] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        buffer[n++] = static_cast<char>(0x80 | (c & 0x3F));
    }
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

std::optional<std::size_t> languageOfWord(const RulesConfig& config, std::string_view word) {
    std::array<char, maxWordBytes> buffer;
    std::size_t size = lowerLetters(word, buffer);
    if (size == 0) return std::nullopt;
    const std::string_view lower(buffer.data(), size);
    // An unranked listed word counts as rarer than every ranked one.
    constexpr int64_t unranked = std::numeric_limits<int32_t>::max();
    std::optional<std::size_t> best;
    int64_t bestBand = 0, runnerUp = std::numeric_limits<int64_t>::max();
    for (std::size_t i = 0; i < config.activeLanguages.size() && i < LanguageVotes::maxLanguages; ++i) {
        const LanguageConfig* language = config.language(config.activeLanguages[i]);
        auto band = language ? language->rankBand(lower) : std::nullopt;
        if (!band) continue;
        int64_t b = *band == PackedLexicon::kUnranked ? unranked : static_cast<int64_t>(*band);
        if (!best || b < bestBand) {
            if (best) runnerUp = bestBand;
            best = i;
            bestBand = b;
        } else if (b < runnerUp) {
            runnerUp = b;
        }
    }
    if (!best || runnerUp == std::numeric_limits<int64_t>::max()) return best;
    const int64_t margin = config.decision.languageEvidence.twinRankMargin;
    if (margin > 0 && bestBand != unranked && runnerUp - bestBand >= margin) return best;
    return std::nullopt;
}

void RecentLanguages::record(std::size_t window, std::optional<std::size_t> language) {
    if (!language || *language >= LanguageVotes::maxLanguages || window == 0) return;
    window = std::min(window, capacity);
    if (filled_ > window) reset();
    if (filled_ == window) {
        std::size_t oldest = (next_ + capacity - window) % capacity;
        --votes_.counts[ring_[oldest]];
    } else {
        ++filled_;
    }
    ring_[next_] = static_cast<std::uint8_t>(*language);
    ++votes_.counts[*language];
    next_ = (next_ + 1) % capacity;
}

void RecentLanguages::reset() {
    next_ = 0;
    filled_ = 0;
    votes_ = LanguageVotes{};
}

}  // namespace quillom::scoring
