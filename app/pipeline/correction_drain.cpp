#include "correction_drain.h"

#include "layout_switch.h"
#include "undo_convert.h"
#include "replay.h"
#include "scan_codes.h"
#include "common/debug_log.h"
#include "common/utf16.h"

namespace quillom::pipeline {
namespace {

using quillom::logLine;

// How long held keys wait for the focused window to take the layout a
// correction asked for; an application that refuses keeps its layout.
constexpr unsigned kLayoutWaitMs = 100, kLayoutPollMs = 5;

struct DrainingFlag {
    explicit DrainingFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~DrainingFlag() { flag_ = false; }
    bool& flag_;
};

std::optional<LayoutId> applyCorrection(PipelineState& state, PipelinePorts ports, const PendingCorrection& c) {
    const char16_t boundary = char16_t(c.boundaryAfterSwitch ? c.boundaryAfterSwitch : c.boundaryChar);
    if (!replayCorrection(ports, int32_t(c.eraseCount), c.replacement, boundary, c.boundaryKind, c.heldShifts)) {
        logLine("replay: the system inserted fewer events than sent; '%s' left as it stands",
                toUtf8(c.typedWord).c_str());
        state.undo.available = false;
        // The text no longer is what a correction read again would erase.
        state.wordsBefore.clear();
        return std::nullopt;
    }
    std::optional<LayoutId> requested = switchLayout(ports.desktop, c.targetLang, c.replacement);
    playIfSet(ports.sound, state.sounds, state.sounds.correction);
    state.undo = {true,           state.lastForeground, c.typedWord,  c.replacement,
                  c.boundaryChar, c.boundaryKind,       c.learnedWord};
    state.revert.arm(state.lastForeground, state.lastFocus, ports.clock.tickCount());
    return requested;
}

// Held keys are read as the user will see them: in the layout the window
// takes after the switch, so give it the time to take it.
void awaitLayout(PipelinePorts ports, LayoutId layout) {
    const uint16_t wanted = primaryLanguage(uint16_t(layout));
    for (unsigned waited = 0; waited < kLayoutWaitMs; waited += kLayoutPollMs) {
        if (primaryLanguage(ports.desktop.layoutLanguage(ports.desktop.focusTarget())) == wanted) return;
        ports.clock.waitServingHooks(kLayoutPollMs);
    }
}

void sendKeys(InputSender& input, const std::vector<SyntheticKey>& keys) {
    if (!keys.empty() && input.send(keys) < keys.size())
        logLine("held keys: the system inserted fewer events than sent");
}

// Consecutive held keys go out in one SendInput call, as they came; a held
// key that ends a word to correct stops the run, its correction goes first.
void resendHeldInput(KeyboardHook& hook) {
    PipelineState& state = hook.state();
    InputSender& input = hook.ports().input;
    std::vector<SyntheticKey> keys;
    while (!state.queue.empty() && !changesText(state.queue.front())) {
        if (auto* mouse = std::get_if<HeldMouse>(&state.queue.front())) {
            const MouseEvent event = mouse->event;
            state.queue.pop_front();
            sendKeys(input, keys);
            keys.clear();
            hook.readHeldMouse(event);
            if (!input.sendMouse(event)) logLine("held click: the system did not insert it");
            continue;
        }
        const HeldKey key = std::get<HeldKey>(state.queue.front());
        state.queue.pop_front();
        if (hook.readHeldKey(key) == HookVerdict::Swallow) break;
        keys.push_back(resendEvent(key));
    }
    sendKeys(input, keys);
}

void drainFrom(KeyboardHook& hook, std::optional<LayoutId> requested) {
    PipelineState& state = hook.state();
    PipelinePorts ports = hook.ports();
    if (state.queue.empty() || state.draining) return;
    {
        DrainingFlag draining(state.draining);
        while (!state.queue.empty()) {
            if (auto* correction = std::get_if<PendingCorrection>(&state.queue.front())) {
                PendingCorrection c = std::move(*correction);
                state.queue.pop_front();
                requested = applyCorrection(state, ports, c);
                continue;
            }
            if (std::holds_alternative<PendingRevert>(state.queue.front())) {
                state.queue.pop_front();
                requested = takeCorrectionBack(state, ports);
                continue;
            }
            if (requested) awaitLayout(ports, *requested);
            requested.reset();
            resendHeldInput(hook);
        }
    }
    state.replayWatermark = ports.clock.tickCount();
}

}  // namespace

bool replayCorrection(PipelinePorts ports, int32_t eraseCount, std::u16string_view text, char16_t boundaryChar,
                      BoundaryKind boundaryKind, std::span<const uint16_t> heldShifts) {
    std::vector<ReplayStep> plan = replayPlan(eraseCount, text, boundaryChar, boundaryKind, heldShifts);
    for (ReplayStep& step : plan) addScanCodes(step.keys, ports.desktop);
    return runPlan(plan, ports.input, ports.clock);
}

void drainQueue(KeyboardHook& hook) { drainFrom(hook, std::nullopt); }

void runHeldBack(KeyboardHook& hook, const HeldBackCommand& command) {
    PipelineState& state = hook.state();
    if (state.draining) return;
    drainQueue(hook);
    std::optional<LayoutId> requested;
    {
        DrainingFlag draining(state.draining);
        requested = command();
    }
    state.replayWatermark = hook.ports().clock.tickCount();
    drainFrom(hook, requested);
}

}  // namespace quillom::pipeline
