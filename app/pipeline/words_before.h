// What stands on screen just before the word being finished, as the pieces
// between single spaces that a correction of the word may take along ("d
// ujhjl" is "в город", "5/ Abkmnhs" is "5. Фильтры", a dash alone one of
// them: "2u - Ksudj"), each as typed and as it stands (a correction Quillom
// typed), and what was typed since the last word ended. The engine
// remembers the words and decides which pieces go along; this tells it what
// came between two words and erases what it rewrites.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

#include "pipeline/word_capture.h"

namespace quillom::pipeline {

class WordsBefore {
public:
    // Pieces kept: a correction and the words after it it may be read again
    // across, or the short pieces a correction takes along.
    static constexpr std::size_t kMaxPieces = 4;

    // How a key that leaves no word being typed bears on the pieces.
    enum class Gap {
        Space,    // closes the piece typed so far; a second space forgets all
        Dash,     // after one space, a piece of its own once a space follows it
        Nothing,  // a key that changed nothing (Shift pressed alone)
        Break,    // anything else: Enter, Tab, a punctuation key on its own, a reset
    };

    // What was typed since the last finished word ended, its ending key
    // first, UTF-8 (" - " holds a dash alone); nothing when that is unknown,
    // held a break, or ends in a dash the word may be joined to ("-la").
    const std::optional<std::string>& typedSince() const;

    // A finished word, retyped by Quillom (replayed) or not; shown is the
    // word as the correction typed it, empty for a revision of the words
    // before.
    void onWord(const FinishedWord& word, bool replayed, std::u16string_view shown = {});
    // ch, the character the key typed (the dash of Gap::Dash).
    void onGap(Gap gap, char16_t ch = 0);
    void clear();
    // UTF-16 units of all pieces, the open one included.
    std::size_t length() const;

    // What a replay of word replaces, and with what: onScreen, the text
    // erased (the last `pieces` pieces, as they stand, and the word), typed,
    // the same as the user typed it, and replacement: `before` (the engine's
    // new text of the pieces), a space, and `now`. Only the word when the
    // pieces are not all on screen.
    struct Replacement {
        std::u16string typed, replacement, onScreen;
    };
    Replacement replacing(const FinishedWord& word, std::size_t pieces, std::string_view before,
                          std::string_view now) const;

private:
    struct Piece {
        std::u16string typed, shown;
    };
    void close();

    std::deque<Piece> closed_;
    std::u16string open_;
    std::optional<std::string> typedSince_;
    bool dashOpen_ = false;  // open_ is a dash no space followed yet
};

// The gap a key-down made when it left no word being typed: noWordBefore, no
// word was being typed before it either; madeBeginningUnknown, it reset the
// capture (an editing or navigation key, or a character no word holds).
WordsBefore::Gap gapOf(uint32_t vkCode, char16_t ch, bool noWordBefore, bool madeBeginningUnknown);

}  // namespace quillom::pipeline
