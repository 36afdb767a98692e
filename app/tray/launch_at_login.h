// Launch at login, the part that is not registry access: Windows' own startup settings keep the
// user's choice per Run value under Explorer\StartupApproved\Run, a binary value whose first
// byte has its lowest bit set when the user turned the program off there. The Run value then
// starts nothing, and writing it again does not change that.
#pragma once

#include <cstdint>
#include <span>

namespace quillom::tray {

// data: the StartupApproved value's bytes; empty when the value does not exist (nothing chosen).
bool disabledInStartupSettings(std::span<const uint8_t> data);

}  // namespace quillom::tray
