// Words stretched for expression: a letter typed three times or more in a row
// (Ахххх, Хммм, ссссделку, Noooo). Neither reading of such a word is listed,
// and the pairs of its run are rare, so scoring keeps it as typed.
#pragma once

#include <optional>
#include <string_view>

#include "scoring/evaluate/word_evaluation.h"
#include "scoring/judge/rules_decision.h"

namespace quillom::scoring {

// True when the token holds two bytes three times in a row: one character
// (ASCII or a two-byte one) or two ASCII ones ({F{F{F, ХАХАХА on the Russian
// layout). A scan of its bytes, all a plain word pays.
bool hasTripledCharacter(std::string_view token);

// The token read on another script's layout, its runs kept, when the reading
// with each run of a letter cut to one or two is a word the target lists
// (ranked, and no abbreviation, when it has three letters or fewer; a word of
// one letter stretched only to two or three) while the token, cut likewise,
// is no word of its layout's language. A token of letters whose cut reading
// is that short may be its own language's interjection (Grrr, Pfff): the
// last words must favour the target. Two letters said three times or more
// (хахаха) are read alike, the syllable a ranked word of the target (ха).
// Nothing when the last words lean away from every target that reads so.
std::optional<RulesDecision> stretchedWordReading(const ScoringContext& context, std::string_view token,
                                                  const EvaluationRequest& request, const RulesDecision& scored);

// True when the token, corrected into another script, is a word of its
// layout's language stretched (Нууу is ну, Heyyy hey): a cut of its runs of
// letters to one to three is a word that language lists, more frequent than
// every cut of the correction that its target lists. Such a word stays; a
// run the correction reads as marks (шеююю, it...) is no stretched letter,
// and a word in capitals is left to the acronyms' rules.
bool stretchedWordOfTyped(const RulesConfig& config, std::string_view token, const RulesDecision& correction);

// True when the token is one lower-case letter typed three times or more
// (шшш, ммм) and the last words favour a language of the layout's script
// over the correction's target: an interjection of the text as typed, not
// iii.
bool oneLetterStretchedAgainstText(const RulesConfig& config, std::string_view token, const RulesDecision& correction,
                                   const LanguageVotes* votes);

}  // namespace quillom::scoring
