#include "hooks_win.h"

#include <windows.h>

#include "win/scoped_win.h"

namespace quillom::pipeline {
namespace {

// Main thread: the hooks are called on the thread that installed them.
KeyboardHook* gLogic = nullptr;
HookTiming* gTiming = nullptr;
HookWatchdog* gWatchdog = nullptr;
InputObserver gInputObserver = nullptr;
HINSTANCE gModule = nullptr;
win::ScopedHook gKeyboardHook;
win::ScopedHook gMouseHook;
LARGE_INTEGER gFrequency{};

uint32_t microsecondsSince(const LARGE_INTEGER& start) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return uint32_t((now.QuadPart - start.QuadPart) * 1000000 / gFrequency.QuadPart);
}

LRESULT CALLBACK keyboardProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code != HC_ACTION) return CallNextHookEx(nullptr, code, wParam, lParam);
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    const auto* k = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    const DWORD now = GetTickCount();
    gWatchdog->hookCalled(now);
    if (gInputObserver) gInputObserver(now);
    // A stamp from the future (another clock) is no wait.
    if (int32_t(now - k->time) > 0) gTiming->recordWait(now - k->time);
    // Up or down by the message: Wine's Unicode packets lack the up flag.
    KeyEvent event{
        k->vkCode, k->scanCode,   wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN, (k->flags & LLKHF_EXTENDED) != 0,
        k->time,   k->dwExtraInfo};
    HookVerdict verdict = gLogic->onKey(event);
    gTiming->record(microsecondsSince(start));
    if (verdict == HookVerdict::Swallow) return 1;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

MouseMessage mouseMessageOf(WPARAM message) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN: return MouseMessage::ButtonDown;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_XBUTTONUP: return MouseMessage::ButtonUp;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL: return MouseMessage::Wheel;
    default: return MouseMessage::Other;
    }
}

LRESULT CALLBACK mouseProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code != HC_ACTION) return CallNextHookEx(nullptr, code, wParam, lParam);
    const auto* m = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
    const DWORD now = GetTickCount();
    gWatchdog->hookCalled(now);
    if (gInputObserver) gInputObserver(now);
    MouseEvent event{mouseMessageOf(wParam), uint32_t(wParam), m->pt.x, m->pt.y, m->mouseData, m->time, m->dwExtraInfo};
    if (gLogic->onMouse(event) == HookVerdict::Swallow) return 1;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool install() {
    win::ScopedHook keyboard(SetWindowsHookExW(WH_KEYBOARD_LL, keyboardProc, gModule, 0));
    if (!keyboard) return false;
    win::ScopedHook mouse(SetWindowsHookExW(WH_MOUSE_LL, mouseProc, gModule, 0));
    if (!mouse) return false;  // and the keyboard hook goes again
    gKeyboardHook = std::move(keyboard);
    gMouseHook = std::move(mouse);
    return true;
}

}  // namespace

bool installHooks(void* module, KeyboardHook& logic, HookTiming& timing, HookWatchdog& watchdog) {
    gLogic = &logic;
    gTiming = &timing;
    gWatchdog = &watchdog;
    gModule = static_cast<HINSTANCE>(module);
    QueryPerformanceFrequency(&gFrequency);
    return install();
}

bool reinstallHooks() {
    removeHooks();
    return install();
}

void removeHooks() {
    gKeyboardHook.reset();
    gMouseHook.reset();
}

void observeInput(InputObserver observer) { gInputObserver = observer; }

uint32_t lastInputTick() {
    LASTINPUTINFO info{};
    info.cbSize = sizeof info;
    return GetLastInputInfo(&info) ? info.dwTime : GetTickCount();
}

}  // namespace quillom::pipeline
