#include "platform_win.h"

#include <windows.h>

#include <mmsystem.h>

#include <algorithm>
#include <vector>

#include "clipboard_win.h"
#include "edit_control_win.h"
#include "foreground.h"
#include "window_kinds.h"
#include "common/utf16.h"
#include "win/scoped_win.h"

namespace quillom::pipeline {
namespace {

HWND asWindow(WindowId id) { return reinterpret_cast<HWND>(id); }
WindowId idOf(HWND window) { return reinterpret_cast<WindowId>(window); }

const wchar_t* wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

// The mandatory integrity level (a SECURITY_MANDATORY_*_RID) of a process;
// nothing when it cannot be read.
std::optional<DWORD> integrityLevelOf(DWORD pid) {
    const win::ScopedHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    if (!process) return std::nullopt;
    HANDLE opened = nullptr;
    if (!OpenProcessToken(process.get(), TOKEN_QUERY, &opened)) return std::nullopt;
    const win::ScopedHandle token(opened);
    alignas(TOKEN_MANDATORY_LABEL) BYTE buffer[64];
    DWORD size = 0;
    if (!GetTokenInformation(token.get(), TokenIntegrityLevel, buffer, sizeof buffer, &size)) return std::nullopt;
    auto* label = reinterpret_cast<TOKEN_MANDATORY_LABEL*>(buffer);
    PSID sid = label->Label.Sid;
    return *GetSidSubAuthority(sid, DWORD(*GetSidSubAuthorityCount(sid) - 1));
}

std::u16string classOf(HWND window) {
    wchar_t name[64] = {};
    const int n = window ? GetClassNameW(window, name, 64) : 0;
    return std::u16string(reinterpret_cast<const char16_t*>(name), size_t(n > 0 ? n : 0));
}

// A frame-hosted app's frame belongs to the frame host, whose thread's
// layout is not the app's: its CoreWindow child is where the input goes.
HWND inputWindowOf(HWND window) {
    if (windowKindOfClass(classOf(window)) != WindowKind::FrameHost) return window;
    HWND core = FindWindowExW(window, nullptr, reinterpret_cast<const wchar_t*>(kCoreWindowClass.data()), nullptr);
    return core ? core : window;
}

}  // namespace

size_t WinInputSender::send(std::span<const SyntheticKey> keys) {
    if (keys.empty()) return 0;
    std::vector<INPUT> inputs(keys.size());
    for (size_t i = 0; i < keys.size(); ++i) {
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = keys[i].vk;
        inputs[i].ki.wScan = keys[i].scan;
        inputs[i].ki.dwFlags = keys[i].flags;
        inputs[i].ki.time = 0;
        inputs[i].ki.dwExtraInfo = kInjectedMarker;
    }
    return SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
}

bool WinInputSender::sendMouse(const MouseEvent& event) {
    DWORD button = 0;
    switch (event.message) {
    case WM_LBUTTONDOWN: button = MOUSEEVENTF_LEFTDOWN; break;
    case WM_LBUTTONUP: button = MOUSEEVENTF_LEFTUP; break;
    case WM_RBUTTONDOWN: button = MOUSEEVENTF_RIGHTDOWN; break;
    case WM_RBUTTONUP: button = MOUSEEVENTF_RIGHTUP; break;
    case WM_MBUTTONDOWN: button = MOUSEEVENTF_MIDDLEDOWN; break;
    case WM_MBUTTONUP: button = MOUSEEVENTF_MIDDLEUP; break;
    case WM_XBUTTONDOWN: button = MOUSEEVENTF_XDOWN; break;
    case WM_XBUTTONUP: button = MOUSEEVENTF_XUP; break;
    case WM_MOUSEWHEEL: button = MOUSEEVENTF_WHEEL; break;
    case WM_MOUSEHWHEEL: button = MOUSEEVENTF_HWHEEL; break;
    default: return false;
    }
    // Absolute coordinates on the virtual desktop run from 0 to 65535.
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int width = std::max(GetSystemMetrics(SM_CXVIRTUALSCREEN) - 1, 1);
    const int height = std::max(GetSystemMetrics(SM_CYVIRTUALSCREEN) - 1, 1);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = LONG((event.x - left) * 65535 / width);
    input.mi.dy = LONG((event.y - top) * 65535 / height);
    input.mi.mouseData = HIWORD(event.mouseData);
    if (button == MOUSEEVENTF_WHEEL || button == MOUSEEVENTF_HWHEEL)
        input.mi.mouseData = DWORD(LONG(short(HIWORD(event.mouseData))));
    input.mi.dwFlags = button | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
    input.mi.dwExtraInfo = kInjectedMarker;
    return SendInput(1, &input, sizeof(INPUT)) == 1;
}

WindowId WinDesktop::foregroundWindow() { return idOf(GetForegroundWindow()); }

bool WinDesktop::belongsToThisProcess(WindowId window) {
    if (window == 0) return false;
    DWORD pid = 0;
    GetWindowThreadProcessId(asWindow(window), &pid);
    return pid == GetCurrentProcessId();
}

std::string WinDesktop::executableName(WindowId window) {
    if (window == 0) return {};
    DWORD pid = 0;
    GetWindowThreadProcessId(asWindow(window), &pid);
    if (pid == 0) return {};
    const win::ScopedHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    if (!process) return {};
    wchar_t path[260];
    DWORD size = 260;
    if (!QueryFullProcessImageNameW(process.get(), 0, path, &size)) return {};
    std::string utf8 = toUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(path), size));
    return std::string(fileNameOf(utf8));
}

// The foreground thread's focus window (GetGUIThreadInfo of thread 0 names
// the foreground thread); a frame-hosted app's CoreWindow for its frame.
WindowId WinDesktop::focusTarget() {
    HWND foreground = GetForegroundWindow();
    if (!foreground) return 0;
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    const bool known =
        GetGUIThreadInfo(0, &info) || GetGUIThreadInfo(GetWindowThreadProcessId(foreground, nullptr), &info);
    HWND focus = known && info.hwndFocus ? info.hwndFocus : foreground;
    return idOf(inputWindowOf(focus));
}

FieldStyle WinDesktop::fieldStyle(WindowId window) {
    const HWND field = asWindow(window);
    // One class lookup a key: this runs on the hook thread at every key.
    if (editKindOf(field) == EditKind::None) return FieldStyle::Unknown;
    return hidesTyping(field) ? FieldStyle::Password : FieldStyle::Open;
}

WindowKind WinDesktop::windowKind(WindowId window) { return windowKindOfClass(classOf(asWindow(window))); }

uint32_t WinDesktop::scanCodeOf(uint32_t vkCode) {
    const DWORD thread = GetWindowThreadProcessId(asWindow(focusTarget()), nullptr);
    HKL layout = GetKeyboardLayout(thread);
    if (UINT scan = MapVirtualKeyExW(vkCode, MAPVK_VK_TO_VSC_EX, layout)) return scan;
    return MapVirtualKeyExW(vkCode, MAPVK_VK_TO_VSC, layout);
}

uint16_t WinDesktop::layoutLanguage(WindowId window) {
    DWORD thread = window ? GetWindowThreadProcessId(asWindow(window), nullptr) : 0;
    return LOWORD(reinterpret_cast<uintptr_t>(GetKeyboardLayout(thread)));
}

char16_t WinDesktop::translateKey(uint32_t vkCode, uint32_t scanCode, bool shift, WindowId target) {
    DWORD thread = target ? GetWindowThreadProcessId(asWindow(target), nullptr) : 0;
    return translateKeyInLayout(vkCode, scanCode, shift, reinterpret_cast<LayoutId>(GetKeyboardLayout(thread)));
}

char16_t WinDesktop::translateKeyInLayout(uint32_t vkCode, uint32_t scanCode, bool shift, LayoutId layout) {
    // A Unicode packet (input sent with KEYEVENTF_UNICODE: an on-screen
    // keyboard, a text expander) carries its character in the scan code; no
    // layout translates it.
    if (vkCode == VK_PACKET) return char16_t(scanCode);
    BYTE state[256] = {};
    if (shift) state[VK_SHIFT] = 0x80;
    state[VK_CAPITAL] = BYTE(GetKeyState(VK_CAPITAL) & 1);
    wchar_t buffer[8] = {};
    // Flag 0x4 (Windows 10 1607 and later) leaves the keyboard state alone:
    // a dead key the user is composing stays pending for the application.
    int n = ToUnicodeEx(vkCode, scanCode, state, buffer, 8, 0x4, reinterpret_cast<HKL>(layout));
    return n == 1 ? char16_t(buffer[0]) : u'\0';
}

std::vector<LayoutId> WinDesktop::installedLayouts() {
    int count = GetKeyboardLayoutList(0, nullptr);
    if (count <= 0) return {};
    std::vector<HKL> layouts(static_cast<size_t>(count));
    count = GetKeyboardLayoutList(count, layouts.data());
    std::vector<LayoutId> ids;
    for (int i = 0; i < count; ++i) ids.push_back(reinterpret_cast<LayoutId>(layouts[size_t(i)]));
    return ids;
}

void WinDesktop::requestLayoutChange(WindowId window, LayoutId layout) {
    PostMessageW(asWindow(window), WM_INPUTLANGCHANGEREQUEST, 0, LPARAM(layout));
}

WindowGeometry WinDesktop::geometry(WindowId id) {
    WindowGeometry g;
    HWND window = asWindow(id);
    if (!window) return g;
    g.isShellWindow = window == GetShellWindow();
    g.visible = IsWindowVisible(window) != 0;
    g.minimised = IsIconic(window) != 0;
    g.childStyle = (GetWindowLongW(window, GWL_STYLE) & WS_CHILD) != 0;
    RECT r;
    if (GetWindowRect(window, &r)) g.window = Rect{r.left, r.top, r.right, r.bottom};
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info))
        g.monitor = Rect{info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right, info.rcMonitor.bottom};
    return g;
}

bool WinDesktop::bringToForeground(WindowId window) { return SetForegroundWindow(asWindow(window)) != 0; }

WindowId WinDesktop::rootWindowAt(long x, long y) {
    HWND window = WindowFromPoint(POINT{x, y});
    return window ? idOf(GetAncestor(window, GA_ROOT)) : 0;
}

bool WinDesktop::runsElevated(WindowId window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(asWindow(window), &pid);
    if (pid == 0 || pid == GetCurrentProcessId()) return false;
    std::optional<DWORD> theirs = integrityLevelOf(pid), ours = integrityLevelOf(GetCurrentProcessId());
    return theirs && ours && *theirs > *ours;
}

std::vector<uint32_t> WinDesktop::modifiersDown() {
    std::vector<uint32_t> down;
    for (int key : {VK_LSHIFT, VK_RSHIFT, VK_LCONTROL, VK_RCONTROL, VK_LMENU, VK_RMENU, VK_LWIN, VK_RWIN})
        if (GetAsyncKeyState(key) & 0x8000) down.push_back(uint32_t(key));
    return down;
}

std::optional<std::u16string> WinClipboard::readText() {
    ClipboardSession session(owner_);
    if (!session.open()) return std::nullopt;
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (!data) return std::nullopt;
    auto* text = static_cast<const char16_t*>(GlobalLock(data));
    if (!text) return std::nullopt;
    std::u16string copy(text);
    GlobalUnlock(data);
    return copy;
}

bool WinClipboard::offerText(const std::u16string& text) {
    if (!owner_) return false;
    ClipboardSession session(owner_);
    if (!session.open()) return false;
    EmptyClipboard();
    offered_ = text;
    offering_ = true;
    taken_ = false;
    // No data: the system asks the owner for it when a program reads it.
    SetClipboardData(CF_UNICODETEXT, nullptr);
    putMarks(transientMarks());
    return true;
}

namespace {

// The program that opened the clipboard to read it is the one in front, the
// target of Ctrl+V, or it cannot be told (opened without a window). A
// clipboard monitor reading first does not count as the paste.
bool readByForegroundProgram() {
    HWND reader = GetOpenClipboardWindow();
    if (!reader) return true;
    DWORD readerProcess = 0, foregroundProcess = 0;
    GetWindowThreadProcessId(reader, &readerProcess);
    GetWindowThreadProcessId(GetForegroundWindow(), &foregroundProcess);
    return readerProcess == foregroundProcess;
}

}  // namespace

// The reading program holds the clipboard open: the data is set without
// opening it. Once set it stays: later reads do not come here.
void WinClipboard::renderFormat(UINT format) {
    if (format != CF_UNICODETEXT || !offering_) return;
    const bool paste = readByForegroundProgram();
    if (putBytes(CF_UNICODETEXT, offered_.c_str(), (offered_.size() + 1) * sizeof(char16_t)) && paste) taken_ = true;
}

void WinClipboard::renderAll() {
    ClipboardSession session(owner_);
    if (session.open() && GetClipboardOwner() == owner_) renderFormat(CF_UNICODETEXT);
}

void WinClipboard::dropOffer() {
    offering_ = false;
    offered_.clear();
}

uint32_t WinClipboard::sequenceNumber() { return GetClipboardSequenceNumber(); }

namespace {

// CREATE_WAITABLE_TIMER_HIGH_RESOLUTION (Windows 10 1803 and later), absent from older headers.
constexpr DWORD kHighResolutionTimer = 0x00000002;

}  // namespace

// The replay's pauses are a few milliseconds, finer than the system timer: a high-resolution
// timer where the system has one, a plain waitable timer elsewhere (its pauses come out longer,
// never shorter).
WinClock::WinClock() : timer_(CreateWaitableTimerExW(nullptr, nullptr, kHighResolutionTimer, TIMER_ALL_ACCESS)) {
    if (!timer_) timer_.reset(CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS));
}

// The low-level hooks reach this thread as sent messages: PeekMessage with
// PM_QS_SENDMESSAGE serves them (and only sent messages), so no posted
// command runs inside a replay. The thread sleeps on the timer in
// MsgWaitForMultipleObjectsEx, which also wakes for a sent message.
void WinClock::waitServingHooks(unsigned milliseconds) {
    LARGE_INTEGER due;
    due.QuadPart = -LONGLONG(milliseconds) * 10000;  // relative, in 100 ns units
    const DWORD start = GetTickCount();
    const bool timed = timer_ && SetWaitableTimer(timer_.get(), &due, 0, nullptr, nullptr, FALSE);
    HANDLE timer = timer_.get();
    MSG msg;
    for (;;) {
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        const DWORD waited = GetTickCount() - start;
        if (!timed && waited >= milliseconds) return;
        const DWORD result = timed ? MsgWaitForMultipleObjectsEx(1, &timer, INFINITE, QS_SENDMESSAGE, 0)
                                   : MsgWaitForMultipleObjectsEx(0, nullptr, milliseconds - waited, QS_SENDMESSAGE, 0);
        if (timed && result != WAIT_OBJECT_0 + 1) return;
    }
}

uint32_t WinClock::tickCount() { return GetTickCount(); }

void WinSoundPlayer::play(const std::u16string& alias) {
    PlaySoundW(wide(alias), nullptr, SND_ALIAS | SND_NODEFAULT | SND_ASYNC);
}

void ThreadMessageWaker::wake() { PostThreadMessageW(threadId_, kMsgCorrectionReady, 0, 0); }

}  // namespace quillom::pipeline
