#include "session/recent_languages.h"

#include <algorithm>

namespace quillom::session {

using scoring::LanguageVotes;

void RecentLanguages::record(std::size_t window, std::optional<std::size_t> language) {
    if (!language || *language >= LanguageVotes::maxLanguages || window == 0) return;
    votes_.guessedLayout.reset();
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
    if (++votes_.written[*language] >= LanguageVotes::writtenCap)
        for (std::uint16_t& n : votes_.written) n /= 2;
    next_ = (next_ + 1) % capacity;
}

void RecentLanguages::recordGuess(std::size_t language) {
    if (language < LanguageVotes::maxLanguages) votes_.guessedLayout = static_cast<std::uint8_t>(language);
}

void RecentLanguages::recordKeptOn(std::optional<std::size_t> layout, bool changedByHand) {
    votes_.keptOn.reset();
    // A correction switches the layout itself.
    if (!layout) votes_.chosenByHand.reset();
    if (!layout || *layout >= LanguageVotes::maxLanguages) return;
    votes_.keptOn = static_cast<std::uint8_t>(*layout);
    if (changedByHand) votes_.chosenByHand = votes_.keptOn;
}

void RecentLanguages::recordCorrection(std::optional<std::size_t> from, std::optional<std::size_t> into) {
    LanguageVotes::CorrectedRun& run = votes_.correctedRun;
    if (!from || !into || *from >= LanguageVotes::maxLanguages || *into >= LanguageVotes::maxLanguages) {
        run = {};
        return;
    }
    if (run.words > 0 && run.from == *from && run.into == *into) {
        if (run.words < UINT8_MAX) ++run.words;
        return;
    }
    run = {static_cast<std::uint8_t>(*from), static_cast<std::uint8_t>(*into), 1};
}

void RecentLanguages::reset() {
    next_ = 0;
    filled_ = 0;
    const auto written = votes_.written;
    votes_ = LanguageVotes{};
    votes_.written = written;
}

}  // namespace quillom::session
