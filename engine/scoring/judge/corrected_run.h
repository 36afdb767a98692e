// A word that no language of its script lists, typed in a run of words each
// corrected from the layout it is typed on into one language: a name or an
// interjection of that language's text typed on the same wrong layout, where
// the switch of layout did not take (ghbdtn rfr ltkf Fitdbh is "привет как
// дела Ашевир"; E[[ is Ухх).
#pragma once

#include <optional>
#include <string>

#include "config/rules_config.h"
#include "scoring/judge/language_votes.h"
#include "scoring/judge/rules_decision.h"
#include "scoring/read/text_chars.h"
#include "scoring/score/language_index.h"

namespace quillom::scoring {

// The word, typed on `typedOn` and read on the direction from it into
// `target` as `lowerReading` (lower-case), is such a word when the rules ask
// for it ("corrected_run_min_words"):
// - the last words, at least that many, were each corrected from that layout
//   into target, and none was kept since (LanguageVotes::correctedRun);
// - the typed word holds no apostrophe (one typed as such: Ал'тунран), no
//   active language of its script lists it (nor as a technical word), and
//   no other active language of target's script lists
//   the reading unless target does too;
// - the reading is letters only, each pair of them a pair target's text
//   holds, beginning with no letter that begins no word (Ь, Ъ, Ы); where
//   the rules ask for it ("corrected_run_reads_apostrophe"), it may hold
//   target's apostrophe between two letters, the pairs tested on each side;
// - the typed word scores below its reading (typedScore < readingScore).
// The session's run is tested first: a word outside such a run costs nothing.
// The word, typed on `typedOn`, comes in a run of corrections from that
// layout into direction.to (as above): a rare word of its own language there
// (inf, ranked in the band the rules call rare or after) whose reading is a
// word the target lists is the target's word typed on the same wrong layout
// (inf, is штаб), however the two ranks compare.
// Some active language of `script` lists the word (as a word or a technical
// one); the language `except` does not count.
bool listedInScript(const RulesConfig& config, const std::string& script, std::string_view word,
                    const std::string& except = {});

bool rareWordInCorrectedRun(const RulesConfig& config, const LanguageVotes* votes,
                            const std::optional<std::string>* typedOn, const LayoutDirection& direction,
                            std::optional<int64_t> typedOrder);

// The decision corrects a word typed on `typedOn`, the layout a run of
// corrections (as above) came from, into the run's language.
bool correctsInCorrectedRun(const RulesConfig& config, const LanguageVotes* votes,
                            const std::optional<std::string>& typedOn, const RulesDecision& decision);

bool unlistedWordInCorrectedRun(const ScoringContext& context, const LanguageVotes* votes,
                                const std::optional<std::string>* typedOn, const LayoutDirection& direction,
                                const TextChars& lowerTyped, const TextChars& lowerReading, double typedScore,
                                double readingScore);

}  // namespace quillom::scoring
