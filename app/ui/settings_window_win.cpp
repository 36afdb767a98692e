// The frame, its tab control and pages, the General, Sound, Auto Rules and Debug handlers and
// the window's messages.
#include "settings_window_win.h"

#include <shellapi.h>

#include "control_ids.h"
#include "feedback.h"
#include "general_tab.h"
#include "hotkey_field.h"
#include "language_picker.h"
#include "settings/preferences.h"
#include "settings_window_state_win.h"
#include "common/debug_log.h"
#include "tray/interface_strings.h"
#include "quillom_version.h"

#include <algorithm>

namespace quillom::ui {
namespace {

using tray::TextId;

constexpr wchar_t kWindowClass[] = L"QuillomSettingsWindow";
constexpr int kIconResource = 101;
constexpr wchar_t kManualAddress[] = L"https://www.quillom.example/manual";
// Space between the tab control's display area and the pages.
constexpr int kPageMargin = 6;

SettingsWindow gWindow;

// What a rebuild after a DPI change keeps: the new DPI and the box the system suggested.
struct Reopening {
    int dpi = 0;  // 0: an ordinary opening
    Box suggested;
};
Reopening gReopening;
int gReopenPage = 0;  // the tab shown again after any rebuild

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

bool registerClass(HINSTANCE instance) {
    static bool registered = false;
    if (registered) return true;
    INITCOMMONCONTROLSEX common{sizeof common, ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&common);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
    wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    wc.lpszClassName = kWindowClass;
    registered = RegisterClassExW(&wc) != 0;
    return registered;
}

int screenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

// Looked up at run time: Windows before 8.1 has one DPI for every monitor.
int monitorDpi(HMONITOR monitor) {
    using GetDpi = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const auto get = [] {
        HMODULE shcore = LoadLibraryW(L"shcore.dll");
        return shcore ? reinterpret_cast<GetDpi>(reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")))
                      : nullptr;
    }();
    UINT x = 0, y = 0;
    constexpr int kEffectiveDpi = 0;
    if (get && get(monitor, kEffectiveDpi, &x, &y) == S_OK && y > 0) return int(y);
    return screenDpi();
}

Box workAreaOf(HMONITOR monitor) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(monitor, &info))
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &info.rcWork, 0);
    const RECT& r = info.rcWork;
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

// The monitor the window goes to: where the system suggested after a DPI change, otherwise the
// one under the mouse (the tray icon the user just clicked).
HMONITOR targetMonitor() {
    if (gReopening.dpi) {
        const Box& b = gReopening.suggested;
        RECT r{b.x, b.y, b.right(), b.bottom()};
        return MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST);
    }
    POINT cursor{};
    GetCursorPos(&cursor);
    return MonitorFromPoint(cursor, MONITOR_DEFAULTTOPRIMARY);
}

HFONT createDialogFont(int dpi) {
    return CreateFontW(-MulDiv(9, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, L"Segoe UI");
}

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

std::u16string initialText(const ControlSpec& def) {
    if (!def.language.empty()) return languageDisplayName(def.language) + u":";
    return def.textId ? tray::text(*def.textId) : std::u16string();
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
    const WindowClassAndStyle cls = classOf(def.kind);
    int height = scaled(def.box.height);
    // A drop-down list's window includes the list it opens.
    if (def.kind == ControlKind::DropDown) height += scaled(160);
    HWND hwnd = CreateWindowExW(cls.exStyle, cls.className, wide(initialText(def)), WS_CHILD | cls.style,
                                origin.x + scaled(def.box.x), origin.y + scaled(def.box.y), scaled(def.box.width),
                                height, gWindow.window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(def.id)),
                                gWindow.instance, nullptr);
    if (!hwnd) return nullptr;
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(gWindow.font), FALSE);
    if (def.kind == ControlKind::ListView) addColumns(hwnd, def.id);
    if (def.kind == ControlKind::HotkeyField) attachHotkeyField(hwnd, def.id);
    return hwnd;
}

RECT displayArea() {
    RECT area;
    GetClientRect(gWindow.tabs, &area);
    TabCtrl_AdjustRect(gWindow.tabs, FALSE, &area);
    return area;
}

// A themed tab control paints its pages in a colour of its own; static texts and check boxes
// take it, so they do not stand out as grey boxes.
HBRUSH createPageBrush() {
    RECT client, area = displayArea();
    GetClientRect(gWindow.tabs, &client);
    HDC tabDc = GetDC(gWindow.tabs);
    HDC memory = CreateCompatibleDC(tabDc);
    HBITMAP bitmap = CreateCompatibleBitmap(tabDc, client.right, client.bottom);
    HGDIOBJ old = SelectObject(memory, bitmap);
    SendMessageW(gWindow.tabs, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT | PRF_ERASEBKGND);
    COLORREF colour = GetPixel(memory, area.left + 2, (area.top + area.bottom) / 2);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(gWindow.tabs, tabDc);
    return CreateSolidBrush(colour == CLR_INVALID ? GetSysColor(COLOR_BTNFACE) : colour);
}

// Where the pages start: inside the tab control's display area.
POINT pageOrigin() {
    RECT area = displayArea();
    MapWindowPoints(gWindow.tabs, gWindow.window, reinterpret_cast<POINT*>(&area), 2);
    const int spare = (area.right - area.left) - scaled(kPageWidth);
    return {area.left + std::max(scaled(kPageMargin) / 2, spare / 2), area.top + scaled(kPageMargin)};
}

void fillGeneralAndSound() {
    for (std::string_view code : kInterfaceLanguages) addComboEntry(ctrl::InterfaceLanguage, languageDisplayName(code), 0);
    SendMessageW(control(ctrl::InterfaceLanguage), CB_SETCURSEL, interfaceLanguageRow(tray::interfaceLanguage()), 0);
    for (TextId text : kUpdateFrequencyTexts) addComboEntry(ctrl::UpdateFrequency, tray::text(text), 0);
    SendMessageW(control(ctrl::UpdateFrequency), CB_SETCURSEL,
                 updateFrequencyRow(gWindow.host->store().updateFrequency()), 0);
    const settings::JsonValue prefs = gWindow.host->store().preferences();
    for (int id : {ctrl::CorrectionSound, ctrl::UndoSound})
        for (TextId text : kSoundTexts) addComboEntry(id, tray::text(text), 0);
    SendMessageW(control(ctrl::CorrectionSound), CB_SETCURSEL, soundRow(settings::correctionSound(prefs), "SystemAsterisk"), 0);
    SendMessageW(control(ctrl::UndoSound), CB_SETCURSEL, soundRow(settings::undoSound(prefs), "SystemExclamation"), 0);
    auto check = [](int id, bool on) { SendMessageW(control(id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); };
    check(ctrl::PlaySound, settings::playSoundOnCorrection(prefs));
    check(ctrl::UppercaseOnlyExactPairs, settings::uppercaseOnlyExactPairs(prefs));
    check(ctrl::ProtectEndings, settings::protectEndingsAfterDelete(prefs));
    check(ctrl::PauseInGames, settings::pauseInGames(prefs));
    check(ctrl::LaunchAtLogin, gWindow.host->launchAtLogin());
    check(ctrl::DebugLog, gWindow.host->debugLogEnabled());
    for (TextId text : kFeedbackTypeTexts) addComboEntry(ctrl::FeedbackType, tray::text(text), 0);
    SendMessageW(control(ctrl::FeedbackType), CB_SETCURSEL, 0, 0);
}

std::wstring executablePath() {
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), DWORD(path.size())));
    return path;
}

// Installed by the setup program, or from the Store when the process has a package identity.
bool hasPackageIdentity() {
    using Query = LONG(WINAPI*)(UINT32*, PWSTR);
    auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetCurrentPackageFullName")));
    if (!query) return false;
    UINT32 length = 0;
    return query(&length, nullptr) != APPMODEL_ERROR_NO_PACKAGE;
}

void fillDebug() {
    if (!control(ctrl::ExecutablePath)) return;
    SetWindowTextW(control(ctrl::ExecutablePath), executablePath().c_str());
    setControlText(ctrl::Distribution, tray::text(TextId::DistributionPrefix) +
                                           (hasPackageIdentity() ? u"Microsoft Store" : u"Installer (NSIS / WinSparkle)"));
}

void showPage(int index) {
    for (size_t page = 0; page < gWindow.pageControls.size(); ++page)
        for (HWND hwnd : gWindow.pageControls[page]) ShowWindow(hwnd, int(page) == index ? SW_SHOW : SW_HIDE);
}

// A control whose text does not fit its box is named in the debug log, so a translation or a
// font that needs more room shows up in the end-to-end run.
void reportClippedTexts();

bool buildWindow() {
    const HMONITOR monitor = targetMonitor();
    const Box work = workAreaOf(monitor);
    gWindow.dpi = fittingDpi(gReopening.dpi ? gReopening.dpi : monitorDpi(monitor), work);
    if (gWindow.font) DeleteObject(gWindow.font);
    gWindow.font = createDialogFont(gWindow.dpi);
    const int size = scaled(kSettingsWindowSize);
    const Box placed = gReopening.dpi
                           ? keepInWorkArea(work, {gReopening.suggested.x, gReopening.suggested.y, size, size})
                           : placeInWorkArea(work, size, size);
    gReopening = {};
    gWindow.window = CreateWindowExW(0, kWindowClass, wide(tray::text(TextId::SettingsTitle)),
                                     WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, placed.x, placed.y, size, size,
                                     nullptr, nullptr, gWindow.instance, nullptr);
    if (!gWindow.window) return false;
    RECT client;
    GetClientRect(gWindow.window, &client);
    // Siblings of the tab control: it must not paint over the pages.
    // First in the tab order; the arrow keys switch its pages.
    gWindow.tabs = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | TCS_MULTILINE,
                                   scaled(8), scaled(8), client.right - scaled(16), client.bottom - scaled(36),
                                   gWindow.window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(ctrl::Tabs)),
                                   gWindow.instance, nullptr);
    SendMessageW(gWindow.tabs, WM_SETFONT, reinterpret_cast<WPARAM>(gWindow.font), FALSE);
    gWindow.pages = settingsPages(gWindow.host->developerMachine());
    for (size_t i = 0; i < gWindow.pages.size(); ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(wide(tray::text(pageTitle(gWindow.pages[i]))));
        TabCtrl_InsertItem(gWindow.tabs, int(i), &item);
    }
    HWND version = CreateWindowExW(0, WC_STATICW, L"Quillom " QUILLOM_VERSION, WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP,
                                   scaled(14), client.bottom - scaled(22), client.right - scaled(28), scaled(16),
                                   gWindow.window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(ctrl::VersionLabel)),
                                   gWindow.instance, nullptr);
    SendMessageW(version, WM_SETFONT, reinterpret_cast<WPARAM>(gWindow.font), FALSE);

    if (gWindow.pageBrush) DeleteObject(gWindow.pageBrush);
    gWindow.pageBrush = createPageBrush();
    const POINT origin = pageOrigin();
    gWindow.pageControls.assign(gWindow.pages.size(), {});
    for (size_t i = 0; i < gWindow.pages.size(); ++i)
        for (const ControlSpec& def : pageLayout(gWindow.pages[i]))
            if (HWND hwnd = createControl(def, origin)) gWindow.pageControls[i].push_back(hwnd);

    fillGeneralAndSound();
    fillDebug();
    showHotkeyTexts();
    fillLanguagePickers();
    fillLanguageList();
    fillExcludedList();
    reloadDictionary();
    const int page = gReopenPage < int(gWindow.pages.size()) ? gReopenPage : 0;
    gReopenPage = 0;
    TabCtrl_SetCurSel(gWindow.tabs, page);
    showPage(page);
    reportClippedTexts();
    return true;
}

void rebuild() {
    if (gWindow.tabs) gReopenPage = std::max(0, TabCtrl_GetCurSel(gWindow.tabs));
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
    if (restoreAllDefaults(*gWindow.host) == RestoreOutcome::Failed) {
        messageBox(TextId::RestoreFailed, tray::text(TextId::ErrorCaption), MB_ICONERROR);
        return;
    }
    messageBox(TextId::RestoreDone, u"Quillom", MB_ICONINFORMATION);
    PostMessageW(gWindow.window, kMsgRebuild, 0, 0);
}

void launchAtLoginClicked() {
    const LaunchAtLoginOutcome outcome = switchLaunchAtLogin(*gWindow.host, checked(ctrl::LaunchAtLogin));
    if (!outcome.blocked) return;
    SendMessageW(control(ctrl::LaunchAtLogin), BM_SETCHECK, outcome.nowOn ? BST_CHECKED : BST_UNCHECKED, 0);
    messageBox(TextId::LaunchAtLoginBlocked, u"Quillom", MB_ICONINFORMATION);
}

std::wstring logFilePath() {
    wchar_t folder[MAX_PATH + 1];
    const DWORD n = GetTempPathW(MAX_PATH + 1, folder);
    return std::wstring(folder, n) + L"quillom.log";
}

void onButton(int id) {
    switch (id) {
    case ctrl::UppercaseOnlyExactPairs:
    case ctrl::ProtectEndings:
    case ctrl::PauseInGames:
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
    case ctrl::ShowLogFile: ShellExecuteW(nullptr, L"open", logFilePath().c_str(), nullptr, nullptr, SW_SHOWNORMAL); break;
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
        gReopening = {HIWORD(wParam), {r->left, r->top, r->right - r->left, r->bottom - r->top}};
        PostMessageW(window, kMsgRebuild, 0, 0);
        return 0;
    }
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->hwndFrom == gWindow.tabs && header->code == TCN_SELCHANGE) showPage(TabCtrl_GetCurSel(gWindow.tabs));
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
        GetObjectW(gWindow.pageBrush, sizeof brush, &brush);
        SetBkColor(reinterpret_cast<HDC>(wParam), brush.lbColor);
        return reinterpret_cast<LRESULT>(gWindow.pageBrush);
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

// --- the clipping report -------------------------------------------------------------------

SIZE textSize(HDC dc, const std::u16string& text, int wrapWidth) {
    RECT r{0, 0, wrapWidth > 0 ? wrapWidth : 0, 0};
    UINT format = DT_CALCRECT | (wrapWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE);
    DrawTextW(dc, wide(text), int(text.size()), &r, format);
    return {r.right - r.left, r.bottom - r.top};
}

std::u16string windowText(HWND hwnd) {
    std::u16string text(size_t(GetWindowTextLengthW(hwnd)) + 1, u'\0');
    text.resize(size_t(GetWindowTextW(hwnd, reinterpret_cast<wchar_t*>(text.data()), int(text.size()))));
    return text;
}

struct ClipCount {
    int measured = 0, clipped = 0;
};
ClipCount gClipCount;

// The number of the control's text in the log; -1 when the window fills it in.
int textNumber(const ControlSpec& def) { return def.textId ? int(*def.textId) : -1; }

void reportIfClipped(int page, int id, int textId, SIZE need, SIZE have) {
    ++gClipCount.measured;
    if (need.cx <= have.cx && need.cy <= have.cy) return;
    ++gClipCount.clipped;
    logLine("layout: tab %d control %d text %d needs %ldx%ld, has %ldx%ld", page, id, textId, long(need.cx),
                  long(need.cy), long(have.cx), long(have.cy));
}

void reportClippedTexts() {
    gClipCount = {};
    HDC dc = GetDC(gWindow.window);
    HGDIOBJ old = SelectObject(dc, gWindow.font);
    const int checkWidth = GetSystemMetrics(SM_CXMENUCHECK) + scaled(6);
    const int arrowWidth = GetSystemMetrics(SM_CXVSCROLL) + scaled(8);
    for (size_t page = 0; page < gWindow.pages.size(); ++page) {
        for (const ControlSpec& def : pageLayout(gWindow.pages[page])) {
            HWND hwnd = def.id == ctrl::None ? nullptr : control(def.id);
            const std::u16string text = hwnd ? windowText(hwnd) : initialText(def);
            const SIZE box{scaled(def.box.width), scaled(def.box.height)};
            switch (def.kind) {
            case ControlKind::Label: reportIfClipped(int(page), def.id, textNumber(def), textSize(dc, text, 0), box); break;
            case ControlKind::Note:
                reportIfClipped(int(page), def.id, textNumber(def), textSize(dc, text, box.cx), box);
                break;
            case ControlKind::CheckBox:
                reportIfClipped(int(page), def.id, textNumber(def), textSize(dc, text, box.cx - checkWidth),
                                {box.cx - checkWidth, box.cy});
                break;
            case ControlKind::Button: {
                const SIZE need = textSize(dc, text, 0);
                reportIfClipped(int(page), def.id, textNumber(def), {need.cx + scaled(12), need.cy + scaled(6)}, box);
                break;
            }
            case ControlKind::DropDown: {
                const int count = int(SendMessageW(hwnd, CB_GETCOUNT, 0, 0));
                for (int i = 0; i < count; ++i) {
                    std::u16string item(size_t(SendMessageW(hwnd, CB_GETLBTEXTLEN, i, 0)) + 1, u'\0');
                    item.resize(size_t(SendMessageW(hwnd, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()))));
                    const SIZE need = textSize(dc, item, 0);
                    reportIfClipped(int(page), def.id, i, {need.cx + arrowWidth, need.cy}, box);
                }
                break;
            }
            case ControlKind::HotkeyField: {
                const SIZE need = textSize(dc, tray::text(TextId::PressShortcut), 0);
                reportIfClipped(int(page), def.id, int(TextId::PressShortcut), {need.cx + scaled(8), need.cy + scaled(6)}, box);
                break;
            }
            default: break;
            }
        }
    }
    SelectObject(dc, old);
    ReleaseDC(gWindow.window, dc);
    logLine("layout check: %d texts at %d dpi in \"%s\", %d clipped", gClipCount.measured, gWindow.dpi,
                  std::string(tray::interfaceLanguage()).c_str(), gClipCount.clipped);
}

}  // namespace

SettingsWindow& settingsWindow() { return gWindow; }

int scaled(int units) { return MulDiv(units, gWindow.dpi, 96); }

HWND control(int id) { return gWindow.window ? GetDlgItem(gWindow.window, id) : nullptr; }

const wchar_t* wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

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
    if (!registerClass(instance) || !buildWindow()) {
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
