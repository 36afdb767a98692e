// The system's name of a key that the hotkey text does not name itself (for example
// "Num 5" or "Page Up"). The Windows implementation is WindowsKeyNames (key_names_win.h).
#pragma once

#include <cstdint>
#include <string>

namespace quillom::tray {

class KeyNameSource {
public:
    virtual ~KeyNameSource() = default;
    // Empty when the system has no name for the virtual key.
    virtual std::u16string keyName(uint32_t vk) const = 0;
};

}  // namespace quillom::tray
