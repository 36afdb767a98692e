// What was typed just before the word being finished, as the pieces between
// single spaces that a correction of the word may take along: "d ujhjl" is
// "в город", "5/ Abkmnhs" is "5. Фильтры", "Э Ш аууд" is "\" I feel". A piece
// holds words and the punctuation keys that ended them; the engine decides
// which pieces go with the correction.
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
    // punctuation key; a corrected one has taken the pieces along.
    void onWord(const FinishedWord& word, bool corrected);
    void onGap(Gap gap);
    void clear();
    // UTF-16 units held in all pieces, the open one included.
    std::size_t length() const;

    // What a correction of word to `corrected` replaces, and with what: the
    // word and the pieces before it that go along, nearest first, while
    // `along` gives a piece's replacement (the engine's answer). None go
    // along a word whose beginning is unknown. One replacement, one Undo.
    struct Replacement {
        std::u16string typed, replacement;
    };
    using PieceCorrection = std::function<std::optional<std::string>(const std::string& piece)>;
    Replacement withPiecesBefore(const FinishedWord& word, std::string_view corrected,
                                 const PieceCorrection& along) const;

private:
    void close();

    std::vector<std::u16string> closed_;
    std::u16string open_;
    const std::vector<std::u16string> none_;
};

// The gap a key-down made when it left no word being typed: noWordBefore, no
// word was being typed before it either; madeBeginningUnknown, it reset the
// capture (an editing or navigation key).
WordsBefore::Gap gapOf(uint32_t vkCode, char16_t ch, bool noWordBefore, bool madeBeginningUnknown);

}  // namespace quillom::pipeline
