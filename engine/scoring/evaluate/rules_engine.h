// The decision engine: turns one finished word and its context into a decision.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/rules_config.h"
#include "scoring/evaluate/comma_key.h"
#include "scoring/evaluate/possessive.h"
#include "scoring/read/key_marks.h"
#include "scoring/score/language_index.h"
#include "scoring/judge/language_votes.h"
#include "scoring/judge/rules_decision.h"

namespace quillom {

namespace scoring {
struct EvaluationRequest;
}

class RulesEngine {
public:
    explicit RulesEngine(RulesConfig config);

    // token: valid UTF-8 (the C interface sanitises its input).
    RulesDecision evaluate(std::string_view token, std::string_view appId,
                           const std::optional<std::string>& activeInputSource,
                           const std::optional<std::string>& sessionLanguage,
                           const scoring::LanguageVotes* votes = nullptr) const;

    // Keys of the configured languages whose alphabet holds every letter of
    // the token (letters compared in lower case), in ascending key order.
    std::vector<std::string> detectSourceLanguages(std::string_view token) const;
    // The one language detectSourceLanguages would give; nothing for none or several.
    std::optional<std::string> singleSourceLanguage(std::string_view token) const;

    const RulesConfig& config() const { return config_; }
    const scoring::LanguageIndex& index() const { return index_; }

private:
    bool isExcludedApp(std::string_view appId) const;
    RulesDecision evaluateWord(const scoring::ScoringContext& context, std::string_view token,
                               const scoring::EvaluationRequest& request) const;
    // Nothing when the word reads as it was decided: a plain word costs no copy.
    std::optional<RulesDecision> possessiveReading(const scoring::ScoringContext& context, std::string_view token,
                                                   const scoring::EvaluationRequest& request) const;
    std::optional<RulesDecision> slashJoinedReading(const scoring::ScoringContext& context, std::string_view token,
                                                    const scoring::EvaluationRequest& request) const;
    std::optional<RulesDecision> markKeyJoinedReading(const scoring::ScoringContext& context, std::string_view token,
                                                      const scoring::EvaluationRequest& request) const;
    std::optional<RulesDecision> joinedCapitalsReading(std::string_view token) const;
    std::optional<RulesDecision> edgeQuotesReading(const scoring::ScoringContext& context, std::string_view token,
                                                   const RulesDecision& whole,
                                                   const scoring::EvaluationRequest& request) const;
    std::optional<RulesDecision> graveQuotesReading(const scoring::ScoringContext& context, std::string_view token,
                                                    const scoring::EvaluationRequest& request) const;

    RulesConfig config_;
    scoring::LanguageIndex index_;            // built from config_
    scoring::KeyMarks keyMarks_;              // built from config_
    scoring::PossessiveKeys possessiveKeys_;  // built from config_
    scoring::MarkKeyLetters markKeyLetters_;  // built from config_
};

}  // namespace quillom
