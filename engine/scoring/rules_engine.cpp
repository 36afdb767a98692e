#include "scoring/rules_engine.h"

#include "scoring/decision_selection.h"
#include "scoring/emitted_token.h"
#include "scoring/word_evaluation.h"
#include "unicode/unicode.h"

namespace quillom {

RulesEngine::RulesEngine(RulesConfig config) : config_(std::move(config)), index_(config_) {}

RulesDecision RulesEngine::evaluate(std::string_view token, std::string_view appId, bool isSentenceStart,
                                    const std::optional<std::string>& activeInputSource,
                                    const std::optional<std::string>& sessionLanguage) const {
    // The decoder keys excluded applications by their lower-cased identifier.
    if (!appId.empty() && config_.excludedApps.count(unicode::toLower(appId))) {
        RulesDecision d;
        d.reason = "excluded_app";
        return d;
    }
    scoring::ScoringContext context{config_, index_};
    scoring::EvaluationRequest request{isSentenceStart, activeInputSource, sessionLanguage};
    auto [core, trailing] = scoring::stripTrailingBoundary(config_, token);
    RulesDecision first = scoring::evaluatePair(context, core, trailing, request);
    // Trailing punctuation may itself be letters typed on the wrong layout.
    if (!scoring::hasLayoutMappedTrailing(config_, trailing)) return first;
    RulesDecision second = scoring::evaluatePair(context, token, {}, request);
    return scoring::chooseTrailingReading(config_, trailing, std::move(first), std::move(second));
}

std::vector<std::string> RulesEngine::detectSourceLanguages(std::string_view token) const {
    return scoring::detectSourceLanguages(index_, scoring::TextChars(std::string(token)).lowered());
}

namespace scoring {

RulesDecision evaluate(const RulesEngine& engine, const EmittedToken& token, std::string_view appId) {
    if (engine.config().protectEndingsAfterDelete && token.hasUnknownBeginning) {
        RulesDecision d;
        d.reason = "unknown_word_beginning";
        return d;
    }
    return engine.evaluate(token.token, appId, false, std::nullopt, std::nullopt);
}

}  // namespace scoring
}  // namespace quillom
