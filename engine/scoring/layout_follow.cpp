#include "scoring/layout_follow.h"

#include "layout/token_mapping.h"
#include "scoring/text_chars.h"
#include "scoring/word_evaluation.h"

namespace quillom::scoring {

namespace {

// Refusals of scoring, not the user's or the word's vetoes.
bool keptByScoring(Reason reason) {
    for (Reason veto : {Reason::ExcludedApp, Reason::UnknownWordBeginning, Reason::EmptyToken, Reason::TooShort,
                        Reason::TooLong, Reason::UppercaseRequiresExactPair, Reason::NeverCorrect, Reason::MixedScript,
                        Reason::ContainsDigits, Reason::UnknownScript, Reason::ProtectedPattern, Reason::InternalError})
        if (reason == veto) return false;
    return true;
}

bool sameScript(const RulesConfig& config, const std::string& a, const std::string& b) {
    const LanguageConfig* first = config.language(a);
    const LanguageConfig* second = config.language(b);
    return first && second && !first->script.empty() && first->script == second->script;
}

}  // namespace

std::optional<std::string> languageToFollow(const RulesConfig& config, std::string_view token,
                                            const std::string& typedOn, const LanguageVotes* votes) {
    if (!config.decision.languageEvidence.enabled()) return std::nullopt;
    const std::string_view core = stripTrailingBoundary(config, token).core;
    const std::optional<std::size_t> index = languageOfWord(config, core);
    if (!index) return std::nullopt;
    const std::string& language = config.activeLanguages[*index];
    if (language == typedOn || !config.isActive(typedOn) || !sameScript(config, typedOn, language)) return std::nullopt;
    const LayoutDirection direction{typedOn, language};
    if (layout::lowerMapFor(config.keyboardLayout, direction).empty()) return std::nullopt;
    ShortText mapped;
    layout::mapLayoutInto(config.keyboardLayout, core, direction, mapped);
    if (mapped.view() != core || votesFavour(config, votes, typedOn, language)) return std::nullopt;
    return language;
}

RulesDecision withLayoutToFollow(const RulesConfig& config, std::string_view token,
                                 const std::optional<std::string>& activeInputSource, const LanguageVotes* votes,
                                 RulesDecision decision) {
    if (decision.shouldCorrect || !activeInputSource || !keptByScoring(decision.reason)) return decision;
    std::optional<std::string> language = languageToFollow(config, token, *activeInputSource, votes);
    if (!language) return decision;
    decision.reason = Reason::LayoutFollowsLanguage;
    decision.sourceLanguage = *activeInputSource;
    decision.targetLanguage = std::move(language);
    return decision;
}

namespace {

// The corrected word read on the layout of another active language of its
// script is a word of that language.
bool twinIsAWordToo(const RulesConfig& config, std::string_view corrected, const std::string& target) {
    const std::string_view core = stripTrailingBoundary(config, corrected).core;
    for (const std::string& other : config.activeLanguages) {
        if (other == target || !sameScript(config, target, other)) continue;
        const LayoutDirection direction{target, other};
        if (layout::lowerMapFor(config.keyboardLayout, direction).empty()) continue;
        ShortText mapped;
        layout::mapLayoutInto(config.keyboardLayout, core, direction, mapped);
        const LanguageConfig* language = config.language(other);
        if (mapped.view() != core && language && language->isCommonWord(TextChars(mapped.view()).lowered().text()))
            return true;
    }
    return false;
}

}  // namespace

std::optional<std::size_t> votingLanguage(const RulesConfig& config, std::string_view token,
                                          const RulesDecision& decision) {
    if (!decision.shouldCorrect || !decision.correctedToken) return languageOfWord(config, token);
    const bool guessed = decision.reason != Reason::SessionLanguageTieBreak && decision.targetLanguage &&
                         twinIsAWordToo(config, *decision.correctedToken, *decision.targetLanguage);
    if (guessed) return std::nullopt;
    return languageOfWord(config, *decision.correctedToken);
}

}  // namespace quillom::scoring
