// The settings window: one top-level window with a tab control whose pages are built from the
// layouts of settings_layout.h. Every control saves its setting at once through the portable
// tab logic; there is no OK or Cancel. Main thread only.
#pragma once

#include <windows.h>

#include "settings_host.h"

namespace quillom::ui {

// Brings the window forward when it exists; otherwise builds it (registering its class the
// first time) and shows it. host must outlive the window.
void openSettingsWindow(HINSTANCE instance, SettingsHost& host);

// The message loop hands every message here first: the window's keyboard navigation (Tab,
// Shift+Tab, Enter, Esc, Space, arrows). True when it was handled and must not be dispatched.
bool routeSettingsWindowKeys(MSG& msg);

}  // namespace quillom::ui
