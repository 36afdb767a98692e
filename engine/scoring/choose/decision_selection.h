// Choosing one decision among competing target languages, and between the
// word read with and without its trailing punctuation.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "config/rules_config.h"
#include "layout/layout_direction.h"
#include "scoring/judge/language_votes.h"
#include "scoring/judge/rules_decision.h"

namespace quillom::scoring {

struct CompetingDirection {
    LayoutDirection direction;
    RulesDecision decision;  // carries the direction's languages
};

// candidates: non-empty, in evaluation order.
RulesDecision selectWinningDecision(const RulesConfig& config, std::span<const CompetingDirection> candidates,
                                    const std::optional<std::string>& activeInputSource,
                                    const std::optional<std::string>& sessionLanguage,
                                    const LanguageVotes* votes = nullptr);

// Some trailing character stands for a letter on another layout.
bool hasLayoutMappedTrailing(const RulesConfig& config, std::string_view trailing);
// ... and is not one of the ordinary punctuation marks that end a word.
bool trailingHasNonPunctuationLetterKey(const RulesConfig& config, std::string_view trailing);

// The word's letters, lower-cased, with or without the apostrophes between
// them, form a common word of an active language.
bool isKnownWordInAnyTarget(const RulesConfig& config, const std::optional<std::string>& word);

// first: the word without its trailing boundary; second: the whole token.
RulesDecision chooseTrailingReading(const RulesConfig& config, std::string_view trailing, RulesDecision first,
                                    RulesDecision second);

}  // namespace quillom::scoring
