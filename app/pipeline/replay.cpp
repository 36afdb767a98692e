#include "replay.h"

namespace quillom::pipeline {
namespace {

ReplayStep wait(unsigned ms) { return {ms, {}}; }

ReplayStep keyPress(uint16_t vk) { return {0, {{vk, 0, 0}, {vk, 0, keyflag::KeyUp}}}; }

ReplayStep unicodeChar(char16_t unit) {
    return {0, {{0, uint16_t(unit), keyflag::Unicode}, {0, uint16_t(unit), keyflag::Unicode | keyflag::KeyUp}}};
}

// The right Shift has a scan code of its own; the left one stands for the generic key.
ReplayStep shiftKeys(std::span<const uint16_t> vks, uint32_t flags) {
    constexpr uint16_t kScanLeftShift = 0x2A, kScanRightShift = 0x36;
    ReplayStep step;
    for (uint16_t vk : vks) step.keys.push_back({vk, vk == vk::RightShift ? kScanRightShift : kScanLeftShift, flags});
    return step;
}

ReplayStep boundaryKey(char16_t boundaryChar, BoundaryKind boundaryKind) {
    switch (boundaryKind) {
    case BoundaryKind::Space: return keyPress(vk::Space);
    case BoundaryKind::Enter: return keyPress(vk::Enter);
    case BoundaryKind::Tab: return keyPress(vk::Tab);
    case BoundaryKind::Punctuation: return unicodeChar(boundaryChar);
    }
    return {};
}

}  // namespace

std::vector<ReplayStep> replayPlan(int32_t eraseCount, std::u16string_view text, char16_t boundaryChar,
                                   BoundaryKind boundaryKind, std::span<const uint16_t> heldShifts) {
    std::vector<ReplayStep> plan;
    plan.push_back(wait(20));
    if (!heldShifts.empty()) plan.push_back(shiftKeys(heldShifts, keyflag::KeyUp));
    if (eraseCount > 0) {
        ReplayStep erase;
        for (int32_t i = 0; i < eraseCount; ++i) {
            erase.keys.push_back({vk::Backspace, 0, 0});
            erase.keys.push_back({vk::Backspace, 0, keyflag::KeyUp});
        }
        plan.push_back(std::move(erase));
    }
    plan.push_back(wait(30));
    // A lone Shift tap ends any modifier state the application may still hold.
    if (heldShifts.empty()) plan.push_back(keyPress(vk::Shift));
    plan.push_back(wait(10));
    for (char16_t unit : text) {
        plan.push_back(unicodeChar(unit));
        plan.push_back(wait(6));
    }
    ReplayStep boundary = shiftKeys(heldShifts, 0);
    for (const SyntheticKey& key : boundaryKey(boundaryChar, boundaryKind).keys) boundary.keys.push_back(key);
    if (!boundary.keys.empty()) plan.push_back(std::move(boundary));
    return plan;
}

SyntheticKey resendEvent(const HeldKey& key) {
    uint32_t flags = (key.extended ? keyflag::Extended : 0) | (key.isDown ? 0 : keyflag::KeyUp);
    // Another program's Unicode packet carries its character in the scan code.
    if (key.vkCode == vk::Packet) return {0, uint16_t(key.scanCode), flags | keyflag::Unicode};
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
