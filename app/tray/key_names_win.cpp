#include "key_names_win.h"

#include <windows.h>

namespace quillom::tray {

std::u16string WindowsKeyNames::keyName(uint32_t vk) const {
    const UINT scanCode = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
    if (scanCode == 0) return {};
    wchar_t buffer[64] = {};
    const int n = GetKeyNameTextW(static_cast<LONG>(scanCode << 16), buffer, 64);
    if (n <= 0) return {};
    return std::u16string(reinterpret_cast<const char16_t*>(buffer), static_cast<size_t>(n));
}

}  // namespace quillom::tray
