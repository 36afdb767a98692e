#include "cabi/engine_handle.h"

#include <filesystem>

#include "config/engine_log.h"
#include "config/file_bytes.h"
#include "config/json.h"
#include "config/packed_lexicon.h"
#include "config/user_preferences.h"
#include "scoring/layout_follow.h"
#include "scoring/script_switch.h"
#include "scoring/word_before.h"
#include "unicode/unicode.h"

namespace quillom {

namespace {

// The packed lexicon the rules object names, read from the rules file's
// folder. False when it names one that cannot be used: an engine without the
// words it was built for would correct valid words.
bool loadNamedLexicon(const json::Value& root, const std::string& rulesPath, std::optional<PackedLexiconFile>& out) {
    const json::Value* named = json::findObject(root, "packed_lexicon");
    if (!named) return true;
    const auto file = json::findString(*named, "file");
    const auto id = json::findString(*named, "id");
    std::string error = "packed_lexicon needs a plain file name and an id";
    if (file && id && !file->empty() && file->find_first_of("/\\:") == std::string::npos && *file != "." &&
        *file != "..") {
        const std::filesystem::path rules(std::u8string(rulesPath.begin(), rulesPath.end()));
        const std::u8string path = (rules.parent_path() / std::u8string(file->begin(), file->end())).u8string();
        out = PackedLexiconFile::load(std::string(path.begin(), path.end()), *id, &error);
        if (out) return true;
    }
    engineLog("packed lexicon not loaded: " + error);
    return false;
}

// What the rules after a word know: the word, the layout it was typed on,
// the layout the word before was kept on, the last words' languages (null
// unless the rules weigh them) and what the word says of its language.
struct AfterWord {
    const RulesConfig& config;
    std::string_view token;
    const std::optional<std::string>& typedOn;
    const std::optional<std::string>& keptOn;
    const scoring::LanguageVotes* votes;
    scoring::WordLanguages languages;
};

using RuleAfterWord = void (*)(AfterWord&, RulesDecision&);

// The rules applied to the decision of a word typed in the session, in order.
constexpr RuleAfterWord kRulesAfterWord[] = {
    // A word typed after the user changed the layout's script by hand stays
    // ("keep_word_after_script_switch").
    [](AfterWord& w, RulesDecision& d) {
        d = scoring::keptAfterScriptSwitch(w.config, w.keptOn, w.typedOn, std::move(d));
    },
    // A kept word of the language of another layout of its script, which
    // gives the same text: the layout follows it ("layout_follows_language").
    [](AfterWord& w, RulesDecision& d) {
        d = scoring::withLayoutToFollow(w.config, w.token, w.typedOn, w.votes, std::move(d));
    },
    // What the word says of its language, once for the rule below and the
    // records of the session.
    [](AfterWord& w, RulesDecision& d) {
        if (w.votes && d.reason != Reason::ExcludedApp)
            w.languages = scoring::languagesOfWord(w.config, w.token, d, w.typedOn, w.votes);
    },
    // A correction that reads the same in another language of its script
    // goes where it is far more frequent ("same_text_layout_rank_margin").
    [](AfterWord& w, RulesDecision& d) {
        d = scoring::withTargetOfSameText(w.config, w.languages, w.votes, std::move(d));
    },
};

}  // namespace

std::unique_ptr<EngineHandle> EngineHandle::create(const std::string& rulesPath, const std::string& prefsPath) {
    auto bytes = readConfigText(rulesPath);
    if (!bytes) return nullptr;
    auto root = json::parse(*bytes);
    if (!root || !root->isObject()) return nullptr;
    bytes.reset();
    std::optional<PackedLexiconFile> lexicon;
    if (!loadNamedLexicon(*root, rulesPath, lexicon)) return nullptr;
    const UserPreferences prefs = UserPreferences::load(prefsPath);
    const json::Value* overrides = json::findObject(*root, "manual_overrides");
    const json::Value empty = json::Value::makeObject({});
    auto engine = std::make_shared<const RulesEngine>(
        RulesConfig::load(*root, overrides ? *overrides : empty, prefs, lexicon ? &*lexicon : nullptr));
    return std::make_unique<EngineHandle>(std::move(engine));
}

RulesDecision EngineHandle::evaluate(std::string_view token, std::string_view appId,
                                     const std::optional<std::string>& activeInputSource, bool hasUnknownBeginning,
                                     bool trackSession) {
    if (!trackSession) return engine_->evaluate(token, appId, std::nullopt, std::nullopt);
    if (appId != lastAppId_) {
        resetContext();
        lastAppId_ = std::string(appId);
    }
    if (hasUnknownBeginning) {
        keptOn_.reset();
        recentCorrections_.recordUnknown(token);
        if (engine_->config().protectEndingsAfterDelete) {
            RulesDecision d;
            d.reason = Reason::UnknownWordBeginning;
            return d;
        }
        return engine_->evaluate(token, appId, std::nullopt, std::nullopt);
    }
    const bool useVotes = engine_->config().decision.languageEvidence.enabled();
    AfterWord after{
        engine_->config(), token, activeInputSource, keptOn_, useVotes ? &recentLanguages_.votes() : nullptr, {}};
    RulesDecision decision =
        engine_->evaluate(token, appId, activeInputSource, sessionTracker_.sessionLanguage(), after.votes);
    for (const RuleAfterWord rule : kRulesAfterWord) rule(after, decision);
    keptOn_ = decision.shouldCorrect ? std::nullopt : activeInputSource;
    recordSession(token, decision, after.languages.shown);
    if (useVotes) recordLanguage(token, activeInputSource, decision, after.languages);
    return decision;
}

void EngineHandle::recordLanguage(std::string_view token, const std::optional<std::string>& source,
                                  const RulesDecision& decision, const scoring::WordLanguages& languages) {
    if (decision.reason == Reason::ExcludedApp) return;
    const RulesConfig& config = engine_->config();
    recentLanguages_.record(static_cast<std::size_t>(config.decision.languageEvidence.window), languages.vote);
    // The layout follows such a correction on a guess.
    if (decision.shouldCorrect && decision.targetLanguage && languages.shown != decision.targetLanguage)
        if (const auto target = scoring::activeIndex(config, *decision.targetLanguage))
            recentLanguages_.recordGuess(*target);
    recentCorrections_.record(token, decision, languages.vote, joinsSpan(token, source, decision, languages.vote));
}

// Asked only while a correction on the layout typed on waits for words
// after it: plain words cost nothing more.
bool EngineHandle::joinsSpan(std::string_view token, const std::optional<std::string>& source,
                             const RulesDecision& decision, std::optional<std::size_t> vote) const {
    if (!source || decision.shouldCorrect) return false;
    const RevisableSpan* span = recentCorrections_.awaitingWordOn(*source);
    if (!span) return false;
    // A span with words after it was found a guess when the first joined.
    const RecentCorrection& c = span->correction;
    if (span->wordsAfter == 0 && !scoring::guessedBetweenTwins(engine_->config(), c.typed, c.source, c.target))
        return false;
    return scoring::keepsGuessOpen(engine_->config(), token, *source, vote);
}

std::optional<std::string> EngineHandle::correctWordBefore(std::string_view previous, std::string_view token,
                                                           const std::string& target) const {
    if (const RevisableSpan* span = recentCorrections_.spanBefore(previous, token)) return revisedSpan(*span, target);
    const bool useVotes = engine_->config().decision.languageEvidence.enabled();
    return engine_->correctWordBefore(previous, token, target, useVotes ? &recentLanguages_.votes() : nullptr);
}

// Only a word that counts for target among the last words settles it: a
// correction that was itself a guess between two languages does not. The
// words typed after a guess, on the layout it switched to, are read again
// with it; nothing when the whole reads as it stands.
std::optional<std::string> EngineHandle::revisedSpan(const RevisableSpan& span, const std::string& target) const {
    const RulesConfig& config = engine_->config();
    const std::optional<std::size_t> vote = recentCorrections_.latestVote();
    if (!vote || *vote >= config.activeLanguages.size() || config.activeLanguages[*vote] != target) return std::nullopt;
    const RecentCorrection& c = span.correction;
    std::optional<std::string> revised =
        scoring::revisedCorrection(config, c.typed, c.corrected, c.source, c.target, target);
    if (!revised) return std::nullopt;
    bool changed = *revised != c.corrected;
    std::string_view after = span.typedAfter;
    while (!after.empty()) {
        after.remove_prefix(1);  // the space
        const std::string_view word = after.substr(0, after.find(' '));
        after.remove_prefix(word.size());
        const std::string reading = scoring::wordAfterGuessRevised(config, word, c.target, target);
        changed = changed || reading != word;
        *revised += ' ';
        *revised += reading;
    }
    if (!changed) return std::nullopt;
    return revised;
}

void EngineHandle::recordSession(std::string_view token, const RulesDecision& decision,
                                 const std::optional<std::string>& shown) {
    if (decision.reason == Reason::ExcludedApp) return;
    if (decision.shouldCorrect && decision.correctedToken) {
        // A correction that reads the same in another language of its script
        // went to its target by the order of the languages: it shows only
        // the language its own frequency gives it.
        if (engine_->config().decision.languageEvidence.enabled() && decision.targetLanguage) {
            sessionTracker_.recordWord(shown);
            return;
        }
        sessionTracker_.recordWord(decision.targetLanguage ? decision.targetLanguage
                                                           : engine_->singleSourceLanguage(*decision.correctedToken));
        return;
    }
    size_t letters = 0;
    for (std::string_view c : unicode::graphemes(token))
        if (unicode::isLetterChar(c)) ++letters;
    if (letters > 2) sessionTracker_.recordWord(engine_->singleSourceLanguage(token));
}

layout::ManualConversionResult EngineHandle::convertSelectionSmart(
    std::string_view text, const std::optional<std::string>& activeInputSource) const {
    return layout::convertSelectionSmart(engine_->config(), text, activeInputSource);
}

layout::ManualConversionResult EngineHandle::convertSelection(std::string_view text, const std::string& target) const {
    return layout::convertSelection(engine_->config(), text, target);
}

}  // namespace quillom
