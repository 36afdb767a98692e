// Words with letters of two scripts: read wholly as Russian and wholly as
// English, and corrected to the clearly better reading.
#pragma once

#include <string>
#include <string_view>

#include "layout/layout_direction.h"
#include "scoring/score/language_index.h"
#include "scoring/judge/rules_decision.h"
#include "scoring/score/score_breakdown.h"
#include "scoring/read/text_chars.h"

namespace quillom::scoring {

struct MixedScriptScore {
    std::string winnerCandidate;
    LayoutDirection winnerDirection;
    ScoreBreakdown winnerBreakdown;
    std::string loserCandidate;
    LayoutDirection loserDirection;
    ScoreBreakdown loserBreakdown;

    double delta() const { return winnerBreakdown.total() - loserBreakdown.total(); }
};

// Some letter belongs to a configured alphabet, and no single alphabet holds
// all such letters.
bool isMixedScript(const LetterScan& scan);

// token as typed.
MixedScriptScore scoreMixedScriptCandidates(const ScoringContext& context, const TextChars& token);

RulesDecision evaluateMixedScript(const ScoringContext& context, const TextChars& token, std::string_view trailing,
                                  bool isProtected);

}  // namespace quillom::scoring
