// A short word typed just before a corrected word, on the same layout: "d
// ujhjl" is "в город", and when город is corrected, в is corrected with it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "scoring/score/language_index.h"
#include "scoring/judge/language_votes.h"

namespace quillom::session {

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
// for one or two keys, marks among them, typed on the layout of the corrected
// word and all letters in target, the word they spell when it is a common
// word of target ("][" is їх, "'" є), unless a bracket or full stop stands
// alone;
// for such a word ended by a punctuation key that is a mark in target too,
// the word and that key's mark in target ("b?" is "и,");
// for a number with marks and no letters, the number with the marks
// target's layout has on those keys ("5/" is "5."), when those are full stops
// and commas; otherwise nothing.
std::optional<std::string> correctWordBefore(const scoring::ScoringContext& context, std::string_view previous,
                                             std::string_view typedWord, const std::string& target,
                                             const scoring::LanguageVotes* votes = nullptr);

// A word the engine corrected into `correctedTo` (Cyfhzls into Снаряді, as
// `corrected`) read again into `target` (Снаряды), another language of the
// same script, once a later word settled that language: the typed keys
// mapped from the layout of `source` into target when the correction was
// their reading in correctedTo and that mapping gives a word of target (any
// reading when the correction was no listed word either: a guess of the
// layout alone), whose reading in correctedTo is not far more frequent; the
// correction itself when it reads the same in target; otherwise nothing.
std::optional<std::string> revisedCorrection(const RulesConfig& config, std::string_view typed,
                                             std::string_view corrected, const std::string& source,
                                             const std::string& correctedTo, const std::string& target);

// A correction of typed, on the layout of source, into target, a language of
// a script that another active language shares, when its keys read as a
// word of that language too (Снаряді, Снаряды), or as the same text there
// (Бомба), or as a listed word of neither (Супертяжелій): unless the last
// words chose the language, the layout it switches to is a guess that a
// later word may prove wrong.
bool guessedBetweenTwins(const RulesConfig& config, std::string_view typed, const std::string& source,
                         const std::string& target);

// A word kept as typed on the layout of `guessed` after such a guess, which
// counts for `vote` among the last words: it leaves the guess open unless it
// confirms it, as a word of `guessed` whose keys read as no word of another
// language of its script, or as one far less frequent there (що; корпус, a
// word of both, does not).
bool keepsGuessOpen(const RulesConfig& config, std::string_view typed, const std::string& guessed,
                    std::optional<std::size_t> vote);

// A word typed after such a guess, kept as typed on the layout of `guessed`,
// the language of the guess, once a later word settled `target`: the user
// meant its keys in target (взрівается, typed for взрывается after the
// layout followed the guess). The keys read in target, with their case,
// unless the word as typed is a word of `guessed` and that reading no word
// of target; the word as typed when the keys read the same (с, на).
std::string wordAfterGuessRevised(const RulesConfig& config, std::string_view typed, const std::string& guessed,
                                  const std::string& target);

}  // namespace quillom::session
