// Backspace right after an automatic correction takes it back, as Undo does.
// The chance lasts until any other key, a click, another window or control,
// or kLimitMs after the replay; the key must be a fresh press of Backspace
// alone (no modifier, not the auto-repeat of a held key).
#pragma once

#include <cstdint>

#include "platform.h"

namespace quillom::pipeline {

// Main thread, like the rest of the pipeline state.
class BackspaceRevert {
public:
    // Long enough to read the replaced word and react (well under a second
    // for most), short enough that a Backspace after a pause to think edits
    // the text as the user expects.
    static constexpr uint32_t kLimitMs = 3000;

    bool enabled = true;

    // A correction was just typed into this window and control; tick is the
    // time its replay ended.
    void arm(WindowId window, WindowId focus, uint32_t tick);
    void disarm() { armed_ = false; }
    bool armed() const { return armed_; }

    struct Key {
        uint32_t vkCode = 0;
        bool isDown = false;
        bool modifierHeld = false;  // Shift, Control, Alt or Windows
        bool held = false;          // a key held back behind a replay: it was pressed before the text changed
        uint32_t time = 0;
        WindowId foreground = 0, focus = 0;
    };
    // Every key event the user makes, in order. True: this press takes the
    // correction back and must not reach the application. Any other key
    // down ends the chance, modifiers alone do not.
    bool onKey(const Key& key);
    // A mouse button or the wheel ends the chance.
    void onClick() { armed_ = false; }

private:
    bool armed_ = false;
    bool backspaceDown_ = false;  // a further down before its up is the key's auto-repeat
    WindowId window_ = 0, focus_ = 0;
    uint32_t armedAt_ = 0;
};

}  // namespace quillom::pipeline
