// The settings window's frame: its class, the DPI and place it opens at, its font, the tab
// control with one tab per page, the version line and the brush of the pages.
#include "settings_window_state_win.h"

#include "control_ids.h"
#include "quillom_version.h"
#include "tray/interface_strings.h"
#include "win/scoped_win.h"

namespace quillom::ui {
namespace {

constexpr wchar_t kWindowClass[] = L"QuillomSettingsWindow";
constexpr int kIconResource = 101;

HICON loadIcon(HINSTANCE instance, int widthMetric, int heightMetric) {
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON,
                                         GetSystemMetrics(widthMetric), GetSystemMetrics(heightMetric), 0));
}

bool registerClass(HINSTANCE instance, WNDPROC windowProc) {
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
    wc.hIcon = loadIcon(instance, SM_CXICON, SM_CYICON);
    wc.hIconSm = loadIcon(instance, SM_CXSMICON, SM_CYSMICON);
    wc.lpszClassName = kWindowClass;
    registered = RegisterClassExW(&wc) != 0;
    return registered;
}

int screenDpi() {
    const win::ScopedWindowDc screen(nullptr);
    const int dpi = GetDeviceCaps(screen.get(), LOGPIXELSY);
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
    if (!GetMonitorInfoW(monitor, &info)) SystemParametersInfoW(SPI_GETWORKAREA, 0, &info.rcWork, 0);
    const RECT& r = info.rcWork;
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

// The monitor the window goes to: where the system suggested after a DPI change, otherwise the
// one under the mouse (the tray icon the user just clicked).
HMONITOR targetMonitor(const Reopening& reopening) {
    if (reopening.dpi) {
        const Box& b = reopening.suggested;
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

// Sets the DPI and the font for it; returns the window's box in screen pixels (a square of
// kSettingsWindowSize units).
Box chooseDpiAndPlace(SettingsWindow& w) {
    const HMONITOR monitor = targetMonitor(w.reopening);
    const Box work = workAreaOf(monitor);
    w.dpi = fittingDpi(w.reopening.dpi ? w.reopening.dpi : monitorDpi(monitor), work);
    w.font.reset(createDialogFont(w.dpi));
    const int size = scaled(kSettingsWindowSize);
    const Box& suggested = w.reopening.suggested;
    const Box placed = w.reopening.dpi ? keepInWorkArea(work, {suggested.x, suggested.y, size, size})
                                       : placeInWorkArea(work, size, size);
    w.reopening = {};
    return {placed.x, placed.y, size, size};
}

// box in pixels of the window's client area.
HWND createChild(const wchar_t* className, const wchar_t* text, DWORD style, const Box& box, int id) {
    SettingsWindow& w = settingsWindow();
    HWND hwnd = CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, box.x, box.y, box.width, box.height,
                                w.window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), w.instance, nullptr);
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(w.font.get()), FALSE);
    return hwnd;
}

// Siblings of the tab control: it must not paint over the pages. First in the tab order; the
// arrow keys switch its pages.
void createTabs(SettingsWindow& w, const RECT& client) {
    w.tabs = createChild(WC_TABCONTROLW, L"", WS_CLIPSIBLINGS | WS_TABSTOP | TCS_MULTILINE,
                         {scaled(8), scaled(8), client.right - scaled(16), client.bottom - scaled(36)}, ctrl::Tabs);
    w.pages = settingsPages(w.host->developerMachine());
    for (size_t i = 0; i < w.pages.size(); ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(wide(tray::text(pageTitle(w.pages[i]))));
        TabCtrl_InsertItem(w.tabs, int(i), &item);
    }
}

void createVersionLine(const RECT& client) {
    createChild(WC_STATICW, L"Quillom " QUILLOM_VERSION, SS_LEFTNOWORDWRAP,
                {scaled(14), client.bottom - scaled(22), client.right - scaled(28), scaled(16)}, ctrl::VersionLabel);
}

// A themed tab control paints its pages in a colour of its own; static texts and check boxes
// take it, so they do not stand out as grey boxes.
HBRUSH createPageBrush(HWND tabs) {
    RECT client, area = tabDisplayArea();
    GetClientRect(tabs, &client);
    const win::ScopedWindowDc tabDc(tabs);
    const win::ScopedMemoryDc memory(CreateCompatibleDC(tabDc.get()));
    const win::ScopedBitmap bitmap(CreateCompatibleBitmap(tabDc.get(), client.right, client.bottom));
    COLORREF colour;
    {
        const win::ScopedSelect selected(memory.get(), bitmap.get());
        SendMessageW(tabs, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.get()), PRF_CLIENT | PRF_ERASEBKGND);
        colour = GetPixel(memory.get(), area.left + 2, (area.top + area.bottom) / 2);
    }
    return CreateSolidBrush(colour == CLR_INVALID ? GetSysColor(COLOR_BTNFACE) : colour);
}

}  // namespace

bool createFrame(WNDPROC windowProc) {
    SettingsWindow& w = settingsWindow();
    if (!registerClass(w.instance, windowProc)) return false;
    const Box placed = chooseDpiAndPlace(w);
    w.window = CreateWindowExW(0, kWindowClass, wide(tray::text(tray::TextId::SettingsTitle)),
                               WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, placed.x, placed.y, placed.width,
                               placed.height, nullptr, nullptr, w.instance, nullptr);
    if (!w.window) return false;
    RECT client;
    GetClientRect(w.window, &client);
    createTabs(w, client);
    createVersionLine(client);
    w.pageBrush.reset(createPageBrush(w.tabs));
    return true;
}

RECT tabDisplayArea() {
    const SettingsWindow& w = settingsWindow();
    RECT area;
    GetClientRect(w.tabs, &area);
    TabCtrl_AdjustRect(w.tabs, FALSE, &area);
    return area;
}

}  // namespace quillom::ui
