// Key names from the keyboard driver: MapVirtualKeyW and GetKeyNameTextW.
#pragma once

#include "key_names.h"

namespace quillom::tray {

class WindowsKeyNames final : public KeyNameSource {
public:
    std::u16string keyName(uint32_t vk) const override;
};

}  // namespace quillom::tray
