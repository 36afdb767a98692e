// The hotkey capture fields: read-only edits that take every key themselves.
#include <windows.h>
#include <commctrl.h>

#include "control_ids.h"
#include "hotkey_field.h"
#include "settings_window_state_win.h"
#include "tray/interface_strings.h"

namespace quillom::ui {
namespace {

constexpr int kFields[] = {ctrl::HotkeyUndo, ctrl::HotkeyConvert, ctrl::HotkeyConvertEn, ctrl::HotkeyConvertRu,
                           ctrl::HotkeyConvertUk};

uint32_t heldModifiers() {
    uint32_t mods = 0;
    if (GetKeyState(VK_CONTROL) < 0) mods |= tray::modifier::Ctrl;
    if (GetKeyState(VK_MENU) < 0) mods |= tray::modifier::Alt;
    if (GetKeyState(VK_SHIFT) < 0) mods |= tray::modifier::Shift;
    if (GetKeyState(VK_LWIN) < 0 || GetKeyState(VK_RWIN) < 0) mods |= tray::modifier::Win;
    return mods;
}

void showBinding(HWND field, int id) { SetWindowTextW(field, wide(hotkeyFieldText(*settingsWindow().host, id))); }

// Tab and Shift+Tab move on as in any dialog; with Ctrl, Alt or Win held they are shortcuts.
bool isPlainTab(LPARAM lParam) {
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    return msg && msg->message == WM_KEYDOWN && msg->wParam == VK_TAB &&
           (heldModifiers() & (tray::modifier::Ctrl | tray::modifier::Alt | tray::modifier::Win)) == 0;
}

LRESULT CALLBACK fieldProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    const int id = int(data);
    switch (message) {
    case WM_GETDLGCODE: return isPlainTab(lParam) ? 0 : DLGC_WANTALLKEYS;
    case WM_LBUTTONDOWN: SetFocus(field); return 0;
    case WM_SETFOCUS:
        settingsWindow().host->suspendHotkeys();
        SetWindowTextW(field, wide(tray::text(tray::TextId::PressShortcut)));
        break;
    case WM_KILLFOCUS:
        showBinding(field, id);
        settingsWindow().host->registerHotkeys();
        break;
    case WM_CHAR:
    case WM_SYSCHAR: return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        const HotkeyKey key = hotkeyFieldKey(uint32_t(wParam), heldModifiers());
        if (key.action == HotkeyKeyAction::Ignore) return 0;
        if (key.action != HotkeyKeyAction::Cancel) {
            const HotkeyFieldResult result = applyHotkeyField(*settingsWindow().host, id, key.binding);
            // A refusal stays in the field, which waits for another combination.
            if (!result.message.empty()) {
                SetWindowTextW(field, wide(result.message));
                return 0;
            }
        }
        // Leaving the field shows the binding as it now stands.
        SetFocus(settingsWindow().window);
        return 0;
    }
    case WM_NCDESTROY: RemoveWindowSubclass(field, fieldProc, 1); break;
    default: break;
    }
    return DefSubclassProc(field, message, wParam, lParam);
}

}  // namespace

void attachHotkeyField(HWND field, int id) { SetWindowSubclass(field, fieldProc, 1, DWORD_PTR(id)); }

void showHotkeyTexts() {
    for (int id : kFields)
        if (HWND field = control(id)) showBinding(field, id);
}

}  // namespace quillom::ui
