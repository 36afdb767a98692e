// The last words' languages in one application, as the votes the scoring of
// the next word reads (scoring::LanguageVotes).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "config/rules_config.h"
#include "scoring/judge/language_votes.h"

namespace quillom::session {

// The last words' languages in one application: a ring of the configured
// window with the counts kept up to date.
class RecentLanguages {
public:
    void record(std::size_t window, std::optional<std::size_t> language);
    // The word just recorded was a correction into this language that showed
    // none (see scoring::LanguageVotes::guessedLayout); a word that counts for a
    // language ends the guess.
    void recordGuess(std::size_t language);
    // The layout the word just evaluated was kept on, nothing when it was
    // corrected, and whether the user had changed to it by hand from another
    // layout of its script (see scoring::LanguageVotes::keptOn, chosenByHand).
    void recordKeptOn(std::optional<std::size_t> layout, bool changedByHand);
    // The word just evaluated was corrected from the layout `from` into the
    // language `into` (by position); nothing when it was kept (see
    // scoring::LanguageVotes::correctedRun).
    void recordCorrection(std::optional<std::size_t> from, std::optional<std::size_t> into);
    // Forgets the last words, not what was written lately.
    void reset();
    const scoring::LanguageVotes& votes() const { return votes_; }

private:
    static constexpr std::size_t capacity = static_cast<std::size_t>(LanguageEvidenceConfig::maxWindow);
    std::array<std::uint8_t, capacity> ring_{};
    std::size_t next_ = 0;
    std::size_t filled_ = 0;
    scoring::LanguageVotes votes_;
};

}  // namespace quillom::session
