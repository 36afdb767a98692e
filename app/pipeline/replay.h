// What a replay sends and how long it waits in between, as data, so the
// exact sequence is testable; runPlan carries it out.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "correction_queue.h"
#include "platform.h"

namespace quillom::pipeline {

// Either a wait (the hooks are served meanwhile) or one SendInput call.
struct ReplayStep {
    unsigned waitMs = 0;
    std::vector<SyntheticKey> keys;

    friend bool operator==(const ReplayStep&, const ReplayStep&) = default;
};

// Erase eraseCount units, type text as Unicode characters, send the boundary
// again (Space, Enter and Tab as keys, for programs that act on the key;
// punctuation as its character). Keys go without scan codes (addScanCodes). heldShifts: the Shift keys (by virtual key)
// the user held down with the boundary key; they are let go for the text and pressed again for the boundary, which so
// arrives as Shift+Enter or Shift+Tab, and stay down.
std::vector<ReplayStep> replayPlan(int32_t eraseCount, std::u16string_view text, char16_t boundaryChar,
                                   BoundaryKind boundaryKind, std::span<const uint16_t> heldShifts = {});

// The held key as it arrived: its virtual key and scan code, up or down.
SyntheticKey resendEvent(const HeldKey& key);

// False when the system inserted fewer events than a step asked for; the
// rest of the plan is then not sent.
bool runPlan(std::span<const ReplayStep> plan, InputSender& input, Clock& clock);

}  // namespace quillom::pipeline
