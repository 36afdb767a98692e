// The window put together from its frame, pages and fill steps; the window's messages and the
// handlers of the General, Sound, Auto Rules and Debug pages.
#include "settings_window_win.h"

#include <shellapi.h>

#include "control_ids.h"
#include "general_tab.h"
#include "hotkey_field.h"
#include "settings_window_state_win.h"
#include "tray/debug_log_win.h"
#include "tray/interface_strings.h"

#include <algorithm>

namespace quillom::ui {
namespace {

using tray::TextId;

constexpr wchar_t kManualAddress[] = L"https://www.quillom.example/manual";

SettingsWindow gWindow;

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The tab shown after a rebuild, when the new window still has it.
int takeReopenPage() {
    const int page = gWindow.reopenPage < int(gWindow.pages.size()) ? gWindow.reopenPage : 0;
    gWindow.reopenPage = 0;
    return page;
}

bool buildWindow() {
    if (!createFrame(windowProc)) return false;
    createPages();
    fillPages();
    const int page = takeReopenPage();
    TabCtrl_SetCurSel(gWindow.tabs, page);
    showPage(page);
    reportClippedTexts();
    return true;
}

void rebuild() {
    if (gWindow.tabs) gWindow.reopenPage = std::max(0, TabCtrl_GetCurSel(gWindow.tabs));
    if (gWindow.window) DestroyWindow(gWindow.window);
    openSettingsWindow(gWindow.instance, *gWindow.host);
}

bool checked(int id) { return SendMessageW(control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void messageBox(TextId textId, const std::u16string& caption, UINT icon) {
    MessageBoxW(gWindow.window, wide(tray::text(textId)), wide(caption), icon);
}

void restoreDefaults() {
    if (MessageBoxW(gWindow.window, wide(tray::text(TextId::RestoreQuestion)), wide(tray::text(TextId::RestoreCaption)),
                    MB_YESNO | MB_ICONWARNING) != IDYES)
        return;
    restoreAllDefaults(*gWindow.host, [](RestoreOutcome outcome) {
        if (outcome == RestoreOutcome::Failed) {
            messageBox(TextId::RestoreFailed, tray::text(TextId::ErrorCaption), MB_ICONERROR);
            return;
        }
        messageBox(TextId::RestoreDone, u"Quillom", MB_ICONINFORMATION);
        PostMessageW(gWindow.window, kMsgRebuild, 0, 0);
    });
}

void launchAtLoginClicked() {
    const LaunchAtLoginOutcome outcome = switchLaunchAtLogin(*gWindow.host, checked(ctrl::LaunchAtLogin));
    if (!outcome.blocked) return;
    SendMessageW(control(ctrl::LaunchAtLogin), BM_SETCHECK, outcome.nowOn ? BST_CHECKED : BST_UNCHECKED, 0);
    messageBox(TextId::LaunchAtLoginBlocked, u"Quillom", MB_ICONINFORMATION);
}

void onButton(int id) {
    switch (id) {
    case ctrl::UppercaseOnlyExactPairs:
    case ctrl::ProtectEndings:
    case ctrl::PauseInGames:
    case ctrl::BackspaceReverts:
    case ctrl::PlaySound: setOption(*gWindow.host, id, checked(id)); break;
    case ctrl::LaunchAtLogin: launchAtLoginClicked(); break;
    case ctrl::CheckNow: gWindow.host->checkForUpdatesInteractively(); break;
    case ctrl::UserManual: ShellExecuteW(nullptr, L"open", kManualAddress, nullptr, nullptr, SW_SHOWNORMAL); break;
    case ctrl::ResetSettings: restoreDefaults(); break;
    case ctrl::ResetHotkeys:
        resetHotkeys(*gWindow.host);
        showHotkeyTexts();
        break;
    case ctrl::SendFeedback: sendFeedback(); break;
    case ctrl::OpenInExplorer: {
        const std::wstring parameters = L"/select,\"" + executablePath() + L"\"";
        ShellExecuteW(nullptr, L"open", L"explorer.exe", parameters.c_str(), nullptr, SW_SHOWNORMAL);
        break;
    }
    case ctrl::DebugLog:
        SendMessageW(control(id), BM_SETCHECK, gWindow.host->setDebugLog(checked(id)) ? BST_CHECKED : BST_UNCHECKED, 0);
        break;
    case ctrl::ShowLogFile:
        ShellExecuteW(nullptr, L"open", tray::logFilePath().c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        break;
    default: break;
    }
}

void onSelectionChange(int id) {
    const int row = selectedRow(id);
    switch (id) {
    case ctrl::CorrectionSound:
    case ctrl::UndoSound: chooseSound(*gWindow.host, id, row); break;
    case ctrl::UpdateFrequency: chooseUpdateFrequency(*gWindow.host, row); break;
    case ctrl::InterfaceLanguage:
        if (chooseInterfaceLanguage(*gWindow.host, row)) PostMessageW(gWindow.window, kMsgRebuild, 0, 0);
        break;
    default: break;
    }
}

void onCommand(int id, int notification) {
    if (handleListCommand(id, notification)) return;
    if (notification == BN_CLICKED) onButton(id);
    else if (notification == CBN_SELCHANGE) onSelectionChange(id);
}

void forgetWindow() {
    if (gWindow.excludedImages) {
        if (HWND list = control(ctrl::ExcludedList)) ListView_SetImageList(list, nullptr, LVSIL_SMALL);
        ImageList_Destroy(gWindow.excludedImages);
        gWindow.excludedImages = nullptr;
    }
    gWindow.window = nullptr;
    gWindow.tabs = nullptr;
    gWindow.pageControls.clear();
    gWindow.pages.clear();
    gWindow.pairRows.clear();
    gWindow.neverRows.clear();
    gWindow.languageRows.clear();
    gWindow.excludedRows.clear();
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        // Esc reaches the window from IsDialogMessage as IDCANCEL: it closes, as a dialog does.
        if (window == gWindow.window && LOWORD(wParam) == IDCANCEL && lParam == 0) {
            DestroyWindow(window);
            return 0;
        }
        if (window == gWindow.window) onCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_DPICHANGED: {
        // Fonts, controls and boxes all derive from the DPI: build the window again at the new
        // one, where the system suggests, kept inside that monitor's work area.
        const RECT* r = reinterpret_cast<const RECT*>(lParam);
        gWindow.reopening = {HIWORD(wParam), {r->left, r->top, r->right - r->left, r->bottom - r->top}};
        PostMessageW(window, kMsgRebuild, 0, 0);
        return 0;
    }
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->hwndFrom == gWindow.tabs && header->code == TCN_SELCHANGE)
            showPage(TabCtrl_GetCurSel(gWindow.tabs));
        else if (header->idFrom == UINT_PTR(ctrl::ExcludedList) && header->code == LVN_ITEMCHANGED)
            showSelectedAppMode();
        return 0;
    }
    case WM_ACTIVATE:
        // Edits made elsewhere (tray menu, learning) show up when the user comes back.
        if (LOWORD(wParam) != WA_INACTIVE && !gWindow.pageControls.empty()) {
            fillExcludedList();
            fillLanguageList();
            reloadDictionary();
        }
        break;
    case WM_CTLCOLORSTATIC: {
        // The version label sits on the window itself, outside the pages.
        HWND source = reinterpret_cast<HWND>(lParam);
        wchar_t className[16] = {};
        GetClassNameW(source, className, 16);
        if (!gWindow.pageBrush || GetDlgCtrlID(source) == ctrl::VersionLabel || lstrcmpiW(className, WC_EDITW) == 0)
            break;
        LOGBRUSH brush;
        GetObjectW(gWindow.pageBrush.get(), sizeof brush, &brush);
        SetBkColor(reinterpret_cast<HDC>(wParam), brush.lbColor);
        return reinterpret_cast<LRESULT>(gWindow.pageBrush.get());
    }
    case WM_CLOSE: DestroyWindow(window); return 0;
    case WM_DESTROY:
        if (window == gWindow.window) forgetWindow();
        return 0;
    case kMsgFeedbackFinished: showFeedbackResult(unsigned(wParam)); return 0;
    case kMsgRebuild: rebuild(); return 0;
    default: break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

SettingsWindow& settingsWindow() { return gWindow; }

int scaled(int units) { return MulDiv(units, gWindow.dpi, 96); }

HWND control(int id) { return gWindow.window ? GetDlgItem(gWindow.window, id) : nullptr; }

const wchar_t* wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

std::u16string windowText(HWND hwnd) {
    std::u16string text(size_t(GetWindowTextLengthW(hwnd)) + 1, u'\0');
    text.resize(size_t(GetWindowTextW(hwnd, reinterpret_cast<wchar_t*>(text.data()), int(text.size()))));
    return text;
}

std::u16string controlText(int id) {
    HWND hwnd = control(id);
    return hwnd ? windowText(hwnd) : std::u16string();
}

void setControlText(int id, const std::u16string& text) {
    if (HWND hwnd = control(id)) SetWindowTextW(hwnd, wide(text));
}

int selectedRow(int listId) {
    HWND hwnd = control(listId);
    if (!hwnd) return -1;
    wchar_t className[32] = {};
    GetClassNameW(hwnd, className, 32);
    if (lstrcmpiW(className, WC_COMBOBOXW) == 0) return int(SendMessageW(hwnd, CB_GETCURSEL, 0, 0));
    if (lstrcmpiW(className, WC_LISTBOXW) == 0) return int(SendMessageW(hwnd, LB_GETCURSEL, 0, 0));
    return ListView_GetNextItem(hwnd, -1, LVNI_SELECTED);
}

void addComboEntry(int id, const std::u16string& text, LPARAM data) {
    HWND hwnd = control(id);
    const LRESULT index = SendMessageW(hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(text)));
    if (index >= 0) SendMessageW(hwnd, CB_SETITEMDATA, WPARAM(index), data);
}

void openSettingsWindow(HINSTANCE instance, SettingsHost& host) {
    if (gWindow.window) {
        ShowWindow(gWindow.window, SW_RESTORE);
        SetForegroundWindow(gWindow.window);
        return;
    }
    gWindow.instance = instance;
    gWindow.host = &host;
    if (!buildWindow()) {
        if (gWindow.window) DestroyWindow(gWindow.window);
        return;
    }
    ShowWindow(gWindow.window, SW_SHOW);
    SetForegroundWindow(gWindow.window);
    SetFocus(GetNextDlgTabItem(gWindow.window, nullptr, FALSE));
}

bool routeSettingsWindowKeys(MSG& msg) {
    return gWindow.window && IsWindow(gWindow.window) && IsDialogMessageW(gWindow.window, &msg);
}

}  // namespace quillom::ui
