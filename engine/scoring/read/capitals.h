// Words typed all in capitals: abbreviations. TLS typed inside Russian text
// is meant as typed, whatever its keys give on the Russian layout; CIF is
// США typed on the US layout.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "config/rules_config.h"
#include "scoring/read/text_chars.h"

namespace quillom::scoring {

// Two or more letters, every letter a capital.
bool allCapitals(const TextChars& token);

// The soft and hard signs and ы begin no word, so no acronym holds them
// (its letters begin words): ЬДЕ is no Russian acronym. Either case.
bool letterBeginsNoWord(std::string_view letter);

// Letters an acronym has at most; more capitals are a word in capitals.
inline constexpr std::size_t kAcronymMaxLetters = 5;

// An acronym's worth of capitals, letters only, that holds a letter
// beginning no word: typed for the other layout's (ЬДЕ is MLT).
bool capitalsOfNoAcronym(const TextChars& token);

// An active language of the script of `language` (itself included) lists
// `word` (lower-case) among its abbreviations: ГЕС typed on the Russian
// layout is a Ukrainian abbreviation.
bool abbreviationOfScript(const RulesConfig& config, const std::string& language, std::string_view word);

// `reading` (lower-case) is one of the abbreviations of `target` that its
// frequency list ranks, and `typed` (lower-case) is no word of `source` that
// ranks as high: CIF is США, VNC is not the rare МТС, НЕ is not YT.
bool readsAsAbbreviation(const LanguageConfig* source, std::string_view typed, const LanguageConfig& target,
                         std::string_view reading);

// `reading` (lower-case) is a ranked word of `language` in a band from 1 to
// maxBand: frequent enough to stand for a word typed in capitals.
bool frequentWord(const LanguageConfig& language, std::string_view reading, int64_t maxBand);

}  // namespace quillom::scoring
