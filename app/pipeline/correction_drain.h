// The message loop's side of the correction queue: replays each correction
// and sends held-back input again, in the order the hook queued it.
#pragma once

#include <functional>
#include <optional>

#include "keyboard_hook.h"
#include "pipeline_state.h"

namespace quillom::pipeline {

// Erase, retype and re-send the boundary (with the Shift keys held with it);
// shared by the drain and Undo. False when the system inserted fewer events
// than asked (the rest is not sent).
bool replayCorrection(PipelinePorts ports, int32_t eraseCount, std::u16string_view text, char16_t boundaryChar,
                      BoundaryKind boundaryKind, std::span<const uint16_t> heldShifts = {});

// Main thread, for MSG_CORRECTION_READY. Runs until the queue is empty, also
// when the hook queues more while it runs (its waits serve the hooks).
void drainQueue(KeyboardHook& hook);

// A command that sends input (Undo, Convert) under the drain's hold-back:
// what is queued goes out first, input arriving meanwhile is held and sent
// after the command, read in the layout the command requested, if any.
using HeldBackCommand = std::function<std::optional<LayoutId>()>;
void runHeldBack(KeyboardHook& hook, const HeldBackCommand& command);

}  // namespace quillom::pipeline
