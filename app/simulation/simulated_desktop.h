// The platform the typing pipeline runs on when no Windows is there: one
// window whose keyboard layout and text it models. Keys the hook passes reach
// the text in the window's layout, what the replay sends is applied as an
// editor applies it, and a requested layout is taken before the input that
// follows (Windows posts WM_INPUTLANGCHANGEREQUEST ahead of it). Each unit of
// text remembers which key press put it there, or whose unit it replaced, so
// that a caller can tell what became of each word it typed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pipeline/platform.h"
#include "simulation/key_tables.h"

namespace quillom::simulation {

using pipeline::LayoutId;
using pipeline::WindowId;

// "en", "ru", "uk" and the layouts of their Windows keyboards.
LayoutId layoutOf(const std::string& language);
std::string languageOf(LayoutId layout);

class SimulatedDesktop final : public pipeline::InputSender,
                               public pipeline::Desktop,
                               public pipeline::Clipboard,
                               public pipeline::Clock,
                               public pipeline::SoundPlayer,
                               public pipeline::LoopWaker {
public:
    explicit SimulatedDesktop(const KeyTables& keys) : keys_(keys) {}

    // A new empty window of application `app`, with the layout of `language`.
    void openWindow(const std::string& app, const std::string& language);
    // The user changes the window's layout by hand.
    void setLayout(const std::string& language) { layout_ = layoutOf(language); }
    std::string layout() const { return languageOf(layout_); }

    // The user starts key press number `press`: the units typed from now on
    // belong to it, unless they take the place of units just erased.
    void beginPress(uint32_t press);
    // A key event of the user that the hook passed on reaches the window.
    void userKey(uint32_t vk, uint32_t scan, bool down, bool shift);
    const std::u16string& text() const { return text_; }
    // For each unit of text, the key press it belongs to.
    const std::vector<uint32_t>& pressOfUnit() const { return presses_; }

    // The loop was asked to drain the correction queue; clears the request.
    bool takeWake();
    uint32_t now() const { return now_; }
    // The next user event's time stamp: after everything already sent.
    uint32_t nextEventTime() { return ++now_; }

    // InputSender
    size_t send(std::span<const pipeline::SyntheticKey> keys) override;
    bool sendMouse(const pipeline::MouseEvent&) override { return true; }

    // Desktop
    WindowId foregroundWindow() override { return window_; }
    bool belongsToThisProcess(WindowId) override { return false; }
    std::string executableName(WindowId) override { return app_; }
    WindowId focusTarget() override { return window_ + 1; }
    pipeline::FieldStyle fieldStyle(WindowId) override { return pipeline::FieldStyle::Open; }
    uint16_t layoutLanguage(WindowId) override { return uint16_t(layout_); }
    char16_t translateKey(uint32_t vk, uint32_t scan, bool shift, WindowId) override {
        return translateKeyInLayout(vk, scan, shift, layout_);
    }
    char16_t translateKeyInLayout(uint32_t vk, uint32_t scan, bool shift, LayoutId layout) override;
    std::vector<LayoutId> installedLayouts() override;
    void requestLayoutChange(WindowId, LayoutId layout) override { layout_ = layout; }
    pipeline::WindowGeometry geometry(WindowId) override { return {}; }
    bool bringToForeground(WindowId) override { return true; }
    WindowId rootWindowAt(long, long) override { return window_; }
    bool runsElevated(WindowId) override { return false; }
    std::vector<uint32_t> modifiersDown() override { return {}; }

    // Clipboard: empty, and nothing is converted through it here.
    std::optional<std::u16string> readText() override { return std::nullopt; }
    bool offerText(const std::u16string&) override { return false; }
    bool offerTaken() override { return false; }
    std::optional<pipeline::ClipboardSnapshot> save() override { return std::nullopt; }
    bool restore(const pipeline::ClipboardSnapshot&) override { return false; }
    uint32_t sequenceNumber() override { return 0; }

    // Clock: nothing else is typed while the replay waits.
    void waitServingHooks(unsigned milliseconds) override { now_ += milliseconds; }
    uint32_t tickCount() override { return now_; }

    void play(const std::u16string&) override {}
    void wake() override { woken_ = true; }

private:
    void type(char16_t unit);
    void erase();

    const KeyTables& keys_;
    WindowId window_ = 0x100;
    std::string app_;
    LayoutId layout_ = 0;
    std::u16string text_;
    std::vector<uint32_t> presses_;
    // The presses of the units just erased, in text order: the units typed
    // in their place take them over.
    std::vector<uint32_t> erased_;
    uint32_t press_ = 0;  // the key press now going on
    uint32_t now_ = 1000;
    bool woken_ = false;
    bool sentShift_ = false;  // a Shift key the replay holds down
};

}  // namespace quillom::simulation
