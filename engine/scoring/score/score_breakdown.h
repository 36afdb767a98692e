// One score of one string for one language, split into its components.
#pragma once

namespace quillom::scoring {

struct ScoreBreakdown {
    double exactCommonWord = 0.0;
    double exactPhraseStart = 0.0;
    double exactSeedPair = 0.0;
    double vowelBonus = 0.0;
    double strongWordStart = 0.0;
    double weakWordStart = 0.0;
    double strongWordEnd = 0.0;
    double weakWordEnd = 0.0;
    double bigramScore = 0.0;
    double trigramScore = 0.0;
    double impossiblePatternPenalty = 0.0;
    double rarePatternPenalty = 0.0;
    double layoutSuspicion = 0.0;
    double neverCorrectPenalty = 0.0;
    double learnedSuffixBoost = 0.0;
    double frequentTokenBonus = 0.0;
    double priorityPenalty = 0.0;

    // Penalties are negative, so the total is the plain sum.
    double total() const {
        return exactCommonWord + exactPhraseStart + exactSeedPair + vowelBonus + strongWordStart + weakWordStart +
               strongWordEnd + weakWordEnd + bigramScore + trigramScore + impossiblePatternPenalty +
               rarePatternPenalty + layoutSuspicion + neverCorrectPenalty + learnedSuffixBoost + frequentTokenBonus +
               priorityPenalty;
    }
};

}  // namespace quillom::scoring
