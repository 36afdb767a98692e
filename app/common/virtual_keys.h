// The Windows virtual-key codes the program names, for code that cannot include
// the Windows headers and for the tests; the values are those of WinUser.h.
#pragma once

#include <cstdint>

namespace quillom {
namespace vk {
inline constexpr uint32_t Backspace = 0x08, Tab = 0x09, Enter = 0x0D, Shift = 0x10, Control = 0x11, Alt = 0x12,
                          Escape = 0x1B, Space = 0x20, PageUp = 0x21, PageDown = 0x22, End = 0x23, Home = 0x24,
                          Left = 0x25, Up = 0x26, Right = 0x27, Down = 0x28, Insert = 0x2D, Delete = 0x2E, A = 0x41,
                          C = 0x43, V = 0x56, X = 0x58, Z = 0x5A, LeftWin = 0x5B, RightWin = 0x5C, F1 = 0x70, F4 = 0x73,
                          F11 = 0x7A, F12 = 0x7B, F24 = 0x87, LeftShift = 0xA0, RightShift = 0xA1, LeftControl = 0xA2,
                          RightControl = 0xA3, LeftAlt = 0xA4, RightAlt = 0xA5, Oem3 = 0xC0,
                          // A key event that carries a Unicode character in its scan code.
    Packet = 0xE7;
}  // namespace vk

// Shift, Control, Alt and the Windows keys (generic, left and right codes).
inline constexpr bool isModifierKey(uint32_t code) {
    return (code >= vk::Shift && code <= vk::Alt) || code == vk::LeftWin || code == vk::RightWin ||
           (code >= vk::LeftShift && code <= vk::RightAlt);
}

}  // namespace quillom
