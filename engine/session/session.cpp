#include "session/session.h"

#include "session/run_span.h"
#include "session/script_switch.h"
#include "session/text_start.h"
#include "session/word_before.h"
#include "unicode/unicode.h"

namespace quillom::session {

namespace {

// What the rules after a word know: the word, the layout it was typed on,
// the layout the word before was kept on, the last words' languages (null
// unless the rules weigh them) and what the word says of its language.
struct AfterWord {
    const RulesConfig& config;
    std::string_view token;
    const std::optional<std::string>& typedOn;
    const std::optional<std::string>& keptOn;
    SwitchRun run;
    const scoring::LanguageVotes* votes;
    WordLanguages languages;
};

using RuleAfterWord = void (*)(AfterWord&, RulesDecision&);

// The rules applied to the decision of a word typed in the session, in order.
constexpr RuleAfterWord kRulesAfterWord[] = {
    // A word typed after the user changed the layout's script by hand stays
    // ("keep_word_after_script_switch").
    [](AfterWord& w, RulesDecision& d) { d = keptAfterScriptSwitch(w.config, w.keptOn, w.typedOn, std::move(d)); },
    // ... and so do the pieces joined to it, and to each other, by marks
    // ("keep_joined_piece_after_script_switch").
    [](AfterWord& w, RulesDecision& d) { d = keptInScriptSwitchRun(w.config, w.run, std::move(d)); },
    // A kept word of the language of another layout of its script, which
    // gives the same text: the layout follows it ("layout_follows_language").
    [](AfterWord& w, RulesDecision& d) { d = withLayoutToFollow(w.config, w.token, w.typedOn, w.votes, std::move(d)); },
    // What the word says of its language, once for the rule below and the
    // records of the session.
    [](AfterWord& w, RulesDecision& d) {
        if (w.votes && d.reason != Reason::ExcludedApp)
            w.languages = languagesOfWord(w.config, w.token, d, w.typedOn, w.votes);
    },
    // A correction that reads the same in another language of its script
    // goes where it is far more frequent ("same_text_layout_rank_margin").
    [](AfterWord& w, RulesDecision& d) { d = withTargetOfSameText(w.config, w.languages, w.votes, std::move(d)); },
};

// What was typed between the word before and this one is one mark and no
// space: the two are pieces of one string (etc/dconf).
bool joinedByMark(std::optional<std::string_view> between) {
    return between && !between->empty() && between->find(' ') == std::string_view::npos;
}

}  // namespace

void Session::reset() {
    sessionTracker_.reset();
    recentLanguages_.reset();
    recentCorrections_.reset();
    recentWords_.clear();
    keptOn_.reset();
    keptInSwitchRun_ = false;
}

RulesDecision Session::evaluateInText(std::string_view token, std::string_view appId,
                                      const std::optional<std::string>& activeInputSource, bool hasUnknownBeginning,
                                      std::optional<std::string_view> between, WordsBefore& before) {
    recentWords_.beforeWord(between);
    RulesDecision decision = evaluateWord(token, appId, activeInputSource, hasUnknownBeginning, joinedByMark(between));
    before = wordsBefore(token, decision, hasUnknownBeginning, activeInputSource);
    const bool corrects = decision.shouldCorrect && decision.correctedToken && !decision.correctedToken->empty();
    recentWords_.afterWord(token, hasUnknownBeginning, corrects || before.pieces > 0,
                           corrects ? std::string_view(*decision.correctedToken) : std::string_view());
    return decision;
}

// As the word's own replay would carry them (RecentWords::along).
Session::WordsBefore Session::wordsBefore(std::string_view token, const RulesDecision& decision,
                                          bool hasUnknownBeginning, const std::optional<std::string>& typedOn) const {
    if (hasUnknownBeginning || !decision.targetLanguage) return {};
    const bool corrects = decision.shouldCorrect && decision.correctedToken && !decision.correctedToken->empty();
    const bool follows = !decision.shouldCorrect && decision.reason == Reason::LayoutFollowsLanguage;
    if (!corrects && !follows) return {};
    const std::string& target = *decision.targetLanguage;
    const scoring::ScoringContext context{engine_.config(), engine_.index()};
    const bool numbers = engine_.config().decision.numberWithLettersTakenAlong;
    const auto nearRule = [&](std::string_view before) {
        std::optional<std::string> text = correctWordBefore(before, token, target);
        // A number with a unit typed on the corrected word's layout goes
        // with it in running text as at a text's start ("30vv cyfhzl").
        return text || !numbers ? text : numberWithUnitPiece(context, before, token, target);
    };
    // The text so far, typed on the layout of the word, goes along whole.
    if (corrects && engine_.config().decision.textStartTakenAlong) {
        std::string_view nearer;  // the pieces come nearest first
        WordsBefore whole = recentWords_.wholeStart([&](std::string_view before) {
            const bool beforeDash = isDashPiece(nearer);
            nearer = before;
            std::optional<std::string> text = nearRule(before);
            return text ? text : textStartPiece(context, before, token, target, typedOn, beforeDash);
        });
        if (whole.pieces > 0) return whole;
    }
    return recentWords_.along(corrects, nearRule);
}

RulesDecision Session::evaluate(std::string_view token, std::string_view appId,
                                const std::optional<std::string>& activeInputSource, bool hasUnknownBeginning) {
    return evaluateWord(token, appId, activeInputSource, hasUnknownBeginning, false);
}

RulesDecision Session::evaluateWord(std::string_view token, std::string_view appId,
                                    const std::optional<std::string>& activeInputSource, bool hasUnknownBeginning,
                                    bool joined) {
    if (appId != lastAppId_) {
        reset();
        lastAppId_ = std::string(appId);
    }
    if (hasUnknownBeginning) {
        keptOn_.reset();
        keptInSwitchRun_ = false;
        recentLanguages_.recordKeptOn(std::nullopt, false);
        recentLanguages_.recordCorrection(std::nullopt, std::nullopt);
        recentCorrections_.recordUnknown(token);
        if (engine_.config().protectEndingsAfterDelete) {
            RulesDecision d;
            d.reason = Reason::UnknownWordBeginning;
            return d;
        }
        return engine_.evaluate(token, appId, std::nullopt, std::nullopt);
    }
    const bool useVotes = engine_.config().decision.languageEvidence.enabled();
    const bool sameLayout = keptOn_ && activeInputSource && *keptOn_ == *activeInputSource;
    AfterWord after{engine_.config(),
                    token,
                    activeInputSource,
                    keptOn_,
                    {keptInSwitchRun_ && sameLayout, joined},
                    useVotes ? &recentLanguages_.votes() : nullptr,
                    {}};
    RulesDecision decision =
        engine_.evaluate(token, appId, activeInputSource, sessionTracker_.sessionLanguage(), after.votes);
    for (const RuleAfterWord rule : kRulesAfterWord) rule(after, decision);
    // Asked only while the rules keep such runs and on a change of layout:
    // plain words on one layout cost nothing more.
    keptInSwitchRun_ =
        engine_.config().decision.keepJoinedPieceAfterScriptSwitch && !decision.shouldCorrect && keptOn_ &&
        activeInputSource &&
        (after.run.continues || (!sameLayout && engine_.config().differentScripts(*keptOn_, *activeInputSource)));
    const bool changedByHand = !decision.shouldCorrect && keptOn_ && activeInputSource &&
                               *keptOn_ != *activeInputSource &&
                               engine_.config().sameScript(*keptOn_, *activeInputSource);
    keptOn_ = decision.shouldCorrect ? std::nullopt : activeInputSource;
    if (useVotes) {
        const RulesConfig& config = engine_.config();
        recentLanguages_.recordKeptOn(keptOn_ ? scoring::activeIndex(config, *keptOn_) : std::nullopt, changedByHand);
        const bool corrected = decision.shouldCorrect && decision.targetLanguage && activeInputSource;
        if (!spansCorrectedRun(config, recentLanguages_.votes(), token, activeInputSource, decision))
            recentLanguages_.recordCorrection(
                corrected ? scoring::activeIndex(config, *activeInputSource) : std::nullopt,
                corrected ? scoring::activeIndex(config, *decision.targetLanguage) : std::nullopt);
    }
    recordSession(token, decision, after.languages.shown);
    if (useVotes) recordLanguage(token, activeInputSource, decision, after.languages);
    return decision;
}

void Session::recordLanguage(std::string_view token, const std::optional<std::string>& source,
                             const RulesDecision& decision, const WordLanguages& languages) {
    if (decision.reason == Reason::ExcludedApp) return;
    const RulesConfig& config = engine_.config();
    recentLanguages_.record(static_cast<std::size_t>(config.decision.languageEvidence.window), languages.vote);
    // The layout follows such a correction on a guess.
    if (decision.shouldCorrect && decision.targetLanguage && languages.shown != decision.targetLanguage)
        if (const auto target = scoring::activeIndex(config, *decision.targetLanguage))
            recentLanguages_.recordGuess(*target);
    recentCorrections_.record(token, decision, languages.vote, joinsSpan(token, source, decision, languages.vote));
}

// Asked only while a correction on the layout typed on waits for words
// after it: plain words cost nothing more.
bool Session::joinsSpan(std::string_view token, const std::optional<std::string>& source, const RulesDecision& decision,
                        std::optional<std::size_t> vote) const {
    if (!source || decision.shouldCorrect) return false;
    const RevisableSpan* span = recentCorrections_.awaitingWordOn(*source);
    if (!span) return false;
    // A span with words after it was found a guess when the first joined.
    const RecentCorrection& c = span->correction;
    if (span->wordsAfter == 0 && !guessedBetweenTwins(engine_.config(), c.typed, c.source, c.target)) return false;
    return keepsGuessOpen(engine_.config(), token, *source, vote);
}

std::optional<std::string> Session::correctWordBefore(std::string_view previous, std::string_view token,
                                                      const std::string& target) const {
    if (const RevisableSpan* span = recentCorrections_.spanBefore(previous, token)) return revisedSpan(*span, target);
    const bool useVotes = engine_.config().decision.languageEvidence.enabled();
    return session::correctWordBefore({engine_.config(), engine_.index()}, previous, token, target,
                                      useVotes ? &recentLanguages_.votes() : nullptr);
}

// Only a word that counts for target among the last words settles it: a
// correction that was itself a guess between two languages does not. The
// words typed after a guess, on the layout it switched to, are read again
// with it; nothing when the whole reads as it stands.
std::optional<std::string> Session::revisedSpan(const RevisableSpan& span, const std::string& target) const {
    const RulesConfig& config = engine_.config();
    const std::optional<std::size_t> vote = recentCorrections_.latestVote();
    if (!vote || *vote >= config.activeLanguages.size() || config.activeLanguages[*vote] != target) return std::nullopt;
    const RecentCorrection& c = span.correction;
    std::optional<std::string> revised = revisedCorrection(config, c.typed, c.corrected, c.source, c.target, target);
    if (!revised) return std::nullopt;
    bool changed = *revised != c.corrected;
    std::string_view after = span.typedAfter;
    while (!after.empty()) {
        after.remove_prefix(1);  // the space
        const std::string_view word = after.substr(0, after.find(' '));
        after.remove_prefix(word.size());
        const std::string reading = wordAfterGuessRevised(config, word, c.target, target);
        changed = changed || reading != word;
        *revised += ' ';
        *revised += reading;
    }
    if (!changed) return std::nullopt;
    return revised;
}

void Session::recordSession(std::string_view token, const RulesDecision& decision,
                            const std::optional<std::string>& shown) {
    if (decision.reason == Reason::ExcludedApp) return;
    if (decision.shouldCorrect && decision.correctedToken) {
        // A correction that reads the same in another language of its script
        // went to its target by the order of the languages: it shows only
        // the language its own frequency gives it.
        if (engine_.config().decision.languageEvidence.enabled() && decision.targetLanguage) {
            sessionTracker_.recordWord(shown);
            return;
        }
        sessionTracker_.recordWord(decision.targetLanguage ? decision.targetLanguage
                                                           : engine_.singleSourceLanguage(*decision.correctedToken));
        return;
    }
    size_t letters = 0;
    for (std::string_view c : unicode::graphemes(token))
        if (unicode::isLetterChar(c)) ++letters;
    if (letters > 2) sessionTracker_.recordWord(engine_.singleSourceLanguage(token));
}

}  // namespace quillom::session
