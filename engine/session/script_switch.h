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

// Where a word stands in the words kept since the user last changed the
// layout's script by hand.
struct SwitchRun {
    // The word before was kept on `typedOn`, and so was every word since the
    // change of script that began the run.
    bool continues = false;
    // The word is joined to the word before by one mark, no space (db in
    // /etc/dconf/db): a piece of the same string.
    bool joined = false;
};

// The decision for a word typed later in such a run, on the layout the user
// changed to: as it stands, or, when the rules keep such pieces
// ("keep_joined_piece_after_script_switch"), the word is joined to the word
// before and the decision corrects it into another script, a refusal with
// reason "script_switched_by_user". A word apart decides as it stands: after
// a Latin word the user may have forgotten to change back.
RulesDecision keptInScriptSwitchRun(const RulesConfig& config, SwitchRun run, RulesDecision decision);

}  // namespace quillom::session
