// The steps of one evaluation: splitting off the trailing boundary, the
// cheap vetoes, exact pairs and the competition of directions.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/rules_config.h"
#include "scoring/score/language_index.h"
#include "scoring/judge/language_votes.h"
#include "scoring/judge/rules_decision.h"
#include "scoring/read/text_chars.h"

namespace quillom::scoring {

struct TrailingSplit {
    std::string_view core;      // the word
    std::string_view trailing;  // boundary characters that ended it, in typed order
};

TrailingSplit stripTrailingBoundary(const RulesConfig& config, std::string_view token);

// An all-capital word is corrected only through an exact pair.
std::optional<RulesDecision> uppercaseRejection(const RulesConfig& config, const TextChars& token,
                                                const TextChars& lowerToken);

// Keys of the languages whose alphabet holds every letter; none for a word without letters.
std::vector<std::string> detectSourceLanguages(const LanguageIndex& index, const TextChars& lowerToken);

struct EvaluationRequest {
    const std::optional<std::string>& activeInputSource;
    const std::optional<std::string>& sessionLanguage;
    const LanguageVotes* votes = nullptr;  // the words typed just before; null: not known
};

RulesDecision evaluatePair(const ScoringContext& context, std::string_view token, std::string_view trailing,
                           const EvaluationRequest& request);

}  // namespace quillom::scoring
