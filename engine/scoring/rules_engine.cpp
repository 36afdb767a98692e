#include "scoring/rules_engine.h"

#include "scoring/decision_selection.h"
#include "scoring/edge_punctuation.h"
#include "scoring/emitted_token.h"
#include "scoring/word_before.h"
#include "scoring/word_evaluation.h"
#include "unicode/unicode.h"

namespace quillom {

namespace {

// Refusals that a reading with punctuation at the word's edges may overturn:
// those of scoring, not the vetoes of the user, the script or the length.
bool allowsEdgeReading(Reason reason) {
    for (Reason veto : {Reason::NeverCorrect, Reason::UppercaseRequiresExactPair, Reason::MixedScript,
                        Reason::ContainsDigits, Reason::TooLong, Reason::TooShort, Reason::EmptyToken,
                        Reason::ProtectedPattern, Reason::UnknownScript})
        if (reason == veto) return false;
    return true;
}

}  // namespace

RulesEngine::RulesEngine(RulesConfig config) : config_(std::move(config)), index_(config_) {}

RulesDecision RulesEngine::evaluate(std::string_view token, std::string_view appId, bool isSentenceStart,
                                    const std::optional<std::string>& activeInputSource,
                                    const std::optional<std::string>& sessionLanguage,
                                    const scoring::LanguageVotes* votes) const {
    if (isExcludedApp(appId)) {
        RulesDecision d;
        d.reason = Reason::ExcludedApp;
        return d;
    }
    scoring::ScoringContext context{config_, index_};
    scoring::EvaluationRequest request{isSentenceStart, activeInputSource, sessionLanguage, votes};
    auto [core, trailing] = scoring::stripTrailingBoundary(config_, token);
    RulesDecision decision = scoring::evaluatePair(context, core, trailing, request);
    // Trailing punctuation may itself be letters typed on the wrong layout.
    if (scoring::hasLayoutMappedTrailing(config_, trailing)) {
        RulesDecision second = scoring::evaluatePair(context, token, {}, request);
        decision = scoring::chooseTrailingReading(config_, trailing, std::move(decision), std::move(second));
    }
    if (decision.shouldCorrect || !config_.tokenization.edgePunctuationAuto || !allowsEdgeReading(decision.reason))
        return decision;
    auto edges = scoring::evaluateEdgePunctuation(context, core, trailing, request);
    return edges ? *edges : decision;
}

std::vector<std::string> RulesEngine::detectSourceLanguages(std::string_view token) const {
    return scoring::detectSourceLanguages(index_, scoring::TextChars(token).lowered());
}

std::optional<std::string> RulesEngine::singleSourceLanguage(std::string_view token) const {
    const scoring::LanguageKeys keys =
        index_.keysOf(index_.scanLetters(scoring::TextChars(token).lowered()).holdingAllLetters);
    if (keys.size() != 1) return std::nullopt;
    return keys.front();
}

// The decoder keys excluded applications by their lower-cased identifier.
bool RulesEngine::isExcludedApp(std::string_view appId) const {
    if (appId.empty() || config_.excludedApps.empty()) return false;
    scoring::ShortText lower;
    char scalar[4];
    for (std::size_t pos = 0; pos < appId.size();)
        lower.append(scalar, unicode::encodeScalar(unicode::toLower(unicode::decodeScalar(appId, pos)), scalar));
    return config_.excludedApps.find(lower.view()) != config_.excludedApps.end();
}

std::optional<std::string> RulesEngine::correctWordBefore(std::string_view previous, std::string_view token,
                                                          const std::string& target) const {
    return scoring::correctWordBefore({config_, index_}, previous, token, target);
}

namespace scoring {

RulesDecision evaluate(const RulesEngine& engine, const EmittedToken& token, std::string_view appId) {
    if (engine.config().protectEndingsAfterDelete && token.hasUnknownBeginning) {
        RulesDecision d;
        d.reason = Reason::UnknownWordBeginning;
        return d;
    }
    return engine.evaluate(token.token, appId, false, std::nullopt, std::nullopt);
}

}  // namespace scoring
}  // namespace quillom
