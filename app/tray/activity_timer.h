// Periodic work that matters only while the user is active (the tray icon following the
// foreground window's layout and pause state): input starts the timer, and it stops after
// kIdleMs without input, so an idle program is woken by nothing. Main thread.
#pragma once

#include <cstdint>

namespace quillom::tray {

class ActivityTimer {
public:
    static constexpr uint32_t kIdleMs = 5000;

    // Input (or a change of foreground window) at now: true when the timer must be started.
    bool input(uint32_t now) {
        lastInput_ = now;
        if (running_) return false;
        running_ = true;
        return true;
    }

    // The timer fired at now: false when it must be stopped, the user having gone quiet.
    bool tick(uint32_t now) {
        if (running_ && now - lastInput_ < kIdleMs) return true;
        running_ = false;
        return false;
    }

private:
    uint32_t lastInput_ = 0;
    bool running_ = false;
};

}  // namespace quillom::tray
