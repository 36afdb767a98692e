// Scoring of one string as a word of one language, and the small scores that
// the pair comparison adds on top.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

#include "config/rules_config.h"
#include "regex/regex.h"
#include "scoring/score/language_index.h"
#include "scoring/score/score_breakdown.h"
#include "scoring/read/text_chars.h"

namespace quillom::scoring {

// token is already lower-cased. A language that is not configured scores all
// zeros. No word is known to start a sentence, so exactPhraseStart stays 0.
ScoreBreakdown scoreToken(const ScoringContext& context, const TextChars& token, const std::string& languageKey);

// Adjacent character pairs of the token missing from the bigram weights.
// pairs: the language's weights as a table (see AffixIndex), or null.
std::size_t countUnknownBigrams(const TextChars& token, const LanguageConfig* language,
                                const ScalarPairWeights* pairs = nullptr);

// Sum of the bonuses of the suspicion rules that match the word as typed;
// only the en-to-ru and ru-to-en directions have rules.
double layoutSuspicionBonus(const RulesConfig& config, std::string_view token, const LayoutDirection& direction);

// Russian letters that betray a word typed for the Ukrainian layout or the reverse.
double sameScriptPhoneticAdjustment(const TextChars& source);

// Drops the non-letters that the direction's map sends to letters (punctuation
// keys standing for letters of the other layout).
TextChars sanitizeSourceForScoring(const RulesConfig& config, const TextChars& source,
                                   const LayoutDirection& direction);
// The same, with the direction's map looked up in the index's tables.
TextChars sanitizeSourceForScoring(const ScoringContext& context, const TextChars& source,
                                   const LayoutDirection& direction);

std::pair<const LanguageConfig*, const LanguageConfig*> languagesForDirection(const RulesConfig& config,
                                                                              const LayoutDirection& direction);

// An e-mail address or a bare domain, optionally with a path.
const regex::Regex& addressPattern();

}  // namespace quillom::scoring
