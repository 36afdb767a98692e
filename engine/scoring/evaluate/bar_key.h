// The key of "/" on the Russian layout (Shift and the backslash key) gives the
// bar on the US layout: Vkl|dsrk typed there is Вкл/выкл, Drk|Dsrk Вкл/Выкл.
// The words around a bar typed between them are Russian typed on the US
// layout when a piece reads as a word only Russian lists, or the text is
// Russian.
#pragma once

#include <optional>
#include <string_view>

#include "config/rules_config.h"
#include "scoring/judge/language_votes.h"
#include "scoring/judge/rules_decision.h"

namespace quillom::scoring {

// The token read on the Russian layout, each bar the slash, when the rules ask
// for it ("bar_key_of_russian_slash"), Russian and English are active, every
// letter is Latin, a bar stands between two pieces or opens the token (|etc),
// the user never asked to keep the token, no active Ukrainian lists it with
// the bar as its Ґ, and a piece of two letters or more reads as a word
// Russian lists or the last words count Russian ahead of English. A piece of
// two letters or more that reads as no Russian word stays as typed
// (ПАКЕТ/copyright, /etc); bars only between such pieces stay bars
// ({pre|post}). Nothing otherwise; costs a byte search for a word without a
// bar.
std::optional<RulesDecision> barKeyReading(const RulesConfig& config, std::string_view token,
                                           const LanguageVotes* votes);

}  // namespace quillom::scoring
