#include "pause_state.h"

namespace quillom::pipeline {

PauseTimer applyPauseCommand(PauseState& state, PauseCommand command) {
    switch (command) {
    case PauseCommand::PauseFor15Minutes: state.paused = true; return PauseTimer::Start;
    case PauseCommand::PauseUntilRestart: state.paused = true; return PauseTimer::Kill;
    case PauseCommand::ToggleEnabled:
        state.enabled = !state.enabled;
        state.paused = false;
        return PauseTimer::Kill;
    case PauseCommand::Resume:
    case PauseCommand::PauseTimerEnded: state.paused = false; return PauseTimer::Kill;
    }
    return PauseTimer::Kill;
}

Status statusOf(const PauseState& state, bool fullScreenPause) {
    if (!state.enabled) return Status::Disabled;
    if (state.paused) return Status::Paused;
    if (fullScreenPause) return Status::PausedFullScreen;
    return Status::Active;
}

}  // namespace quillom::pipeline
