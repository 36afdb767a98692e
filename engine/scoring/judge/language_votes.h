// What the words typed just before say about the language of the next one:
// how many of them belong to each active language. Tells apart two languages
// of one script (Russian and Ukrainian) where a word reads as a word of both.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "config/rules_config.h"

namespace quillom::scoring {

// Counts by position in the configuration's "active_languages".
struct LanguageVotes {
    static constexpr std::size_t maxLanguages = 8;
    std::array<std::uint8_t, maxLanguages> counts{};
    // The language of a script that the engine's last correction went to by
    // the order of the languages alone (Командир, read the same in Russian
    // and Ukrainian), while no word after it has counted for a language: the
    // layout in use is a guess. By position; nothing when there is none.
    std::optional<std::uint8_t> guessedLayout;
    // The layout the word before was typed on when it was kept as typed, by
    // position: a word typed on another layout now is typed after the user
    // changed the layout by hand. Nothing after a correction or a reset.
    std::optional<std::uint8_t> keptOn;
    // The layout the user changed to by hand from another of its script, by
    // position, while no correction has switched it since.
    std::optional<std::uint8_t> chosenByHand;
    // The last words were each corrected from one layout into one language,
    // and no word has been kept since: that layout and that language, by
    // position, and how many words in a row (0: no such run). A layout
    // switched by a correction gets no more words of it unless the switch
    // did not take.
    struct CorrectedRun {
        std::uint8_t from = 0, into = 0;
        std::uint8_t words = 0;
    };
    CorrectedRun correctedRun;
    // How many words counted for each language lately, in any application:
    // all halve when one reaches writtenCap. A reset keeps them: another
    // application or a click does not change the language the user writes in.
    static constexpr std::uint16_t writtenCap = 64;
    std::array<std::uint16_t, maxLanguages> written{};

    // The count of the language with this key; 0 for one that is not active.
    int countOf(const RulesConfig& config, std::string_view language) const;
};

// The position of `language` in the configuration's "active_languages", when
// it is among the first LanguageVotes::maxLanguages.
std::optional<std::size_t> activeIndex(const RulesConfig& config, std::string_view language);

// True when the votes put `language` ahead of `other` by the configured lead.
bool votesFavour(const RulesConfig& config, const LanguageVotes* votes, std::string_view language,
                 std::string_view other);

// True when the votes put some active language of the script `language` is
// written in (itself included, active or not) ahead of `other`.
bool votesFavourScriptOf(const RulesConfig& config, const LanguageVotes* votes, const std::string& language,
                         std::string_view other);

// True when no word counted for a language among the last words (or no votes).
bool noLanguageCounted(const LanguageVotes* votes);

// True when the user has lately written mostly `language` rather than
// `other` (in any application): at least 4 words and three times as many.
bool writtenMostly(const RulesConfig& config, const LanguageVotes* votes, std::string_view language,
                   std::string_view other);

// How many twin rank margins of bands a reading must stand before one in the
// language the user has lately written mostly, where nothing typed here tells.
inline constexpr int64_t kWrittenLanguageMarginFactor = 4;
// And how many same-text rank margins a word listed as the same text there.
inline constexpr int64_t kWrittenSameTextMarginFactor = 2;

// True when the votes count more words of some active language than of
// `language`; false without votes.
bool votesLeanAwayFrom(const RulesConfig& config, const LanguageVotes* votes, std::string_view language);

// True when `reading`, a listed word of `target`, stands at least `factor`
// times the configured twin rank margin of frequency bands before `typed`, a
// word of `source` (both lower-case): руку typed for "here". False when the
// rules weigh no frequency (no evidence, or no margin) or `reading` has no rank.
bool farMoreFrequentReading(const RulesConfig& config, const LanguageConfig& source, std::string_view typed,
                            const LanguageConfig& target, std::string_view reading, int64_t factor = 1);

// The active language a finished word belongs to, by position in
// "active_languages": the only one that lists it, or of several the one whose
// rank band is lower than every other's by at least the configured twin rank
// margin. Nothing for a word of fewer than 2 letters, a word no active
// language lists, a tie, or a word among the frequent ones of two languages
// (на, до: the bands of the most frequent words tell no language from the
// other). A word listed as the same text in a language the user has lately
// written mostly (`votes`) counts for another only by twice the same-text
// margin (тихо, 51 in Russian and 68 in Ukrainian, is no Russian word in the
// text of one who writes Ukrainian). Looks the word up without allocating.
std::optional<std::size_t> languageOfWord(const RulesConfig& config, std::string_view word,
                                          const LanguageVotes* votes = nullptr);

}  // namespace quillom::scoring
