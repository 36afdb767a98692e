#include "session/run_span.h"

#include "layout/token_mapping.h"
#include "scoring/evaluate/word_evaluation.h"
#include "scoring/judge/corrected_run.h"
#include "scoring/read/text_chars.h"
#include "unicode/unicode.h"

namespace quillom::session {

namespace {

bool oneLetterOfTarget(const RulesConfig& config, std::string_view core, const LayoutDirection& direction) {
    const LanguageConfig* target = config.language(direction.to);
    if (!target || scoring::TextChars(core).size() != 1) return false;
    scoring::ShortText mapped;
    layout::mapLayoutInto(config.keyboardLayout, core, direction, mapped);
    return unicode::isLetterChar(mapped.view()) && target->isCommonWord(unicode::toLower(mapped.view()));
}

bool listedInScriptOf(const RulesConfig& config, const std::string& typedOn, std::string_view core) {
    const LanguageConfig* typed = config.language(typedOn);
    return !typed || scoring::listedInScript(config, typed->script, unicode::toLower(core));
}

}  // namespace

bool spansCorrectedRun(const RulesConfig& config, const scoring::LanguageVotes& votes, std::string_view token,
                       const std::optional<std::string>& typedOn, const RulesDecision& decision) {
    const DecisionConfig& rules = config.decision;
    const scoring::LanguageVotes::CorrectedRun& run = votes.correctedRun;
    const std::size_t count = config.activeLanguages.size();
    if (decision.shouldCorrect || run.words == 0 || !typedOn || run.from >= count || run.into >= count ||
        config.activeLanguages[run.from] != *typedOn)
        return false;
    const std::string_view core = scoring::stripTrailingBoundary(config, token).core;
    if (decision.reason == Reason::TooShort)
        return rules.correctedRunSpansOneLetter &&
               oneLetterOfTarget(config, core, {*typedOn, config.activeLanguages[run.into]});
    return rules.correctedRunSpansUnlistedWords && decision.reason == Reason::CandidateScoreTooLow &&
           scoring::TextChars(core).size() >= 2 && !listedInScriptOf(config, *typedOn, core);
}

}  // namespace quillom::session
