// A short word typed just before a corrected word, on the same layout: "d
// ujhjl" is "в город", and when город is corrected, в is corrected with it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "scoring/language_index.h"

namespace quillom::scoring {

// Words of at most this many characters are corrected with the word after them.
inline constexpr std::size_t kWordBeforeMaxLength = 2;

// previous: the word typed before the corrected one, with one space between;
// typedWord: the corrected word as it was typed; target: the language it was
// corrected to. The previous word in target, with its letter case, when it is
// short, all letters, typed in a script the corrected word shares, changed
// by the layout maps and either a common word of target or a quote there
// ("Э" before an English word is '"'); or, for a number with marks and no
// letters, the number with the marks target's layout has on those keys ("5/"
// is "5."), when those are full stops and commas; otherwise nothing.
std::optional<std::string> correctWordBefore(const ScoringContext& context, std::string_view previous,
                                             std::string_view typedWord, const std::string& target);

}  // namespace quillom::scoring
