#include "tray_menu_win.h"

namespace quillom::tray {
namespace {

HMENU buildMenu(const std::vector<MenuEntry>& entries) {
    HMENU menu = CreatePopupMenu();
    for (const MenuEntry& e : entries) {
        const auto* text = reinterpret_cast<const wchar_t*>(e.text.c_str());
        switch (e.kind) {
        case MenuEntry::Kind::Separator: AppendMenuW(menu, MF_SEPARATOR, 0, nullptr); break;
        case MenuEntry::Kind::Submenu:
            // The parent menu owns the submenu and destroys it with itself.
            AppendMenuW(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(buildMenu(e.children)), text);
            break;
        case MenuEntry::Kind::Item:
            AppendMenuW(menu, MF_STRING | (e.checked ? MF_CHECKED : 0) | (e.greyed ? MF_GRAYED : 0), e.command, text);
            break;
        }
    }
    return menu;
}

}  // namespace

void showTrayMenu(HWND owner, const std::vector<MenuEntry>& entries) {
    HMENU menu = buildMenu(entries);
    POINT cursor{};
    GetCursorPos(&cursor);
    // Without the foreground the menu would not close on a click elsewhere.
    SetForegroundWindow(owner);
    TrackPopupMenu(menu, TPM_BOTTOMALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, owner, nullptr);
    PostMessageW(owner, WM_NULL, 0, 0);
    DestroyMenu(menu);
}

}  // namespace quillom::tray
