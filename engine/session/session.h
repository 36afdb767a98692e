// The session of one application: what the words typed there lately say
// about the next one. Fed by every contextual evaluation; the rules that read
// it (session language, language votes, the layout to follow, the word kept
// after a change of script, the word before) run here, after the scoring of
// the word itself.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "scoring/evaluate/rules_engine.h"
#include "session/layout_follow.h"
#include "session/recent_corrections.h"
#include "session/recent_languages.h"
#include "session/recent_words.h"
#include "session/session_language_tracker.h"

namespace quillom::session {

class Session {
public:
    explicit Session(const RulesEngine& engine) : engine_(engine) {}

    // The decision for a word typed in application appId on the layout of
    // activeInputSource; a new application starts a new session.
    RulesDecision evaluate(std::string_view token, std::string_view appId,
                           const std::optional<std::string>& activeInputSource, bool hasUnknownBeginning);
    void reset();

    // What a word typed in running text rewrites besides itself: the pieces
    // before it on screen, nearest last, one space between, and their new text.
    using WordsBefore = RecentWords::Along;
    // evaluate, with between, what was typed since the last word (see
    // RecentWords::beforeWord): a correction takes along the pieces before it
    // that the rules correct with it, or has the correction before read again;
    // a kept word that has the layout follow its language may have that
    // correction read again.
    RulesDecision evaluateInText(std::string_view token, std::string_view appId,
                                 const std::optional<std::string>& activeInputSource, bool hasUnknownBeginning,
                                 std::optional<std::string_view> between, WordsBefore& before);
    // A word not evaluated here came between: no word before goes along.
    void breakText() { recentWords_.breakText(); }

    // The word before token as it reads in target when it goes along with
    // token: a short word, quote or number typed before it, or the engine's
    // own correction into another language of target's script, with the
    // words typed after it, which token settled (see revisedSpan).
    std::optional<std::string> correctWordBefore(std::string_view previous, std::string_view token,
                                                 const std::string& target) const;

private:
    // evaluate; joined: the word follows the one before after a single mark.
    RulesDecision evaluateWord(std::string_view token, std::string_view appId,
                               const std::optional<std::string>& activeInputSource, bool hasUnknownBeginning,
                               bool joined);
    // shown: the language the correction shows (WordLanguages).
    void recordSession(std::string_view token, const RulesDecision& decision, const std::optional<std::string>& shown);
    // source: the layout the word was typed on.
    void recordLanguage(std::string_view token, const std::optional<std::string>& source, const RulesDecision& decision,
                        const WordLanguages& languages);
    // The word, kept as typed on the layout of source, joins the words after
    // a guess open to them.
    bool joinsSpan(std::string_view token, const std::optional<std::string>& source, const RulesDecision& decision,
                   std::optional<std::size_t> vote) const;
    std::optional<std::string> revisedSpan(const RevisableSpan& span, const std::string& target) const;
    WordsBefore wordsBefore(std::string_view token, const RulesDecision& decision, bool hasUnknownBeginning,
                            const std::optional<std::string>& typedOn) const;

    const RulesEngine& engine_;
    SessionLanguageTracker sessionTracker_{3};
    RecentLanguages recentLanguages_;      // fed like the tracker, when the rules ask for it
    RecentCorrections recentCorrections_;  // fed with the languages, when the rules ask for them
    RecentWords recentWords_;              // fed by evaluateInText only
    std::string lastAppId_;
    // The layout the last word was kept as typed on, in this application:
    // nothing after a correction or a word the engine did not see whole.
    std::optional<std::string> keptOn_;
    // That word was kept in a run of words on its layout begun by a change
    // of script by hand (SwitchRun).
    bool keptInSwitchRun_ = false;
};

}  // namespace quillom::session
