#include "scoring/judge/mixed_script.h"

#include <utility>

#include "layout/token_mapping.h"
#include "scoring/judge/pair_diagnosis.h"
#include "scoring/score/token_scorer.h"

namespace quillom::scoring {

namespace {

const LayoutDirection& enToRu() {
    static const LayoutDirection direction{"en", "ru"};
    return direction;
}

const LayoutDirection& ruToEn() {
    static const LayoutDirection direction{"ru", "en"};
    return direction;
}

}  // namespace

bool isMixedScript(const LetterScan& scan) { return scan.hasClassifiedLetter && scan.holdingClassified == 0; }

MixedScriptScore scoreMixedScriptCandidates(const ScoringContext& context, const TextChars& token) {
    const RulesConfig& config = context.config;
    TextChars russian(layout::mapLayout(config.keyboardLayout, token.text(), enToRu()));
    TextChars english(layout::mapLayout(config.keyboardLayout, token.text(), ruToEn()));
    ScoreBreakdown russianScore = scoreToken(context, russian.lowered(), "ru");
    ScoreBreakdown englishScore = scoreToken(context, english.lowered(), "en");
    russianScore.layoutSuspicion = layoutSuspicionBonus(config, token.text(), enToRu());
    englishScore.layoutSuspicion = layoutSuspicionBonus(config, token.text(), ruToEn());

    MixedScriptScore s;
    // Ties go to the Russian reading.
    if (russianScore.total() >= englishScore.total()) {
        s = {std::string(russian.text()), enToRu(), russianScore, std::string(english.text()), ruToEn(), englishScore};
    } else {
        s = {std::string(english.text()), ruToEn(), englishScore, std::string(russian.text()), enToRu(), russianScore};
    }
    return s;
}

RulesDecision evaluateMixedScript(const ScoringContext& context, const TextChars& token, std::string_view trailing,
                                  bool isProtected) {
    const DecisionConfig& decision = context.config.decision;
    MixedScriptScore s = scoreMixedScriptCandidates(context, token);
    auto length = static_cast<int64_t>(token.size());
    double delta = s.delta();
    double conf = confidenceForDelta(decision, delta);

    RulesDecision d;
    d.confidence = conf;
    d.originalScore = s.loserBreakdown.total();
    d.candidateScore = s.winnerBreakdown.total();
    bool passes = d.candidateScore >= minCandidateScoreForLength(decision, length) &&
                  delta >= minDeltaForLength(decision, length) && conf >= decision.minConfidence;
    if (!passes) {
        d.reason = Reason::MixedScriptNoClearWinner;
    } else if (isProtected && d.candidateScore < decision.protectedPatternOverrideMinScore) {
        d.reason = Reason::ProtectedPattern;
    } else {
        d.shouldCorrect = true;
        d.correctedToken = correctionText(token.text(), s.winnerCandidate, trailing);
        d.confidence = cappedConfidence(conf, s.winnerBreakdown);
        d.reason = Reason::MixedScriptDualEval;
    }
    return d;
}

}  // namespace quillom::scoring
