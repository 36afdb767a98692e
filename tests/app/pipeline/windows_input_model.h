// A model of Windows' input system around the one thread that owns the
// low-level hooks, on a fake clock:
// - every input event, the user's and SendInput's alike, enters one system
//   queue and reaches the application in that order;
// - the hook is called for an event only when the owning thread serves sent
//   messages: while it waits in its message loop or in waitServingHooks. Time
//   the thread spends otherwise (work(), a sleep) holds up the whole queue;
// - a hook call left waiting longer than LowLevelHooksTimeout (300 ms)
//   removes the hook, silently: later events reach the application unseen;
// - SendInput returns at once; our own hook sees the injected events later;
// - the application types key events in its own layout and takes a requested
//   layout before the input that follows (posted messages come first).
// The recording fakes (fakes.h) instead call the hook inside send, as Wine does.
#pragma once

#include <algorithm>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <variant>
#include <vector>

#include "fakes.h"
#include "pipeline/correction_drain.h"
#include "pipeline/hook_watchdog.h"
#include "pipeline/layout_switch.h"

namespace quillom::pipeline::testing {

inline constexpr uint32_t kHookTimeoutMs = 300;

// Letters on the US and Russian layouts, by virtual key 'A'..'Z'.
inline char16_t letterOf(uint16_t language, uint32_t vkCode, bool shift) {
    static const std::u16string russian = u"фисвуапршолдьтщзйкыегмцчня";
    if (vkCode < 'A' || vkCode > 'Z') return 0;
    char16_t lower = language == lang::Russian ? russian[vkCode - 'A'] : char16_t(vkCode - 'A' + 'a');
    if (!shift) return lower;
    return language == lang::Russian ? char16_t(lower - 0x20) : char16_t(vkCode);
}

// The focused editor: its text, its selection (the end of the text), its layout.
struct ModelEditor {
    std::u16string text;
    size_t selected = 0;  // the last `selected` units of text are selected
    uint16_t language = lang::English;
    bool shift = false, control = false;
    FakeClipboard* clipboard = nullptr;

    void type(char16_t ch) {
        text.erase(text.size() - selected);
        selected = 0;
        text += ch;
    }
    void key(uint32_t vk, bool down) {
        if (vk == 0x10 || vk == 0xA0 || vk == 0xA1) shift = down;
        if (vk == 0x11 || vk == 0xA2 || vk == 0xA3) control = down;
        if (!down) return;
        if (control && vk == 'C' && clipboard && selected > 0) {
            clipboard->text = text.substr(text.size() - selected);
            ++clipboard->sequence;
        } else if (control && vk == 'V' && clipboard) {
            text.erase(text.size() - selected);
            selected = 0;
            text += clipboard->pasteRead().value_or(u"");
        } else if (control) {
        } else if (vk == 0x08) {
            if (selected > 0) {
                text.erase(text.size() - selected);
                selected = 0;
            } else if (!text.empty()) {
                text.pop_back();
            }
        } else if (vk == 0x20) {
            type(u' ');
        } else if (vk == 0x0D) {
            type(u'\n');
        } else if (char16_t ch = letterOf(language, vk, shift)) {
            type(ch);
        }
    }
};

class WindowsInputModel : public InputSender, public Clock, public Desktop, public LoopWaker {
public:
    using Input = std::variant<KeyEvent, MouseEvent>;

    uint32_t now = 1000;
    bool hookInstalled = true;
    bool hookRemoved = false;  // the system took the hook away at least once
    unsigned maxHookWait = 0;  // the longest an event waited for the hook, ms
    unsigned hookCalls = 0;
    uint32_t lastInput = 0;          // GetLastInputInfo
    bool uipiBlocks = false;         // SendInput inserts nothing (elevated target)
    std::vector<std::string> trace;  // "hook removed", "hook reinstalled"

    ModelEditor editor;
    FakeClipboard clipboard;
    FakeSound sound;
    FakeEngine engine;
    PipelineState state;
    KeyboardHook hook{state, ports()};
    HookWatchdog watchdog{now};

    // Desktop facts.
    WindowId foreground = 100, focus = 101;
    std::vector<WindowId> ownWindows;
    std::vector<uint32_t> asyncModifiers;  // GetAsyncKeyState

    WindowsInputModel() {
        state.engine = &engine;
        editor.clipboard = &clipboard;
    }

    PipelinePorts ports() { return {*this, *this, clipboard, *this, sound, *this}; }

    // ---- the user ----
    // Key events of a text typed from `at` on, `gap` ms between taps: lower-case
    // letters, spaces and '\n' (Enter).
    void typeAt(uint32_t at, std::string_view text, unsigned gap = 30) {
        for (char c : text) {
            const uint32_t vk = c == ' ' ? 0x20u : c == '\n' ? 0x0Du : uint32_t(c - 'a' + 'A');
            keyAt(at, vk, true);
            keyAt(at + 1, vk, false);
            at += gap;
        }
    }
    void keyAt(uint32_t at, uint32_t vk, bool down) { enter(KeyEvent{vk, 0, down, false, at, 0}, at); }
    void clickAt(uint32_t at, long x, long y) {
        enter(MouseEvent{MouseMessage::ButtonDown, 0x201, x, y, 0, at, 0}, at);
        enter(MouseEvent{MouseMessage::ButtonUp, 0x202, x, y, 0, at + 1, 0}, at + 1);
    }
    // A posted message (menu command, hotkey) the loop runs at that time.
    void postAt(uint32_t at, std::function<void()> command) { posted_.push_back({at, std::move(command)}); }
    // PostMessage from another thread: the loop runs it when it next looks.
    void postFromAnyThread(std::function<void()> task) {
        std::lock_guard lock(crossThreadMutex_);
        crossThread_.push_back(std::move(task));
    }

    // ---- the owning thread ----
    // Its message loop until the fake clock reaches `until`: drains the
    // correction queue when woken, runs posted commands, checks the watchdog
    // at its timer's period, and otherwise waits in GetMessage serving the hooks.
    void runLoopUntil(uint32_t until) {
        while (int32_t(until - now) > 0) {
            if (woken_) {
                woken_ = false;
                drainQueue(hook);
                continue;
            }
            if (runPostedCommand() || runCrossThreadPost()) continue;
            advance(1, true);
            if (now % HookWatchdog::kCheckMs == 0 && watchdog.due(now, lastInput)) {
                hookInstalled = true;
                trace.push_back("hook reinstalled");
            }
        }
    }
    // The thread busy without serving anything (a sleep, a file parse).
    void work(unsigned ms) { advance(ms, false); }

    // ---- InputSender ----
    size_t send(std::span<const SyntheticKey> keys) override {
        sendOrder += 'K';
        if (uipiBlocks) return 0;
        for (const SyntheticKey& k : keys) {
            const bool unicode = k.flags & keyflag::Unicode;
            enter(KeyEvent{unicode ? vk::Packet : k.vk, k.scan, !(k.flags & keyflag::KeyUp),
                           bool(k.flags & keyflag::Extended), now, kInjectedMarker},
                  now);
        }
        return keys.size();
    }
    bool sendMouse(const MouseEvent& event) override {
        sendOrder += 'M';
        if (uipiBlocks) return false;
        MouseEvent injected = event;
        injected.time = now;
        injected.extraInfo = kInjectedMarker;
        enter(injected, now);
        mouseSent.push_back(event);
        return true;
    }
    std::vector<MouseEvent> mouseSent;
    std::string sendOrder;  // 'K' per SendInput of keys, 'M' per mouse event

    // ---- Clock ----
    void waitServingHooks(unsigned ms) override { advance(ms, true); }
    uint32_t tickCount() override { return now; }

    // ---- LoopWaker ----
    void wake() override { woken_ = true; }

    // ---- Desktop ----
    WindowId foregroundWindow() override { return foreground; }
    bool belongsToThisProcess(WindowId w) override {
        return std::find(ownWindows.begin(), ownWindows.end(), w) != ownWindows.end();
    }
    std::string executableName(WindowId w) override { return w == 100 ? "notepad.exe" : "other.exe"; }
    WindowId focusTarget() override { return focus; }
    FieldStyle fieldStyle(WindowId) override { return FieldStyle::Open; }
    uint16_t layoutLanguage(WindowId) override { return uint16_t(0x0400 | editor.language); }
    char16_t translateKey(uint32_t vk, uint32_t, bool shift, WindowId) override {
        if (vk == 0x20) return u' ';
        return letterOf(editor.language, vk, shift);
    }
    char16_t translateKeyInLayout(uint32_t vk, uint32_t, bool shift, LayoutId layout) override {
        return layoutChar(uint16_t(layout & 0x3FF), vk, shift);
    }
    std::vector<LayoutId> installedLayouts() override { return {0x04090409, 0x04190419}; }
    void requestLayoutChange(WindowId, LayoutId layout) override {
        layoutSwitchAt_ = {now + 1, uint16_t(layout & 0x3FF)};
    }
    WindowGeometry geometry(WindowId) override { return {}; }
    bool bringToForeground(WindowId w) override {
        foreground = w;
        return true;
    }
    WindowId rootWindowAt(long, long) override { return 100; }
    bool runsElevated(WindowId) override { return false; }
    std::vector<uint32_t> modifiersDown() override { return asyncModifiers; }

    // The system removes the hook, as it does after a timeout or a resume.
    void removeHook() {
        hookInstalled = false;
        trace.push_back("hook removed");
    }

private:
    struct Pending {
        Input input;
        uint32_t arrival;
    };
    struct Posted {
        uint32_t at;
        std::function<void()> command;
    };

    void enter(Input input, uint32_t at) {
        auto it = std::upper_bound(queue_.begin(), queue_.end(), at,
                                   [](uint32_t t, const Pending& p) { return int32_t(t - p.arrival) < 0; });
        queue_.insert(it, Pending{std::move(input), at});
    }

    bool runPostedCommand() {
        auto it =
            std::find_if(posted_.begin(), posted_.end(), [this](const Posted& p) { return int32_t(now - p.at) >= 0; });
        if (it == posted_.end()) return false;
        std::function<void()> command = std::move(it->command);
        posted_.erase(it);
        command();
        return true;
    }

    bool runCrossThreadPost() {
        std::function<void()> task;
        {
            std::lock_guard lock(crossThreadMutex_);
            if (crossThread_.empty()) return false;
            task = std::move(crossThread_.front());
            crossThread_.erase(crossThread_.begin());
        }
        task();
        return true;
    }

    void advance(unsigned ms, bool serving) {
        for (unsigned i = 0; i < ms; ++i) {
            ++now;
            if (layoutSwitchAt_.first != 0 && int32_t(now - layoutSwitchAt_.first) >= 0) {
                editor.language = layoutSwitchAt_.second;
                layoutSwitchAt_ = {0, 0};
            }
            if (serving) deliverDue();
            timeOut();
            if (!hookInstalled) deliverDue();
        }
    }

    // The raw input thread hands the events that arrived, in order, to the hook.
    void deliverDue() {
        while (!queue_.empty() && int32_t(now - queue_.front().arrival) >= 0) {
            Pending event = std::move(queue_.front());
            queue_.erase(queue_.begin());
            lastInput = event.arrival;
            HookVerdict verdict = HookVerdict::Pass;
            if (hookInstalled) {
                maxHookWait = std::max(maxHookWait, unsigned(now - event.arrival));
                ++hookCalls;
                watchdog.hookCalled(now);
                if (auto* key = std::get_if<KeyEvent>(&event.input)) verdict = hook.onKey(*key);
                else verdict = hook.onMouse(std::get<MouseEvent>(event.input));
            }
            if (verdict == HookVerdict::Pass) reachApplication(event.input);
        }
    }

    void reachApplication(const Input& input) {
        const auto* key = std::get_if<KeyEvent>(&input);
        if (!key) return;
        if (key->vkCode == vk::Packet) {
            if (key->isDown) editor.type(char16_t(key->scanCode));
            return;
        }
        editor.key(key->vkCode, key->isDown);
    }

    // LowLevelHooksTimeout: a call that waited too long takes the hook away.
    void timeOut() {
        if (!hookInstalled || queue_.empty()) return;
        if (int32_t(now - queue_.front().arrival) > int32_t(kHookTimeoutMs)) {
            maxHookWait = std::max(maxHookWait, unsigned(now - queue_.front().arrival));
            removeHook();
            hookRemoved = true;
        }
    }

    std::vector<Pending> queue_;
    std::vector<Posted> posted_;
    std::mutex crossThreadMutex_;
    std::vector<std::function<void()>> crossThread_;
    bool woken_ = false;
    std::pair<uint32_t, uint16_t> layoutSwitchAt_{0, 0};
};

}  // namespace quillom::pipeline::testing
