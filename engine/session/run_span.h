// Words kept inside a run of corrections from one layout into one language
// (LanguageVotes::correctedRun) that tell nothing against it: the run goes
// on past them, as though they were not there.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "config/rules_config.h"
#include "scoring/judge/language_votes.h"
#include "scoring/judge/rules_decision.h"

namespace quillom::session {

// The word, typed on `typedOn` (the layout the run came from) and kept by
// `decision`, leaves the run as it was:
// - one letter kept as too short whose reading is a word of the run's target
//   (p is з after Ukrainian typed on the US layout), where the rules ask for
//   it ("corrected_run_spans_one_letter"); English a or I read as none;
// - a word kept for its low score that no active language of its layout's
//   script lists, neither as a word nor a technical one (Nhea, Труф with an
//   unusual pair), where the rules ask for it
//   ("corrected_run_spans_unlisted_words").
bool spansCorrectedRun(const RulesConfig& config, const scoring::LanguageVotes& votes, std::string_view token,
                       const std::optional<std::string>& typedOn, const RulesDecision& decision);

}  // namespace quillom::session
