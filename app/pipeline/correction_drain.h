// The message loop's side of the correction queue: replays each correction
// and sends held-back keys again, in the order the hook queued them.
#pragma once

#include "pipeline_state.h"

namespace quillom::pipeline {

// Erase, retype and re-send the boundary; shared by the drain and Undo.
void replayCorrection(PipelinePorts ports, int32_t eraseCount, std::u16string_view text, char16_t boundaryChar,
                      BoundaryKind boundaryKind, std::span<const uint16_t> heldShifts = {});

// Main thread, for MSG_CORRECTION_READY. Runs until the queue is empty, also
// when the hook queues more while it runs.
void drainQueue(PipelineState& state, PipelinePorts ports);

}  // namespace quillom::pipeline
