#include "correction_drain.h"

#include "layout_switch.h"
#include "replay.h"

namespace quillom::pipeline {
namespace {

void applyCorrection(PipelineState& state, PipelinePorts ports, const PendingCorrection& c) {
    replayCorrection(ports, int32_t(c.eraseCount), c.replacement, char16_t(c.boundaryChar), c.boundaryKind,
                     c.heldShifts);
    switchLayout(ports.desktop, c.targetLang, c.replacement);
    playIfSet(ports.sound, state.sounds, state.sounds.correction);
    state.undo = {true, c.typedWord, c.replacement, c.boundaryChar, c.boundaryKind};
}

// Consecutive held keys go out in one SendInput call, as they came.
void resendHeldKeys(PipelineState& state, PipelinePorts ports) {
    std::vector<SyntheticKey> keys;
    while (!state.queue.empty() && std::holds_alternative<HeldKey>(state.queue.front())) {
        keys.push_back(resendEvent(std::get<HeldKey>(state.queue.front())));
        state.queue.pop_front();
    }
    ports.input.send(keys);
}

struct DrainingFlag {
    explicit DrainingFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~DrainingFlag() { flag_ = false; }
    bool& flag_;
};

}  // namespace

void replayCorrection(PipelinePorts ports, int32_t eraseCount, std::u16string_view text, char16_t boundaryChar,
                      BoundaryKind boundaryKind, std::span<const uint16_t> heldShifts) {
    runPlan(replayPlan(eraseCount, text, boundaryChar, boundaryKind, heldShifts), ports.input, ports.clock);
}

void drainQueue(PipelineState& state, PipelinePorts ports) {
    if (state.queue.empty() || state.draining) return;
    {
        DrainingFlag draining(state.draining);
        while (!state.queue.empty()) {
            if (std::holds_alternative<HeldKey>(state.queue.front())) {
                resendHeldKeys(state, ports);
                continue;
            }
            PendingCorrection correction = std::move(std::get<PendingCorrection>(state.queue.front()));
            state.queue.pop_front();
            applyCorrection(state, ports, correction);
        }
    }
    state.replayWatermark = ports.clock.tickCount();
}

}  // namespace quillom::pipeline
