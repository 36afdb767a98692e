#pragma once

#include <optional>
#include <string>

#include "scoring/judge/reason.h"

namespace quillom {

// The result of every evaluation.
struct RulesDecision {
    bool shouldCorrect = false;
    std::optional<std::string> correctedToken;
    double confidence = 0.0;
    Reason reason = Reason::InternalError;
    double originalScore = 0.0;
    double candidateScore = 0.0;
    std::optional<std::string> sourceLanguage;
    std::optional<std::string> targetLanguage;
};

// A refusal for reason that reports the confidence and scores of scored.
inline RulesDecision refusalWithScoresOf(Reason reason, const RulesDecision& scored) {
    RulesDecision d;
    d.reason = reason;
    d.confidence = scored.confidence;
    d.originalScore = scored.originalScore;
    d.candidateScore = scored.candidateScore;
    return d;
}

}  // namespace quillom
