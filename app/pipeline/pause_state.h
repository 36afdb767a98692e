// The user's switches over automatic correction: Enabled, the two pauses and
// their end, and the status the tray shows for them.
#pragma once

namespace quillom::pipeline {

// Main thread.
struct PauseState {
    bool enabled = true;  // not persisted: every start begins enabled
    bool paused = false;
};

enum class PauseCommand { PauseFor15Minutes, PauseUntilRestart, Resume, ToggleEnabled, PauseTimerEnded };

// What the caller does with the 15-minute timer after a command.
enum class PauseTimer { Start, Kill };

PauseTimer applyPauseCommand(PauseState& state, PauseCommand command);

inline bool correctionActive(const PauseState& state) { return state.enabled && !state.paused; }

enum class Status { Active, Paused, PausedFullScreen, Disabled };

// fullScreenPause: pausing in games is on and the foreground window is full-screen.
Status statusOf(const PauseState& state, bool fullScreenPause);

}  // namespace quillom::pipeline
