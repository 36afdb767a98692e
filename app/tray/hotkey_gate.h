// A hotkey fires while its modifier keys are still held. Undo and Convert
// send keys of their own (Backspaces, Ctrl+C), which those held modifiers
// would change (Ctrl+Backspace deletes a word), so a hotkey command waits
// until the user has let go of the modifiers, or a second has passed.
#pragma once

#include <cstdint>
#include <optional>

namespace quillom::tray {

// Main thread.
class HotkeyGate {
public:
    static constexpr uint32_t kMaxWaitMs = 1000;

    // The hotkey to run now, or nothing when it has to wait (a newer press
    // replaces a waiting one).
    std::optional<int> press(int id, bool modifiersHeld, uint32_t nowMs);
    // The waiting hotkey once the modifiers are up or the wait is over.
    std::optional<int> poll(bool modifiersHeld, uint32_t nowMs);
    bool waiting() const { return waiting_.has_value(); }

private:
    std::optional<int> waiting_;
    uint32_t since_ = 0;
};

}  // namespace quillom::tray
