#include "platform_win.h"

#include <windows.h>

#include <mmsystem.h>

#include <vector>

#include "foreground.h"
#include "common/utf16.h"

namespace quillom::pipeline {
namespace {

HWND asWindow(WindowId id) { return reinterpret_cast<HWND>(id); }
WindowId idOf(HWND window) { return reinterpret_cast<WindowId>(window); }

const wchar_t* wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

class ClipboardSession {
public:
    ClipboardSession() : open_(OpenClipboard(nullptr) != 0) {}
    ~ClipboardSession() {
        if (open_) CloseClipboard();
    }
    ClipboardSession(const ClipboardSession&) = delete;
    ClipboardSession& operator=(const ClipboardSession&) = delete;
    bool open() const { return open_; }

private:
    bool open_;
};

}  // namespace

void WinInputSender::send(std::span<const SyntheticKey> keys) {
    if (keys.empty()) return;
    std::vector<INPUT> inputs(keys.size());
    for (size_t i = 0; i < keys.size(); ++i) {
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = keys[i].vk;
        inputs[i].ki.wScan = keys[i].scan;
        inputs[i].ki.dwFlags = keys[i].flags;
        inputs[i].ki.time = 0;
        inputs[i].ki.dwExtraInfo = kInjectedMarker;
    }
    SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
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
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process) return {};
    wchar_t path[260];
    DWORD size = 260;
    BOOL ok = QueryFullProcessImageNameW(process, 0, path, &size);
    CloseHandle(process);
    if (!ok) return {};
    std::string utf8 = toUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(path), size));
    return std::string(fileNameOf(utf8));
}

WindowId WinDesktop::focusTarget() {
    HWND foreground = GetForegroundWindow();
    if (!foreground) return 0;
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    DWORD thread = GetWindowThreadProcessId(foreground, nullptr);
    if (GetGUIThreadInfo(thread, &info) && info.hwndFocus) return idOf(info.hwndFocus);
    return idOf(foreground);
}

uint16_t WinDesktop::layoutLanguage(WindowId window) {
    DWORD thread = window ? GetWindowThreadProcessId(asWindow(window), nullptr) : 0;
    return LOWORD(reinterpret_cast<uintptr_t>(GetKeyboardLayout(thread)));
}

char16_t WinDesktop::translateKey(uint32_t vkCode, uint32_t scanCode, bool shift, WindowId target) {
    BYTE state[256] = {};
    if (shift) state[VK_SHIFT] = 0x80;
    state[VK_CAPITAL] = BYTE(GetKeyState(VK_CAPITAL) & 1);
    DWORD thread = target ? GetWindowThreadProcessId(asWindow(target), nullptr) : 0;
    wchar_t buffer[8] = {};
    int n = ToUnicodeEx(vkCode, scanCode, state, buffer, 8, 0, GetKeyboardLayout(thread));
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

std::optional<std::u16string> WinClipboard::readText() {
    ClipboardSession session;
    if (!session.open()) return std::nullopt;
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (!data) return std::nullopt;
    auto* text = static_cast<const char16_t*>(GlobalLock(data));
    if (!text) return std::nullopt;
    std::u16string copy(text);
    GlobalUnlock(data);
    return copy;
}

bool WinClipboard::writeText(const std::u16string& text) {
    ClipboardSession session;
    if (!session.open()) return false;
    EmptyClipboard();
    size_t bytes = (text.size() + 1) * sizeof(char16_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!memory) return false;
    void* target = GlobalLock(memory);
    if (!target) {
        GlobalFree(memory);
        return false;
    }
    memcpy(target, text.c_str(), bytes);
    GlobalUnlock(memory);
    // SetClipboardData owns the memory from here on, unless it fails.
    if (!SetClipboardData(CF_UNICODETEXT, memory)) {
        GlobalFree(memory);
        return false;
    }
    return true;
}

uint32_t WinClipboard::sequenceNumber() { return GetClipboardSequenceNumber(); }

void WinClock::busyWait(unsigned milliseconds) {
    LARGE_INTEGER frequency, start, now;
    if (!QueryPerformanceFrequency(&frequency) || frequency.QuadPart == 0) return;
    QueryPerformanceCounter(&start);
    const LONGLONG ticks = frequency.QuadPart * milliseconds / 1000;
    do {
        QueryPerformanceCounter(&now);
    } while (now.QuadPart - start.QuadPart < ticks);
}

void WinClock::sleep(unsigned milliseconds) { Sleep(milliseconds); }

uint32_t WinClock::tickCount() { return GetTickCount(); }

void WinSoundPlayer::play(const std::u16string& alias) {
    PlaySoundW(wide(alias), nullptr, SND_ALIAS | SND_NODEFAULT | SND_ASYNC);
}

void ThreadMessageWaker::wake() { PostThreadMessageW(threadId_, kMsgCorrectionReady, 0, 0); }

}  // namespace quillom::pipeline
