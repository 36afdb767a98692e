// Words kept at the start of a text that was typed on the wrong layout from
// its first key: an abbreviation, a name, a number with its unit, an initial
// or a mark on a letter key, kept for want of context, then the first word
// the engine could read corrected. "ЫЬГ цшдд" is "SMU will", "105vv
// cyfhzl" is "105мм снаряд": the user meant the whole run in the target.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "scoring/score/language_index.h"

namespace quillom::session {

// previous: a piece of the text's start (only pieces typed since the text
// began, each going along, lie between it and the corrected word);
// typedWord: the corrected word as typed; target: its language; typedOn:
// the layout it was typed on, when known. A number of digits alone or a dash
// piece as it stands ("2085", "-"); marks alone when they read as an
// ellipsis ("///" is "..."); otherwise the piece as its keys read in
// target, when its letters are of that layout (of an active language the
// corrected word shares, when the layout is not known) and
// - no run of its letters is a word that layout's language lists, a letter
//   the language ranks as rarely as initials counting as none
//   (decision.textStartLetterMinBand: "Г" is U, "Р-Екфты" H-Trans, "В" stays)
//   and so a longer run ranked in the list's tail
//   (decision.textStartWordMinBand: "Цю" is W.),
// - marks typed around a word, before it as a quote, or in a number stay as
//   typed ("<Ntvf>", "1941."), other typed marks may read as letters,
// - the keys of letters read as marks only after the word as its
//   punctuation, as a full stop between letters, as a quote before it, or
//   as all of one or two keys ("Вю" is "D.", "ГюЫю" "U.S.", "б" a comma),
// - no capital stands beside a digit ("4K", "A4"), and letters after a
//   number are two or more that target lists, a unit ("105vv" is 105мм;
//   "5m" stays, not 5ь), or, beforeDash (the next piece a dash), one such
//   letter that begins a word, labelling what follows ("2u - Kszdj" is
//   "2г - Лігво"),
// - every run of letters in the reading pairs only letters target's text
//   pairs, and a reading of three letters or more, letters only, that
//   target does not list scores above the piece as typed scores in its
//   own language.
// A code of capitals and digits, a number with one letter after it or a
// letter labelling an item, typed on a layout of another script before a
// word of the first active language, is that language's as its keys read
// ("3В" is 3D, "2з" 2p, "(И)" (B)).
// Otherwise nothing.
std::optional<std::string> textStartPiece(const scoring::ScoringContext& context, std::string_view previous,
                                          std::string_view typedWord, const std::string& target,
                                          const std::optional<std::string>& typedOn = std::nullopt,
                                          bool beforeDash = false);

// Within a text: previous, a number with letters after it ("30vv"), as
// textStartPiece reads it; otherwise nothing.
std::optional<std::string> numberWithUnitPiece(const scoring::ScoringContext& context, std::string_view previous,
                                               std::string_view typedWord, const std::string& target);

}  // namespace quillom::session
