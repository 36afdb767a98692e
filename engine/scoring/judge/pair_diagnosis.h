// Scores a word and its layout-mapped candidate for one (source, target)
// direction and decides whether to replace it; thresholds and confidence.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/rules_config.h"
#include "scoring/score/language_index.h"
#include "scoring/judge/language_votes.h"
#include "scoring/judge/rules_decision.h"
#include "scoring/score/score_breakdown.h"
#include "scoring/read/text_chars.h"

namespace quillom::scoring {

// Fixed tuning of one direction's decision; no rules file changes them.
inline constexpr double kPriorityPenaltyPerIndex = 12.0;  // candidate penalty per target place after the second
inline constexpr double kGibberishBypassMinDelta = 27.0;
inline constexpr double kGibberishBypassMinConfidence = 0.82;
inline constexpr double kGibberishBypassMinCandidateScore = 8.0;
inline constexpr double kNonDictionaryConfidenceCap = 0.95;  // a correction that is no common word

// Scores of the typed word already worked out in one evaluation: the
// directions from one language mostly score the same text (en -> ru, en -> uk).
struct TypedScore {
    std::string language;
    ShortText text;  // the typed word as sanitised for scoring
    ScoreBreakdown score;
};
using TypedScoreCache = InlineBuffer<TypedScore, 4>;

// The word under evaluation, shared by every direction tried for it.
struct WordContext {
    const TextChars& token;       // as typed, trailing boundary removed
    const TextChars& lowerToken;  // the same, lower-cased
    std::string_view trailing;    // re-attached to any correction
    bool isProtected;
    const std::optional<std::string>& sessionLanguage;
    TypedScoreCache* typedScores = nullptr;               // null: every direction scores afresh
    const LanguageVotes* votes = nullptr;                 // the words typed just before; null: not known
    const std::optional<std::string>* typedOn = nullptr;  // the layout's language; null: not known
};

double minDeltaForLength(const DecisionConfig& decision, int64_t length);
double minCandidateScoreForLength(const DecisionConfig& decision, int64_t length);

// Logistic in the score difference.
double confidenceForDelta(const DecisionConfig& decision, double delta);
// A candidate that is not a common word never reports more than the cap.
double cappedConfidence(double confidence, const ScoreBreakdown& candidate);

// The typed word with the case of `typed` carried over and the trailing text appended.
std::string correctionText(std::string_view typed, std::string_view replacement, std::string_view trailing);

// A plural in "ы" (a letter only the source alphabet has) of a common source word.
bool sourceIsInflectedKnownWord(const RulesConfig& config, const TextChars& source, const LayoutDirection& direction);

// Leaves both language fields of the decision absent.
RulesDecision scoreAndDecideForDirection(const ScoringContext& context, const WordContext& word,
                                         const LayoutDirection& direction, std::size_t targetPriorityIndex);

}  // namespace quillom::scoring
