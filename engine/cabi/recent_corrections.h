// The engine's own last corrections in the current application: what the
// word before the latest one was corrected from and to, so that the latest
// word, when it settles the language, can have it read again.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "scoring/rules_decision.h"

namespace quillom {

struct RecentCorrection {
    std::string typed;   // the word as it was typed
    std::string source;  // the language of the layout it was typed on
    std::string target;  // the language it was corrected to
};

class RecentCorrections {
public:
    // The latest evaluated word, its decision and the language it counts for
    // among the last words (see scoring::votingLanguage).
    void record(std::string_view token, const RulesDecision& decision, std::optional<std::size_t> vote) {
        before_ = std::move(latest_);
        latest_.reset();
        if (decision.shouldCorrect && decision.correctedToken && decision.sourceLanguage && decision.targetLanguage)
            latest_ = RecentCorrection{std::string(token), *decision.sourceLanguage, *decision.targetLanguage};
        latestToken_ = std::hash<std::string_view>{}(token);
        latestVote_ = vote;
    }

    // A word whose decision is not known (its beginning was not seen).
    void recordUnknown(std::string_view token) { record(token, RulesDecision{}, std::nullopt); }

    void reset() {
        before_.reset();
        latest_.reset();
        latestToken_.reset();
        latestVote_.reset();
    }

    // The correction of the word evaluated just before `token`, when `token`
    // is the latest word and `previous` is what was typed for that correction.
    const RecentCorrection* correctionBefore(std::string_view previous, std::string_view token) const {
        if (!before_ || latestToken_ != std::hash<std::string_view>{}(token) || before_->typed != previous)
            return nullptr;
        return &*before_;
    }

    // The language the latest word counts for; nothing when it counts for none.
    std::optional<std::size_t> latestVote() const { return latestVote_; }

private:
    std::optional<RecentCorrection> before_, latest_;
    std::optional<std::size_t> latestToken_;  // a hash: plain words allocate nothing
    std::optional<std::size_t> latestVote_;
};

}  // namespace quillom
