#include "backspace_revert.h"

#include "common/virtual_keys.h"

namespace quillom::pipeline {

void BackspaceRevert::arm(WindowId window, WindowId focus, uint32_t tick) {
    armed_ = enabled;
    window_ = window;
    focus_ = focus;
    armedAt_ = tick;
}

bool BackspaceRevert::onKey(const Key& key) {
    if (key.vkCode == vk::Backspace) {
        const bool repeat = key.isDown && backspaceDown_;
        backspaceDown_ = key.isDown;
        if (!key.isDown) return false;
        const bool takes = armed_ && enabled && !repeat && !key.modifierHeld && !key.held &&
                           key.foreground == window_ && key.focus == focus_ &&
                           int32_t(key.time - armedAt_) <= int32_t(kLimitMs);
        armed_ = false;
        return takes;
    }
    if (key.isDown && !isModifierKey(key.vkCode)) armed_ = false;
    return false;
}

}  // namespace quillom::pipeline
