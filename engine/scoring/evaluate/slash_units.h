// Units and rates typed on a Cyrillic layout: the key of the Russian and
// Ukrainian full stop is the US slash, so ль.р is km/h and ь.ы m/s. Their
// pieces are too short to correct on their own, and pieces as short joined
// by full stops are the abbreviations of those languages (т.е., т.к.).
#pragma once

#include <optional>
#include <string_view>

#include "config/rules_config.h"
#include "scoring/judge/rules_decision.h"

namespace quillom::scoring {

// The token read on the layout of an active Cyrillic language as two English
// pieces of one or two letters joined by the slash (a comma or full stop key
// may close it: ль.рб is km/h,), when the rules ask for it
// ("slash_joined_units"), each piece is a word or abbreviation English lists,
// no piece nor the pieces' letters together are one another active language
// lists, and a piece begins none of the abbreviations of those languages (ль,
// ь: what т.е. and кв.м shorten begins some). Nothing otherwise.
std::optional<RulesDecision> slashJoinedUnitsReading(const RulesConfig& config, std::string_view token);

}  // namespace quillom::scoring
