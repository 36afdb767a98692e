// The key of "/" on the Russian layout (Shift and the backslash key) gives Ґ
// on the Ukrainian one, and only there. Typed between the words of a pair
// (иҐили, вкл.Ґвікл.) or before a path (Ґetc), where no Ukrainian word has a
// capital Ґ, it is the slash of Russian text: the words around it are
// Russian typed on the Ukrainian layout (the Latin letters of a path on the
// US one).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "config/rules_config.h"
#include "scoring/judge/language_votes.h"
#include "scoring/judge/rules_decision.h"

namespace quillom::scoring {

// The token read with each such Ґ as the slash and the pieces between them
// on the Russian layout (и/или, вкл./выкл., /etc), when the rules ask for it
// ("slash_key_of_russian_layout"), Russian is active, no Ґ of the token is
// left a letter, no piece is a word only Ukrainian lists, the user never
// asked to keep the token, and something says the text is Russian: a piece
// reads as a word only Russian lists, or the last words count Russian ahead.
// Nothing otherwise; costs a byte search for a word without the key's
// letter.
std::optional<RulesDecision> slashKeyReading(const RulesConfig& config, std::string_view token,
                                             const LanguageVotes* votes);

// A slash key's reading as a correction: read, the token's new text, from the
// direction's layout into its language; with latinKept (a path's letters stay
// as typed) neither language is named and the layout stays.
RulesDecision slashReadingDecision(std::string read, const LayoutDirection& direction, bool latinKept);

}  // namespace quillom::scoring
