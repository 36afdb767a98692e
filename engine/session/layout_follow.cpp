#include "session/layout_follow.h"

#include "layout/token_mapping.h"
#include "scoring/read/text_chars.h"
#include "scoring/evaluate/word_evaluation.h"

namespace quillom::session {

using namespace scoring;

namespace {

// Another active language is written in the script of `language`: only its
// layout can be one to follow.
bool hasActiveTwin(const RulesConfig& config, const std::string& language) {
    for (const std::string& other : config.activeLanguages)
        if (other != language && config.sameScript(language, other)) return true;
    return false;
}

}  // namespace

std::optional<std::string> languageToFollow(const RulesConfig& config, std::string_view token,
                                            const std::string& typedOn, const LanguageVotes* votes) {
    // Asked before the word's language, which costs a lexicon lookup per language.
    if (!config.decision.languageEvidence.enabled() || !config.isActive(typedOn) || !hasActiveTwin(config, typedOn))
        return std::nullopt;
    const std::string_view core = stripTrailingBoundary(config, token).core;
    const std::optional<std::size_t> index = languageOfWord(config, core, votes);
    if (!index) return std::nullopt;
    const std::string& language = config.activeLanguages[*index];
    if (language == typedOn || !config.sameScript(typedOn, language)) return std::nullopt;
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
    if (decision.shouldCorrect || !activeInputSource || !decidedByScoring(decision.reason)) return decision;
    std::optional<std::string> language = languageToFollow(config, token, *activeInputSource, votes);
    if (!language) return decision;
    decision.reason = Reason::LayoutFollowsLanguage;
    decision.sourceLanguage = *activeInputSource;
    decision.targetLanguage = std::move(language);
    return decision;
}

namespace {

// Calls visit(other, reading) for every other active language of the script
// of `language` whose layout the map reaches, with `text` read on it, until
// visit returns true; true when it did.
template <typename Visit>
bool visitTwinLayouts(const RulesConfig& config, std::string_view text, const std::string& language, Visit visit) {
    for (const std::string& other : config.activeLanguages) {
        if (other == language || !config.sameScript(language, other)) continue;
        const LayoutDirection direction{language, other};
        if (layout::lowerMapFor(config.keyboardLayout, direction).empty()) continue;
        ShortText mapped;
        layout::mapLayoutInto(config.keyboardLayout, text, direction, mapped);
        if (visit(other, mapped.view())) return true;
    }
    return false;
}

// How the corrected word reads on the layout of another active language of
// its script: as a word of that language (Ты for Ті), or as the same text
// (Командир), with the first such language in `sameTextIn`.
struct TwinReading {
    bool aWordThere = false;
    const std::string* sameTextIn = nullptr;
};

TwinReading twinReading(const RulesConfig& config, std::string_view core, const std::string& target) {
    TwinReading found;
    found.aWordThere = visitTwinLayouts(config, core, target, [&](const std::string& other, std::string_view reading) {
        const LanguageConfig* language = config.language(other);
        if (reading == core) {
            if (!found.sameTextIn) found.sameTextIn = &other;
        } else if (language && language->isCommonWord(TextChars(reading).lowered().text())) {
            return true;
        }
        return false;
    });
    return found;
}

// A word kept for want of context: its keys give a far more frequent word on
// the layout of an active language of another script (Еру, The). At the start
// of a text such a word says nothing yet of the language typed.
bool keptForWantOfContext(const RulesConfig& config, std::string_view token, const std::string& typedOn) {
    const LanguageConfig* own = config.language(typedOn);
    if (!own) return false;
    const TextChars lower = TextChars(stripTrailingBoundary(config, token).core).lowered();
    for (const std::string& other : config.activeLanguages) {
        const LanguageConfig* language = config.language(other);
        if (!language || !config.differentScripts(typedOn, other)) continue;
        const LayoutDirection direction{typedOn, other};
        if (layout::lowerMapFor(config.keyboardLayout, direction).empty()) continue;
        ShortText mapped;
        layout::mapLayoutInto(config.keyboardLayout, lower.text(), direction, mapped);
        if (language->isCommonWord(mapped.view()) &&
            farMoreFrequentReading(config, *own, lower.text(), *language, mapped.view()))
            return true;
    }
    return false;
}

// The vote of a word kept as typed on the layout of `typedOn`.
std::optional<std::size_t> keptWordVote(const RulesConfig& config, std::string_view token,
                                        const std::optional<std::string>& typedOn, const LanguageVotes* votes) {
    const std::optional<std::size_t> vote = languageOfWord(config, token, votes);
    if (vote && typedOn && config.decision.keptTwinCountsForNone && noLanguageCounted(votes) &&
        config.activeLanguages[*vote] == *typedOn && keptForWantOfContext(config, token, *typedOn))
        return std::nullopt;
    if (!vote || !typedOn || config.activeLanguages[*vote] != *typedOn || !hasActiveTwin(config, *typedOn)) return vote;
    const LanguageConfig* own = config.language(*typedOn);
    const std::string_view core = stripTrailingBoundary(config, token).core;
    const TextChars lower = TextChars(core).lowered();
    const int64_t ownOrder = own->frequencyOrder(lower.text()).value_or(LanguageConfig::kUnrankedOrder);
    const bool twin =
        visitTwinLayouts(config, lower.text(), *typedOn, [&](const std::string& other, std::string_view reading) {
            const LanguageConfig* language = config.language(other);
            if (reading == lower.text() || !language) return false;
            const std::optional<int64_t> order = language->frequencyOrder(reading);
            return order && ownOrder + config.decision.languageEvidence.twinRankMargin > *order;
        });
    if (twin) return std::nullopt;
    return vote;
}

// `core`, a correction into `target` that reads the same on the layout of
// `other`, belongs there: far more frequent, or, with nothing typed here yet
// to tell and no clear frequency either way, the language the user has
// lately written mostly.
bool readsBetterIn(const RulesConfig& config, const WordLanguages& languages, const LanguageVotes* votes,
                   std::string_view core, const std::string& target, const std::string& other) {
    const LanguageConfig* targetLanguage = config.language(target);
    const LanguageConfig* otherLanguage = config.language(other);
    if (!targetLanguage || !otherLanguage || votesFavour(config, votes, target, other)) return false;
    const TextChars lower = TextChars(core).lowered();
    const std::optional<int64_t> there = otherLanguage->frequencyOrder(lower.text());
    if (!there) return false;
    const std::optional<int64_t> here = targetLanguage->frequencyOrder(lower.text());
    const int64_t margin = config.decision.languageEvidence.sameTextLayoutRankMargin;
    if (languages.shown == other && (!here || *there + margin <= *here)) return true;
    return languages.shown != target && noLanguageCounted(votes) && writtenMostly(config, votes, other, target);
}

}  // namespace

WordLanguages languagesOfWord(const RulesConfig& config, std::string_view token, const RulesDecision& decision,
                              const std::optional<std::string>& typedOn, const LanguageVotes* votes) {
    if (!decision.shouldCorrect || !decision.correctedToken)
        return {keptWordVote(config, token, typedOn, votes), std::nullopt, std::nullopt};
    if (!decision.targetLanguage)
        return {languageOfWord(config, *decision.correctedToken, votes), std::nullopt, std::nullopt};
    const std::string_view core = stripTrailingBoundary(config, *decision.correctedToken).core;
    const TwinReading twin = twinReading(config, core, *decision.targetLanguage);
    WordLanguages result;
    if (decision.reason == Reason::SessionLanguageTieBreak || !twin.aWordThere)
        result.vote = languageOfWord(config, *decision.correctedToken, votes);
    if (twin.aWordThere || !twin.sameTextIn) {
        result.shown = decision.targetLanguage;
        return result;
    }
    result.sameTextIn = *twin.sameTextIn;
    if (const std::optional<std::size_t> language = languageOfWord(config, core, votes))
        result.shown = config.activeLanguages[*language];
    return result;
}

RulesDecision withTargetOfSameText(const RulesConfig& config, const WordLanguages& languages,
                                   const LanguageVotes* votes, RulesDecision decision) {
    const int64_t margin = config.decision.languageEvidence.sameTextLayoutRankMargin;
    if (margin <= 0 || !languages.sameTextIn || !decision.shouldCorrect || !decision.correctedToken ||
        !decision.targetLanguage)
        return decision;
    const std::string_view core = stripTrailingBoundary(config, *decision.correctedToken).core;
    if (readsBetterIn(config, languages, votes, core, *decision.targetLanguage, *languages.sameTextIn))
        decision.targetLanguage = languages.sameTextIn;
    return decision;
}

}  // namespace quillom::session
