// How a word's letters are cased, as evidence of what was meant.
#pragma once

#include <string_view>

namespace quillom::scoring {

// A capital letter somewhere after a lower-case one (ваЮ, getId): no word of
// running text is cased so, though identifiers are.
bool capitalAfterLower(std::string_view text);

// A correction whose letters are cased as no word is only because the keys
// of marks read there as letters: df> typed on the US layout is no Russian
// ваЮ (Shift with the mark key alone), `Dtkbrbq no ёВеликий.
bool markMakesCapitalAfterLower(std::string_view typed, std::string_view corrected);

}  // namespace quillom::scoring
