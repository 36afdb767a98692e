#pragma once

#include "config/json.h"
#include "config/rules_config.h"

namespace quillom {

// Decodes "keyboard_layout" (an empty object when missing) and completes the
// maps with the built-in directions the file does not give.
KeyboardLayoutConfig parseKeyboardLayout(const json::Value& object);

}  // namespace quillom
