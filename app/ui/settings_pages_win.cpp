// The settings window's pages: every control of every page layout created at its scaled box,
// and the page the tab control shows.
#include "settings_window_state_win.h"

#include "control_ids.h"
#include "language_picker.h"
#include "tray/interface_strings.h"

#include <algorithm>

namespace quillom::ui {
namespace {

// Space between the tab control's display area and the pages.
constexpr int kPageMargin = 6;

struct WindowClassAndStyle {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

WindowClassAndStyle classOf(ControlKind kind) {
    switch (kind) {
    case ControlKind::Label: return {WC_STATICW, SS_LEFTNOWORDWRAP, 0};
    case ControlKind::Note: return {WC_STATICW, SS_LEFT, 0};
    case ControlKind::CheckBox: return {WC_BUTTONW, BS_AUTOCHECKBOX | BS_MULTILINE | WS_TABSTOP, 0};
    case ControlKind::Button: return {WC_BUTTONW, BS_PUSHBUTTON | WS_TABSTOP, 0};
    case ControlKind::DropDown: return {WC_COMBOBOXW, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0};
    case ControlKind::Edit: return {WC_EDITW, ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case ControlKind::MultiLineEdit:
        return {WC_EDITW, ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case ControlKind::ReadOnlyEdit: return {WC_EDITW, ES_AUTOHSCROLL | ES_READONLY, WS_EX_CLIENTEDGE};
    case ControlKind::HotkeyField: return {WC_EDITW, ES_CENTER | ES_READONLY | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case ControlKind::ListView:
        return {WC_LISTVIEWW, LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case ControlKind::ListBox:
        return {WC_LISTBOXW, LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    }
    return {WC_STATICW, 0, 0};
}

void addColumns(HWND list, int id) {
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_DOUBLEBUFFER);
    int index = 0;
    for (const ListColumn& column : listColumns(id)) {
        LVCOLUMNW c{};
        c.mask = LVCF_TEXT | LVCF_WIDTH;
        c.cx = scaled(column.width);
        c.pszText = const_cast<wchar_t*>(wide(tray::text(column.textId)));
        ListView_InsertColumn(list, index++, &c);
    }
}

HWND createControl(const ControlSpec& def, POINT origin) {
    const SettingsWindow& w = settingsWindow();
    const WindowClassAndStyle cls = classOf(def.kind);
    int height = scaled(def.box.height);
    // A drop-down list's window includes the list it opens.
    if (def.kind == ControlKind::DropDown) height += scaled(160);
    HWND hwnd =
        CreateWindowExW(cls.exStyle, cls.className, wide(initialText(def)), WS_CHILD | cls.style,
                        origin.x + scaled(def.box.x), origin.y + scaled(def.box.y), scaled(def.box.width), height,
                        w.window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(def.id)), w.instance, nullptr);
    if (!hwnd) return nullptr;
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(w.font.get()), FALSE);
    if (def.kind == ControlKind::ListView) addColumns(hwnd, def.id);
    if (def.kind == ControlKind::HotkeyField) attachHotkeyField(hwnd, def.id);
    return hwnd;
}

// Where the pages start: inside the tab control's display area.
POINT pageOrigin() {
    const SettingsWindow& w = settingsWindow();
    RECT area = tabDisplayArea();
    MapWindowPoints(w.tabs, w.window, reinterpret_cast<POINT*>(&area), 2);
    const int spare = (area.right - area.left) - scaled(kPageWidth);
    return {area.left + std::max(scaled(kPageMargin) / 2, spare / 2), area.top + scaled(kPageMargin)};
}

}  // namespace

std::u16string initialText(const ControlSpec& def) {
    if (!def.language.empty()) return languageDisplayName(def.language) + u":";
    return def.textId ? tray::text(*def.textId) : std::u16string();
}

void createPages() {
    SettingsWindow& w = settingsWindow();
    const POINT origin = pageOrigin();
    w.pageControls.assign(w.pages.size(), {});
    for (size_t i = 0; i < w.pages.size(); ++i)
        for (const ControlSpec& def : pageLayout(w.pages[i]))
            if (HWND hwnd = createControl(def, origin)) w.pageControls[i].push_back(hwnd);
}

void showPage(int index) {
    const SettingsWindow& w = settingsWindow();
    for (size_t page = 0; page < w.pageControls.size(); ++page)
        for (HWND hwnd : w.pageControls[page]) ShowWindow(hwnd, int(page) == index ? SW_SHOW : SW_HIDE);
}

}  // namespace quillom::ui
