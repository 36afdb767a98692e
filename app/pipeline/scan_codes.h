// Every virtual key the program sends carries its scan code: programs that
// act on scan codes (remote-desktop clients, virtual-machine consoles, many
// games) ignore a key that has none, and would see the retyped word without
// the Backspaces that erase the old one.
#pragma once

#include <span>

#include "key_event.h"
#include "platform.h"

namespace quillom::pipeline {

// A scan code as MapVirtualKeyEx's MAPVK_VK_TO_VSC_EX gives it (0xE0 or 0xE1
// in the high byte for an extended key) into the event's scan field and flags.
SyntheticKey withScanCode(SyntheticKey key, uint32_t scanEx);

// Fills the keys that have no scan code yet from the focused window's
// layout; Unicode packets carry their character there and stay as they are.
void addScanCodes(std::span<SyntheticKey> keys, Desktop& desktop);

}  // namespace quillom::pipeline
