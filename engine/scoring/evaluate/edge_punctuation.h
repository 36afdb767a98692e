// English words typed on a Cyrillic layout with a quote, colon or bracket at
// their edges: those keys give Cyrillic letters there ("The typed on the
// Russian layout is ЭЕру), so the word is read as edge punctuation around a
// core, and the core decides.
#pragma once

#include <optional>
#include <string_view>

#include "scoring/judge/rules_decision.h"
#include "scoring/evaluate/word_evaluation.h"

namespace quillom::scoring {

struct EdgeSplit {
    std::size_t leading = 0;   // characters before the core
    std::size_t trailing = 0;  // characters after it
};

// The edges of a word mapped to "en": the leading run of opening marks (with
// leadingEllipsis, two full stops or more count among them) and the trailing
// run of closing marks (as mapped), at least one of them mapped from a
// letter. None when no such edge exists or nothing is left between them.
std::optional<EdgeSplit> splitMappedEdges(std::string_view typed, std::string_view mapped,
                                          bool leadingEllipsis = false);

// A protected word that the rules still let be read as a capital with a
// colon (ЙЖ, Q:): two characters kept as an abbreviation would be.
bool mayReadAsColonLetter(const RulesConfig& config, std::string_view token, Reason reason);
// Q: or A: (a Latin capital and a colon).
bool isColonLetter(std::string_view text);

// The word read as edge punctuation around a core typed on a Cyrillic layout,
// corrected to English when the core is. None when the reading does not apply:
// English is not active, the word is a known Cyrillic word, or the core is not
// corrected to English. `trailing` is the boundary already split off the word.
std::optional<RulesDecision> evaluateEdgePunctuation(const ScoringContext& context, std::string_view token,
                                                     std::string_view trailing, const EvaluationRequest& request);

}  // namespace quillom::scoring
