// The Cyrillic language a selection typed on the US layout reads best in by
// its letters, for when the word lists do not tell.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scoring/score/language_index.h"

namespace quillom::scoring {

// Of candidates, the one whose readings of the words they read differently
// (the keys of ы/і, ъ/ї, э/є, ё/') score higher in total as words of their
// language; nothing on a tie or where every reading agrees.
std::optional<std::string> targetByLetters(const ScoringContext& context, std::string_view forLatin,
                                           const std::vector<std::string>& candidates);

}  // namespace quillom::scoring
