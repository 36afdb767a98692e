// The Win32 implementations of the pipeline's platform interfaces.
#pragma once

#include <windows.h>

#include <cstdint>

#include "platform.h"
#include "win/scoped_win.h"

namespace quillom::pipeline {

class WinInputSender final : public InputSender {
public:
    size_t send(std::span<const SyntheticKey> keys) override;
    bool sendMouse(const MouseEvent& event) override;
};

class WinDesktop final : public Desktop {
public:
    WindowId foregroundWindow() override;
    bool belongsToThisProcess(WindowId window) override;
    std::string executableName(WindowId window) override;
    WindowId focusTarget() override;
    FieldStyle fieldStyle(WindowId window) override;
    WindowKind windowKind(WindowId window) override;
    uint32_t scanCodeOf(uint32_t vkCode) override;
    uint16_t layoutLanguage(WindowId window) override;
    char16_t translateKey(uint32_t vkCode, uint32_t scanCode, bool shift, WindowId target) override;
    char16_t translateKeyInLayout(uint32_t vkCode, uint32_t scanCode, bool shift, LayoutId layout) override;
    std::vector<LayoutId> installedLayouts() override;
    void requestLayoutChange(WindowId window, LayoutId layout) override;
    WindowGeometry geometry(WindowId window) override;
    bool bringToForeground(WindowId window) override;
    WindowId rootWindowAt(long x, long y) override;
    bool runsElevated(WindowId window) override;
    std::vector<uint32_t> modifiersDown() override;
};

class WinClipboard final : public Clipboard {
public:
    // The program's window: it owns what the program puts on the clipboard
    // (EmptyClipboard makes the opening window the owner; with none,
    // SetClipboardData fails) and receives the render requests. Set before
    // any other call.
    void setOwner(HWND window) { owner_ = window; }

    std::optional<std::u16string> readText() override;
    bool offerText(const std::u16string& text) override;
    bool offerTaken() override { return taken_; }
    std::optional<ClipboardSnapshot> save() override;  // clipboard_win.cpp
    bool restore(const ClipboardSnapshot& snapshot) override;
    uint32_t sequenceNumber() override;

    // The owner window's clipboard messages.
    void renderFormat(UINT format);  // WM_RENDERFORMAT: a program reads the offered text
    void renderAll();                // WM_RENDERALLFORMATS: the owner window goes away
    void dropOffer();                // WM_DESTROYCLIPBOARD: the clipboard was emptied

private:
    HWND owner_ = nullptr;
    std::u16string offered_;
    bool offering_ = false;
    bool taken_ = false;
};

// Main thread (its timer is waited on by the thread that serves the hooks).
class WinClock final : public Clock {
public:
    WinClock();
    void waitServingHooks(unsigned milliseconds) override;
    uint32_t tickCount() override;

private:
    win::ScopedHandle timer_;
};

class WinSoundPlayer final : public SoundPlayer {
public:
    void play(const std::u16string& alias) override;
};

// Posts MSG_CORRECTION_READY to the thread that runs the message loop.
class ThreadMessageWaker final : public LoopWaker {
public:
    explicit ThreadMessageWaker(uint32_t threadId) : threadId_(threadId) {}
    void wake() override;

private:
    uint32_t threadId_;
};

inline constexpr unsigned kMsgCorrectionReady = 0x8001;  // WM_APP + 1

}  // namespace quillom::pipeline
