#include "simulation/simulated_typing.h"

#include "common/virtual_keys.h"
#include "pipeline/correction_drain.h"

namespace quillom::simulation {

pipeline::Decision SimulatedTyping::Recorder::evaluate(const pipeline::WordQuery& query) {
    pipeline::Decision decision = engine_.evaluate(query);
    last = Evaluation{query, decision};
    return decision;
}

SimulatedTyping::SimulatedTyping(pipeline::WordEngine& engine, const KeyTables& keys)
    : desktop_(keys), recorder_(engine), hook_(state_, {desktop_, desktop_, desktop_, desktop_, desktop_, desktop_}) {
    state_.engine = &recorder_;
}

void SimulatedTyping::openWindow(const std::string& app, const std::string& language) {
    desktop_.openWindow(app, language);
    // What the hook does on the first key in a new window, with the caret
    // read's answer for an empty field: nothing typed before the word.
    pipeline::resetWord(state_);
    state_.capture = pipeline::WordCapture{};
    state_.caret.take();
    state_.lastForeground = desktop_.foregroundWindow();
    state_.lastFocus = desktop_.focusTarget();
    state_.currentAppId = app;
    state_.undo.available = false;
}

void SimulatedTyping::event(uint32_t vk, uint32_t scan, bool down, bool shift) {
    const pipeline::KeyEvent key{vk, scan, down, false, desktop_.nextEventTime(), 0};
    if (hook_.onKey(key) == pipeline::HookVerdict::Pass) desktop_.userKey(vk, scan, down, shift);
    // The message loop drains the queue as soon as the hook woke it.
    if (desktop_.takeWake()) pipeline::drainQueue(hook_);
}

std::optional<Evaluation> SimulatedTyping::press(KeyStroke key) {
    desktop_.beginPress(++presses_);
    recorder_.last.reset();
    if (key.shift) event(vk::LeftShift, 0x2A, true, true);
    event(key.vk, 0, true, key.shift);
    event(key.vk, 0, false, key.shift);
    if (key.shift) event(vk::LeftShift, 0x2A, false, false);
    return std::move(recorder_.last);
}

std::optional<Evaluation> SimulatedTyping::typeOther(char16_t ch) {
    desktop_.beginPress(++presses_);
    recorder_.last.reset();
    event(vk::Packet, ch, true, false);
    event(vk::Packet, ch, false, false);
    return std::move(recorder_.last);
}

}  // namespace quillom::simulation
