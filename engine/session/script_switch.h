// A layout changed by hand between two words: the user chose the script of
// the word typed next.
#pragma once

#include <optional>
#include <string>

#include "config/rules_config.h"
#include "scoring/judge/rules_decision.h"

namespace quillom::session {

// The decision for a word typed on the layout of `typedOn` just after a word
// kept as typed on the layout of `keptOn`, in one application: as it stands,
// or, when the rules keep such words ("keep_word_after_script_switch"), the
// two layouts differ in script and the decision corrects the word into a
// script other than its layout's, a refusal with reason
// "script_switched_by_user". Two corrections stand: into a listed word of
// four letters or more (the user toggled once too often), and within the
// script (Ukrainian typed on the Russian layout: a hand on the switch picks a
// script, not one of its languages).
RulesDecision keptAfterScriptSwitch(const RulesConfig& config, const std::optional<std::string>& keptOn,
                                    const std::optional<std::string>& typedOn, RulesDecision decision);

}  // namespace quillom::session
