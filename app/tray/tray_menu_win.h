// Shows the tray menu model as a Win32 popup menu at the cursor.
#pragma once

#include <windows.h>

#include <vector>

#include "tray_menu.h"

namespace quillom::tray {

// The chosen command arrives later as WM_COMMAND to owner.
void showTrayMenu(HWND owner, const std::vector<MenuEntry>& entries);

}  // namespace quillom::tray
