// Names and identifiers written in mixed case (OpenTTD, NewGRF, DoCommand)
// typed on a layout of another script: kept as identifiers for their inner
// capitals, though cut where their case changes they read as words of the
// target and capitals, while the pieces as typed are no words of theirs.
#pragma once

#include <string>

#include "config/rules_config.h"
#include "scoring/score/language_index.h"
#include "scoring/read/text_chars.h"

namespace quillom::scoring {

// `typed`: the word as typed, its trailing boundary removed; `reading`: its
// keys on the target's layout, case kept. True when the target is written in
// Latin letters, `from` in another script, and the reading, less closing
// marks and a possessive ('s), cuts at its case changes into pieces that are
// each a word the target lists, capitals (an abbreviation, with a plural s)
// or a first lower-case letter (iPhone), one of them a listed word of three
// letters or more; when the typed pieces of three letters or more are no
// words of their script that their readings do not far outrank, its capitals
// no abbreviation of it, and the whole no word; and when the last words are
// the target's (`textOfTarget`) or the letters of a typed piece pair as the
// script's text never does (Щзут).
bool mixedCaseNameOfTarget(const ScoringContext& context, const std::string& from, const LanguageConfig& target,
                           const TextChars& typed, const TextChars& reading, bool textOfTarget);

}  // namespace quillom::scoring
