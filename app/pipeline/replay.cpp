#include "replay.h"

namespace quillom::pipeline {
namespace {

constexpr uint16_t kVkBack = 0x08, kVkShift = 0x10, kVkReturn = 0x0D, kVkTab = 0x09;

ReplayStep wait(unsigned ms) { return {ms, {}}; }

ReplayStep keyPress(uint16_t vk) { return {0, {{vk, 0, 0}, {vk, 0, keyflag::KeyUp}}}; }

ReplayStep unicodeChar(char16_t unit) {
    return {0, {{0, uint16_t(unit), keyflag::Unicode}, {0, uint16_t(unit), keyflag::Unicode | keyflag::KeyUp}}};
}

}  // namespace

std::vector<ReplayStep> replayPlan(int32_t eraseCount, std::u16string_view text, char16_t boundaryChar,
                                   BoundaryKind boundaryKind) {
    std::vector<ReplayStep> plan;
    plan.push_back(wait(20));
    if (eraseCount > 0) {
        ReplayStep erase;
        for (int32_t i = 0; i < eraseCount; ++i) {
            erase.keys.push_back({kVkBack, 0, 0});
            erase.keys.push_back({kVkBack, 0, keyflag::KeyUp});
        }
        plan.push_back(std::move(erase));
    }
    plan.push_back(wait(30));
    // A lone Shift tap ends any modifier state the application may still hold.
    plan.push_back(keyPress(kVkShift));
    plan.push_back(wait(10));
    for (char16_t unit : text) {
        plan.push_back(unicodeChar(unit));
        plan.push_back(wait(6));
    }
    switch (boundaryKind) {
    case BoundaryKind::Space: plan.push_back(unicodeChar(u' ')); break;
    case BoundaryKind::Enter: plan.push_back(keyPress(kVkReturn)); break;
    case BoundaryKind::Tab: plan.push_back(keyPress(kVkTab)); break;
    case BoundaryKind::Punctuation: plan.push_back(unicodeChar(boundaryChar)); break;
    }
    return plan;
}

SyntheticKey resendEvent(const HeldKey& key) {
    uint32_t flags = (key.extended ? keyflag::Extended : 0) | (key.isDown ? 0 : keyflag::KeyUp);
    // Another program's Unicode packet carries its character in the scan code.
    if (key.vkCode == kVkPacket) return {0, uint16_t(key.scanCode), flags | keyflag::Unicode};
    return {uint16_t(key.vkCode), uint16_t(key.scanCode), flags};
}

bool runPlan(std::span<const ReplayStep> plan, InputSender& input, Clock& clock) {
    for (const ReplayStep& step : plan) {
        if (!step.keys.empty()) {
            if (input.send(step.keys) < step.keys.size()) return false;
        } else if (step.waitMs > 0) {
            clock.waitServingHooks(step.waitMs);
        }
    }
    return true;
}

}  // namespace quillom::pipeline
