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

}  // namespace

std::optional<std::string> languageToFollow(const RulesConfig& config, std::string_view token,
                                            const std::string& typedOn, const LanguageVotes* votes) {
    if (!config.decision.languageEvidence.enabled()) return std::nullopt;
    const std::string_view core = stripTrailingBoundary(config, token).core;
    const std::optional<std::size_t> index = languageOfWord(config, core);
    if (!index) return std::nullopt;
    const std::string& language = config.activeLanguages[*index];
    if (language == typedOn || !config.isActive(typedOn) || !config.sameScript(typedOn, language)) return std::nullopt;
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

enum class TwinReading { None, SameText, AWordThere };

// How the corrected word reads on the layout of another active language of
// its script: as the same text (Командир), as a word of that language (Ты
// for Ті), or neither.
TwinReading twinReading(const RulesConfig& config, std::string_view core, const std::string& target) {
    TwinReading found = TwinReading::None;
    for (const std::string& other : config.activeLanguages) {
        if (other == target || !config.sameScript(target, other)) continue;
        const LayoutDirection direction{target, other};
        if (layout::lowerMapFor(config.keyboardLayout, direction).empty()) continue;
        ShortText mapped;
        layout::mapLayoutInto(config.keyboardLayout, core, direction, mapped);
        const LanguageConfig* language = config.language(other);
        if (mapped.view() == core) found = TwinReading::SameText;
        else if (language && language->isCommonWord(TextChars(mapped.view()).lowered().text()))
            return TwinReading::AWordThere;
    }
    return found;
}

// The vote of a word kept as typed on the layout of `typedOn`.
std::optional<std::size_t> keptWordVote(const RulesConfig& config, std::string_view token,
                                        const std::optional<std::string>& typedOn) {
    const std::optional<std::size_t> vote = languageOfWord(config, token);
    if (!vote || !typedOn || config.activeLanguages[*vote] != *typedOn) return vote;
    const LanguageConfig* own = config.language(*typedOn);
    const std::string_view core = stripTrailingBoundary(config, token).core;
    const TextChars lower = TextChars(core).lowered();
    const int64_t ownOrder = own->frequencyOrder(lower.text()).value_or(LanguageConfig::kUnrankedOrder);
    for (const std::string& other : config.activeLanguages) {
        if (other == *typedOn || !config.sameScript(other, *typedOn)) continue;
        const LayoutDirection direction{*typedOn, other};
        if (layout::lowerMapFor(config.keyboardLayout, direction).empty()) continue;
        ShortText mapped;
        layout::mapLayoutInto(config.keyboardLayout, lower.text(), direction, mapped);
        const LanguageConfig* language = config.language(other);
        if (mapped.view() == lower.text() || !language) continue;
        const std::optional<int64_t> order = language->frequencyOrder(mapped.view());
        if (order && ownOrder + config.decision.languageEvidence.twinRankMargin > *order) return std::nullopt;
    }
    return vote;
}

}  // namespace

WordLanguages languagesOfWord(const RulesConfig& config, std::string_view token, const RulesDecision& decision,
                              const std::optional<std::string>& typedOn) {
    if (!decision.shouldCorrect || !decision.correctedToken)
        return {keptWordVote(config, token, typedOn), std::nullopt};
    if (!decision.targetLanguage) return {languageOfWord(config, *decision.correctedToken), std::nullopt};
    const std::string_view core = stripTrailingBoundary(config, *decision.correctedToken).core;
    const TwinReading twin = twinReading(config, core, *decision.targetLanguage);
    WordLanguages result;
    if (decision.reason == Reason::SessionLanguageTieBreak || twin != TwinReading::AWordThere)
        result.vote = languageOfWord(config, *decision.correctedToken);
    if (twin != TwinReading::SameText) result.shown = decision.targetLanguage;
    else if (const std::optional<std::size_t> language = languageOfWord(config, core))
        result.shown = config.activeLanguages[*language];
    return result;
}

RulesDecision withTargetOfSameText(const RulesConfig& config, const WordLanguages& languages,
                                   const LanguageVotes* votes, RulesDecision decision) {
    const int64_t margin = config.decision.languageEvidence.sameTextLayoutRankMargin;
    if (margin <= 0 || !decision.shouldCorrect || !decision.correctedToken || !decision.targetLanguage) return decision;
    const std::string& targetKey = *decision.targetLanguage;
    const LanguageConfig* target = config.language(targetKey);
    if (!target) return decision;
    const std::string_view core = stripTrailingBoundary(config, *decision.correctedToken).core;
    const TextChars lower = TextChars(core).lowered();
    const std::optional<int64_t> here = target->frequencyOrder(lower.text());
    for (const std::string& other : config.activeLanguages) {
        if (other == targetKey || !config.sameScript(other, targetKey)) continue;
        const LanguageConfig* language = config.language(other);
        const LayoutDirection direction{targetKey, other};
        if (!language || layout::lowerMapFor(config.keyboardLayout, direction).empty()) continue;
        ShortText mapped;
        layout::mapLayoutInto(config.keyboardLayout, core, direction, mapped);
        const std::optional<int64_t> there = language->frequencyOrder(lower.text());
        if (mapped.view() != core || !there || votesFavour(config, votes, targetKey, other)) continue;
        const bool moreFrequent = languages.shown == other && (!here || *there + margin <= *here);
        // With nothing typed here yet to tell, and no clear frequency either
        // way, the language the user has lately written mostly.
        const bool writtenThere =
            languages.shown != targetKey && noLanguageCounted(votes) && writtenMostly(config, votes, other, targetKey);
        if (moreFrequent || writtenThere) {
            decision.targetLanguage = other;
            return decision;
        }
    }
    return decision;
}

}  // namespace quillom::scoring
