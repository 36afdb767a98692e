// A short word typed just before a corrected word, on the same layout: "d
// ujhjl" is "в город", and when город is corrected, в is corrected with it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "scoring/language_index.h"
#include "scoring/language_votes.h"

namespace quillom::scoring {

// Words of at most this many characters are corrected with the word after them.
inline constexpr std::size_t kWordBeforeMaxLength = 2;

// previous: the word typed before the corrected one, with one space between;
// typedWord: the corrected word as it was typed; target: the language it was
// corrected to; votes: the languages of the last words, the corrected one
// included (null: none known). The previous word in target, with its letter
// case, when it is all letters, typed in a script the corrected word shares,
// changed by the layout maps, and either
// - short, and a common word of target or a quote there ("Э" before an
//   English word is '"'), or
// - a word of the language it was typed in whose reading in target is far
//   more frequent (Еру typed for "The" at the start of a text, kept then for
//   want of context), while the votes count no language ahead of target;
// or, for a number with marks and no letters, the number with the marks
// target's layout has on those keys ("5/" is "5."), when those are full stops
// and commas; otherwise nothing.
std::optional<std::string> correctWordBefore(const ScoringContext& context, std::string_view previous,
                                             std::string_view typedWord, const std::string& target,
                                             const LanguageVotes* votes = nullptr);

// A word the engine corrected into `correctedTo` (Cyfhzls into Снаряді)
// read again into `target` (Снаряды), another language of the same script,
// once the word after it settled that language: the typed keys mapped from
// the layout of `source` into target, with their case, when the mapping
// changes them and gives a word of target; otherwise nothing.
std::optional<std::string> revisedCorrection(const RulesConfig& config, std::string_view typed,
                                             const std::string& source, const std::string& correctedTo,
                                             const std::string& target);

}  // namespace quillom::scoring
