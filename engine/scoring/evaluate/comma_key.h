// The keys of the US comma and full stop give letters on the Cyrillic
// layouts (б and ю on the Russian and Ukrainian ones): a list or a file name
// typed there without spaces (far,distance; light,Soft; file.txt) arrives as
// one word of letters (афкбвшыефтсу, дшпребЫщае, ашдуюече), its pieces joined
// by those letters. Russian and Ukrainian words hold the same letters inside
// (рыбак, люблю), so only the pieces' own readings tell the two apart.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "config/rules_config.h"
#include "scoring/read/text_chars.h"

namespace quillom::scoring {

struct JoinedPieces {
    InlineBuffer<std::string_view, 8> pieces;
    InlineBuffer<std::string_view, 8> keys;  // keys[i] joins pieces[i] and pieces[i + 1]
};

// The letters those marks' keys give on the layouts of the active Cyrillic
// languages, worked out once per configuration.
class MarkKeyLetters {
public:
    MarkKeyLetters() = default;
    explicit MarkKeyLetters(const RulesConfig& config);

    // Such a letter, in lower case, stands inside the token (neither first nor
    // last): one byte search per letter, so most words pay nothing more.
    bool inside(std::string_view token) const;
    // The token cut at each such letter in lower case between two letters (a
    // capital is the key with Shift, another mark). Nothing when there is no
    // such letter or a piece holds fewer than two characters.
    JoinedPieces split(std::string_view token) const;
    // Two capitals or more, each alone, joined by such letters and perhaps
    // closed by them (ГюЫю is U.S., ГюЫюб U.S.,, КбПбИ R,G,B): no word of
    // those languages is cased so, and their layouts have keys of their own
    // for the marks.
    bool joinsCapitals(std::string_view token) const;

private:
    std::vector<std::string> letters_;
};

// A word that some active language other than target lists, compared in
// lower case by its letters: the word as typed, not two pieces (рыбак).
bool listedOutside(const RulesConfig& config, std::string_view word, std::string_view target);
// A piece of fewer than three characters whose reading is none of the
// target's most frequent words: more often the end of a word (вгадують) than
// a word of its own.
bool shortPieceUnlisted(const RulesConfig& config, std::string_view piece, std::string_view reading,
                        const std::string& target);

}  // namespace quillom::scoring
