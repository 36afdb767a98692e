// Plain values for what the low-level hooks see and what the program sends.
// The hook adapters turn the Windows structures into these, so the decisions
// never see a Windows type.
#pragma once

#include <cstdint>

#include "common/virtual_keys.h"

namespace quillom::pipeline {

// Every input event the program sends carries this in its extra information
// ("QMWI"); the hooks ignore such events.
inline constexpr uintptr_t kInjectedMarker = 0x514D5749;
inline constexpr bool isOwnInjected(uintptr_t extraInfo) { return extraInfo == kInjectedMarker; }

struct KeyEvent {
    uint32_t vkCode = 0;
    uint32_t scanCode = 0;
    bool isDown = false;    // WM_KEYDOWN or WM_SYSKEYDOWN
    bool extended = false;  // LLKHF_EXTENDED
    uint32_t time = 0;      // message time in milliseconds (tick count)
    uintptr_t extraInfo = 0;
};

enum class HookVerdict { Pass, Swallow };

enum class MouseMessage { ButtonDown, ButtonUp, Wheel, Other };

// What the low-level mouse hook sees of a button or wheel event.
struct MouseEvent {
    MouseMessage kind = MouseMessage::Other;
    uint32_t message = 0;    // the window message (WM_LBUTTONDOWN ...), to send it again
    long x = 0, y = 0;       // screen position
    uint32_t mouseData = 0;  // wheel delta or X button, in the high word
    uint32_t time = 0;
    uintptr_t extraInfo = 0;

    friend bool operator==(const MouseEvent&, const MouseEvent&) = default;
};

// One synthetic keyboard event; the sender adds the marker and the record size.
struct SyntheticKey {
    uint16_t vk = 0;
    uint16_t scan = 0;
    uint32_t flags = 0;

    friend bool operator==(const SyntheticKey&, const SyntheticKey&) = default;
};

namespace keyflag {
inline constexpr uint32_t Extended = 0x1, KeyUp = 0x2, Unicode = 0x4;
}

}  // namespace quillom::pipeline
