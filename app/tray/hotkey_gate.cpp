#include "hotkey_gate.h"

namespace quillom::tray {

std::optional<int> HotkeyGate::press(int id, bool modifiersHeld, uint32_t nowMs) {
    if (!modifiersHeld) {
        waiting_.reset();
        return id;
    }
    waiting_ = id;
    since_ = nowMs;
    return std::nullopt;
}

std::optional<int> HotkeyGate::poll(bool modifiersHeld, uint32_t nowMs) {
    if (!waiting_) return std::nullopt;
    if (modifiersHeld && nowMs - since_ < kMaxWaitMs) return std::nullopt;
    std::optional<int> id = waiting_;
    waiting_.reset();
    return id;
}

}  // namespace quillom::tray
