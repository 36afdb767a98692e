// The engine's own last corrections in the current application: what a
// correction was made from and to, and the words typed after it, so that a
// later word, when it settles the language, can have them read again.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "scoring/judge/rules_decision.h"

namespace quillom::session {

struct RecentCorrection {
    std::string typed;      // the word as it was typed
    std::string corrected;  // what the correction typed for it
    std::string source;     // the language of the layout it was typed on
    std::string target;     // the language it was corrected to
};

// A correction still open to be read again, with the words typed after it,
// one space before each, all kept as typed on the layout of its target.
struct RevisableSpan {
    // Words after a correction that it stays open across; a guess only.
    static constexpr std::size_t kMaxWordsAfter = 3;

    RecentCorrection correction;
    bool votesChose = false;  // the last words chose its language: no guess
    std::string typedAfter;   // " с передней": what was typed after it
    std::size_t wordsAfter = 0;

    // The words as typed, from the correction on, one space between.
    bool typedAs(std::string_view text) const {
        return text.size() == correction.typed.size() + typedAfter.size() && text.starts_with(correction.typed) &&
               text.substr(correction.typed.size()) == typedAfter;
    }
};

class RecentCorrections {
public:
    // The span open to a word typed on the layout of `source` joining the
    // words after it, when the caller finds its correction a guess (see
    // record); null when there is none.
    const RevisableSpan* awaitingWordOn(std::string_view source) const {
        if (!open_ || open_->votesChose || open_->wordsAfter >= RevisableSpan::kMaxWordsAfter ||
            source != open_->correction.target)
            return nullptr;
        return &*open_;
    }

    // The latest evaluated word, its decision and the language it counts for
    // among the last words (see session::languagesOfWord). The span open
    // before it becomes the one the word may settle; joinsSpan: the word, kept
    // as typed, joins the words after it (asked only of awaitingWordOn's).
    // A correction opens a span of its own.
    void record(std::string_view token, const RulesDecision& decision, std::optional<std::size_t> vote,
                bool joinsSpan = false) {
        settleable_ = std::move(open_);
        open_.reset();
        if (settleable_ && joinsSpan) {
            open_ = settleable_;
            open_->typedAfter += ' ';
            open_->typedAfter += token;
            ++open_->wordsAfter;
        }
        if (decision.shouldCorrect && decision.correctedToken && decision.sourceLanguage && decision.targetLanguage)
            open_ = RevisableSpan{
                {std::string(token), *decision.correctedToken, *decision.sourceLanguage, *decision.targetLanguage},
                decision.reason == Reason::SessionLanguageTieBreak,
                {},
                0};
        latestToken_ = std::hash<std::string_view>{}(token);
        latestVote_ = vote;
    }

    // A word whose decision is not known (its beginning was not seen).
    void recordUnknown(std::string_view token) { record(token, RulesDecision{}, std::nullopt); }

    void reset() {
        settleable_.reset();
        open_.reset();
        latestToken_.reset();
        latestVote_.reset();
    }

    // The span open just before `token`, when `token` is the latest word and
    // `previous` is what was typed from the correction up to it.
    const RevisableSpan* spanBefore(std::string_view previous, std::string_view token) const {
        if (!settleable_ || latestToken_ != std::hash<std::string_view>{}(token) || !settleable_->typedAs(previous))
            return nullptr;
        return &*settleable_;
    }

    // The language the latest word counts for; nothing when it counts for none.
    std::optional<std::size_t> latestVote() const { return latestVote_; }

private:
    std::optional<RevisableSpan> settleable_;  // open before the latest word
    std::optional<RevisableSpan> open_;        // open after it
    std::optional<std::size_t> latestToken_;   // a hash: plain words allocate nothing
    std::optional<std::size_t> latestVote_;
};

}  // namespace quillom::session
