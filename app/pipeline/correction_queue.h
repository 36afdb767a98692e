// The FIFO between the keyboard hook and the message loop: corrections to
// replay, and the user's keys that arrived while corrections were pending and
// are held back so that they reach the application after the replacement.
#pragma once

#include <bitset>

#include <cstdint>
#include <deque>
#include <string>
#include <variant>
#include <vector>

#include "key_event.h"
#include "word_capture.h"

namespace quillom::pipeline {

struct PendingCorrection {
    // UTF-16 units erased: the typed word, with the words that go along as
    // they stand on screen (a correction read again stands as corrected).
    uint32_t eraseCount = 0;
    std::u16string typedWord;
    std::u16string replacement;
    uint32_t boundaryChar = 0;
    BoundaryKind boundaryKind = BoundaryKind::Space;
    std::string targetLang;
    std::vector<uint16_t> heldShifts;  // Shift keys held with the boundary key, by virtual key
    // A punctuation key's character in the layout the correction switches to
    // ("?" typed on the English layout is "," on the Russian one): sent in
    // place of boundaryChar; 0 sends boundaryChar. Undo restores boundaryChar.
    uint32_t boundaryAfterSwitch = 0;
    // The word whose correction made the step, as typed: what learning takes
    // when the step is undone (the correction read again, when a kept word
    // settled its language; else the word just typed).
    std::u16string learnedWord;
};

// A user key event swallowed by the hook, to be sent again as it was. It is
// read into the word only when it goes out, in the layout then in force.
struct HeldKey {
    uint32_t vkCode = 0;
    uint32_t scanCode = 0;
    bool isDown = false;
    bool extended = false;
    // The modifier keys held when the key was seen: the key is read with
    // them (a boundary key is sent again with its Shift, the Undo hotkey's
    // letter keeps its Ctrl), whatever the user holds by the time it is read.
    std::bitset<256> modifiers;
};

// A mouse button or wheel event swallowed by the hook: it would move the
// caret before the replay's Backspaces.
struct HeldMouse {
    MouseEvent event;
};

// A Backspace took the last correction back: the drain undoes it in turn.
struct PendingRevert {};

using QueuedInput = std::variant<PendingCorrection, HeldKey, HeldMouse, PendingRevert>;

// What the drain types itself, as opposed to the user's input it sends again.
inline bool changesText(const QueuedInput& q) {
    return std::holds_alternative<PendingCorrection>(q) || std::holds_alternative<PendingRevert>(q);
}

// Appended by the keyboard hook, drained by the message loop; both run on the
// main thread, so there is no lock.
using CorrectionQueue = std::deque<QueuedInput>;

}  // namespace quillom::pipeline
