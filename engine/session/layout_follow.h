// A word that the keys give alike on two layouts of one script and that
// belongs to the other layout's language: где typed on the Ukrainian layout
// in Russian text. Nothing is retyped, but the layout should follow the
// language, so that the next word (был, not біл) comes out right.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "config/rules_config.h"
#include "scoring/judge/language_votes.h"
#include "scoring/judge/rules_decision.h"

namespace quillom::session {

// The language whose layout the user should be on after typing `token` on
// the layout of `typedOn`: the word (its trailing marks aside) reads the same
// on that language's layout, belongs to it alone or far more often
// (languageOfWord), and the words typed just before do not favour the
// language typed on. Nothing when language evidence is off, the language
// typed on is not active (its words are unknown), or the two languages differ
// in script or have no map between their layouts.
std::optional<std::string> languageToFollow(const RulesConfig& config, std::string_view token,
                                            const std::string& typedOn, const scoring::LanguageVotes* votes);

// The decision as it stands, or, when it keeps a word that `languageToFollow`
// places on another layout, a refusal with reason "layout_follows_language"
// whose target language is that layout's language. Vetoes stay as they are.
RulesDecision withLayoutToFollow(const RulesConfig& config, std::string_view token,
                                 const std::optional<std::string>& activeInputSource,
                                 const scoring::LanguageVotes* votes, RulesDecision decision);

// What a finished word says of the language the user is typing.
struct WordLanguages {
    // The language it counts for among the last words: that of
    // languageOfWord, except for a correction into one language of a script
    // whose keys give a word of another active language of that script too
    // (Ті, Ты), chosen without the last words to settle it: a guess, not what
    // the user has been typing, so it counts for none. So does a word kept
    // on the layout of its language whose keys give a word of another
    // language of the script on that one's layout (Файлі, Файлы), unless it
    // is clearly more frequent than that word.
    std::optional<std::size_t> vote;
    // The language a correction shows the user typing, for the session
    // language: its target, except for a text that reads the same on the
    // layout of another active language of the target's script (Командир,
    // read in Ukrainian by the order of the languages alone): the language
    // languageOfWord gives it, if any. Nothing for no correction.
    std::optional<std::string> shown;
    // For such a text, that other language (the first, when several).
    std::optional<std::string> sameTextIn;
};
// `typedOn`: the layout's language, if known; `votes`: as for languageOfWord.
WordLanguages languagesOfWord(const RulesConfig& config, std::string_view token, const RulesDecision& decision,
                              const std::optional<std::string>& typedOn, const scoring::LanguageVotes* votes = nullptr);

// The decision as it stands, or, for a correction whose text reads the same
// on the layout of `languages.sameTextIn`, another language of its script, and
// belongs there ("same_text_layout_rank_margin"), the same correction into
// that language: the layout follows the language of the word, not the order
// of the languages. Kept when the last words favour the target.
RulesDecision withTargetOfSameText(const RulesConfig& config, const WordLanguages& languages,
                                   const scoring::LanguageVotes* votes, RulesDecision decision);

}  // namespace quillom::session
