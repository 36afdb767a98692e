// What was typed just before the word being finished, as the pieces between
// single spaces that a correction of the word may take along: "d ujhjl" is
// "в город", "5/ Abkmnhs" is "5. Фильтры", "Э Ш аууд" is "\" I feel". A piece
// holds words and the punctuation keys that ended them; the engine decides
// which pieces go with the correction. A word Quillom corrected, followed by
// one space, is kept apart with the words typed after it, each followed by one
// space: a later word may settle a language that has them read again
// (Снаряді с передней is "Снаряды с передней").
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pipeline/word_capture.h"

namespace quillom::pipeline {

class WordsBefore {
public:
    static constexpr std::size_t kMaxPieces = 2;
    // Words after a correction that it may still be read again across; the
    // engine holds a guess open across no more.
    static constexpr std::size_t kMaxWordsAfterCorrection = 3;

    // How a key that leaves no word being typed bears on the pieces.
    enum class Gap {
        Space,    // closes the piece typed so far; a second space forgets all
        Nothing,  // a key that changed nothing (Shift pressed alone)
        Break,    // anything else: Enter, Tab, a punctuation key on its own, a reset
    };

    // The pieces before the word now finished, nearest last; none unless a
    // single space came right before the word.
    const std::vector<std::u16string>& pieces() const { return open_.empty() ? closed_ : none_; }

    // A finished word that stayed as typed joins the open piece with its
    // punctuation key, and, ended by a space, the words after the correction
    // before; a corrected one has taken the pieces along, and, ended by a
    // space, is the correction before the next word: correctedTo is the word
    // as the correction typed it.
    void onWord(const FinishedWord& word, bool corrected, std::u16string_view correctedTo = {});
    void onGap(Gap gap);
    void clear();
    // UTF-16 units held in all pieces, the open one included, or, when a
    // correction is before, in its typed word and the words after it.
    std::size_t length() const;

    // What a correction of word to `corrected` replaces, and with what:
    // onScreen, the text erased (the word as typed, the pieces, the
    // correction before as it stands), typed, the same as the user typed it,
    // and its replacement. `along` gives a piece's replacement or the
    // correction before's new reading (the engine's answer). The correction
    // before is read again when the engine says so; otherwise the pieces go
    // along, nearest first, while it corrects them. Nothing goes along a word
    // whose beginning is unknown. One replacement, one Undo.
    struct Replacement {
        std::u16string typed, replacement, onScreen;
    };
    using PieceCorrection = std::function<std::optional<std::string>(const std::string& piece)>;
    Replacement withPiecesBefore(const FinishedWord& word, std::string_view corrected,
                                 const PieceCorrection& along) const;
    // The correction before and the words after it read again, with word,
    // now `now` (as typed when it stays), after them: `along` is asked for
    // them as typed, one space between; nothing when there is no correction
    // before or `along` leaves it.
    std::optional<Replacement> withCorrectionBefore(const FinishedWord& word, std::string_view now,
                                                    const PieceCorrection& along) const;

private:
    struct Correction {
        std::u16string typed, replacement;
        std::u16string after;  // " с передней": the words typed after it
        std::size_t wordsAfter = 0;
    };
    void close();

    std::vector<std::u16string> closed_;
    std::u16string open_;
    std::optional<Correction> corrected_;  // the correction before, the words after it
    const std::vector<std::u16string> none_;
};

// The gap a key-down made when it left no word being typed: noWordBefore, no
// word was being typed before it either; madeBeginningUnknown, it reset the
// capture (an editing or navigation key).
WordsBefore::Gap gapOf(uint32_t vkCode, char16_t ch, bool noWordBefore, bool madeBeginningUnknown);

}  // namespace quillom::pipeline
