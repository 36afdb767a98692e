// The operating-system services the typing pipeline uses, as small
// interfaces. The Windows program implements them with Win32 calls (*_win.cpp);
// the unit tests use recording fakes.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "clipboard_snapshot.h"
#include "key_event.h"

namespace quillom::pipeline {

// A window handle as an opaque number; 0 means none.
using WindowId = uintptr_t;
// A keyboard layout handle as an opaque number; its low word is the language id.
using LayoutId = uintptr_t;

struct Rect {
    long left = 0, top = 0, right = 0, bottom = 0;
};

// What the full-screen test needs to know about a window.
struct WindowGeometry {
    bool isShellWindow = false;
    bool visible = false;
    bool minimised = false;
    bool childStyle = false;
    std::optional<Rect> window;   // GetWindowRect, when it succeeded
    std::optional<Rect> monitor;  // rcMonitor of the nearest monitor, when known
};

// What a window's class and style tell about what is typed into it, without
// asking the window: a standard edit or rich edit shows it or hides it by its
// style (ES_PASSWORD); any other control (a browser, a WPF or Store app, a
// custom-drawn field) keeps many fields in one window and tells only when
// asked (UI Automation, accessibility).
enum class FieldStyle { Open, Password, Unknown };

// The kinds of top-level window whose input or layout needs handling of its
// own (see window_kinds.h).
enum class WindowKind { Standard, FrameHost, Console, Terminal };

class InputSender {
public:
    virtual ~InputSender() = default;
    // One SendInput call; every event carries the injected-input marker.
    // Returns how many events the system inserted: fewer than asked when
    // UIPI blocked them (the focused window runs at a higher integrity level).
    virtual size_t send(std::span<const SyntheticKey> keys) = 0;
    // A held mouse event sent again at its screen position; false when not inserted.
    virtual bool sendMouse(const MouseEvent& event) = 0;
};

class Desktop {
public:
    virtual ~Desktop() = default;
    virtual WindowId foregroundWindow() = 0;
    virtual bool belongsToThisProcess(WindowId window) = 0;
    // Executable file name of the window's process; empty when unknown.
    virtual std::string executableName(WindowId window) = 0;
    // The focus window of the foreground window's GUI thread, else the
    // foreground window itself; 0 when there is none.
    virtual WindowId focusTarget() = 0;
    // The focused control's class and style: a standard edit hides what is
    // typed (ES_PASSWORD) or not; any other control does not tell. Must not
    // send the window a message: the hook thread asks.
    virtual FieldStyle fieldStyle(WindowId window) = 0;
    // The kind of a top-level window, by its class.
    virtual WindowKind windowKind(WindowId) { return WindowKind::Standard; }
    // The scan code of a virtual key in the focused window's layout, with
    // 0xE0 or 0xE1 in the high byte for an extended key; 0 when it has none.
    virtual uint32_t scanCodeOf(uint32_t) { return 0; }
    // Language id (low word of the layout) of the window thread's layout,
    // of the current thread's when window is 0.
    virtual uint16_t layoutLanguage(WindowId window) = 0;
    // The one UTF-16 unit the key gives in that window's layout with only
    // Shift and Caps Lock considered; 0 when it gives none or more than one.
    virtual char16_t translateKey(uint32_t vkCode, uint32_t scanCode, bool shift, WindowId target) = 0;
    // The same for a given layout, whichever the window uses.
    virtual char16_t translateKeyInLayout(uint32_t vkCode, uint32_t scanCode, bool shift, LayoutId layout) = 0;
    virtual std::vector<LayoutId> installedLayouts() = 0;
    virtual void requestLayoutChange(WindowId window, LayoutId layout) = 0;
    virtual WindowGeometry geometry(WindowId window) = 0;
    virtual bool bringToForeground(WindowId window) = 0;
    // The top-level window under a screen point; 0 when there is none.
    virtual WindowId rootWindowAt(long x, long y) = 0;
    // The window's process runs at a higher integrity level than this one:
    // UIPI drops what we send it.
    virtual bool runsElevated(WindowId window) = 0;
    // The modifier keys (virtual-key codes of Shift, Control, Alt and the
    // Windows keys, left and right) the system reports down now.
    virtual std::vector<uint32_t> modifiersDown() = 0;
};

class Clipboard {
public:
    virtual ~Clipboard() = default;
    // CF_UNICODETEXT, or nothing when the clipboard is busy or holds no text.
    virtual std::optional<std::u16string> readText() = 0;
    // Opens, empties and offers the text for a paste, marked to stay out of
    // clipboard history and monitors (transientMarks); false when the
    // clipboard was busy. The clipboard holds a promise of the text that this
    // program keeps when a program reads it (delayed rendering): the read is
    // the one sign of a paste the system gives.
    virtual bool offerText(const std::u16string& text) = 0;
    // A program has read the offered text since it was offered.
    virtual bool offerTaken() = 0;
    // Every format that can be kept (savePlan), in order; nothing when busy.
    virtual std::optional<ClipboardSnapshot> save() = 0;
    // Empties the clipboard and puts the snapshot back; false when busy.
    virtual bool restore(const ClipboardSnapshot& snapshot) = 0;
    virtual uint32_t sequenceNumber() = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    // Waits while serving the calls the system sends this thread (the
    // low-level hooks among them); posted messages stay queued, so no menu
    // command, hotkey or timer runs meanwhile.
    virtual void waitServingHooks(unsigned milliseconds) = 0;
    // The clock of the hook events' time stamps.
    virtual uint32_t tickCount() = 0;
};

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Plays a system sound alias asynchronously; unknown aliases play nothing.
    virtual void play(const std::u16string& alias) = 0;
};

// Wakes the message loop to drain the correction queue.
class LoopWaker {
public:
    virtual ~LoopWaker() = default;
    virtual void wake() = 0;
};

}  // namespace quillom::pipeline
