// The decisions of the low-level keyboard and mouse hooks. The Win32 hook
// procedures turn their structures into KeyEvent / MouseMessage, call these
// and return what they answer.
#pragma once

#include "key_event.h"
#include "pipeline_state.h"

namespace quillom::pipeline {

// Main thread (the hook procedures run there).
class KeyboardHook {
public:
    KeyboardHook(PipelineState& state, PipelinePorts ports) : state_(state), ports_(ports) {}

    // Never throws: an exception must not unwind into the system's hook chain.
    HookVerdict onKey(const KeyEvent& event) noexcept;
    void onMouse(MouseMessage message) noexcept;

private:
    HookVerdict handleKeyDown(const KeyEvent& event);
    bool mustHoldBack(const KeyEvent& event);
    void holdBack(const KeyEvent& event);
    void enqueue(QueuedInput item);
    bool isResetState() const;
    void noteForeground();
    // True when a correction was queued and the boundary key must be swallowed.
    bool evaluateWord(const FinishedWord& word);
    void queueCorrection(const FinishedWord& word, const Decision& verdict);

    PipelineState& state_;
    PipelinePorts ports_;
};

}  // namespace quillom::pipeline
