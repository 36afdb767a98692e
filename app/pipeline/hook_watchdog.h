// Windows removes a low-level hook without a word when a call waits too long
// (heavy load, sleep, the secure desktop). The watchdog notices that input
// reached the system (GetLastInputInfo) that the hooks never saw, and asks
// for both hooks to be installed again.
#pragma once

#include <cstdint>

namespace quillom::pipeline {

// Main thread: the hook procedures report each call, a timer asks.
class HookWatchdog {
public:
    // The timer's period: an idle program wakes no more often than this (the timer is
    // coalescable, by up to kCheckToleranceMs).
    static constexpr uint32_t kCheckMs = 5000;
    static constexpr uint32_t kCheckToleranceMs = 1000;
    // Input this old that no hook call followed was missed: its call would have come long ago.
    static constexpr uint32_t kGraceMs = 1000;
    // The two clocks are read at different moments: a hook call this much before the input still counts.
    static constexpr uint32_t kSlackMs = 50;

    explicit HookWatchdog(uint32_t installedAt = 0) : lastHookCall_(installedAt) {}

    void hookCalled(uint32_t now) {
        lastHookCall_ = now;
        quietReinstalls_ = 0;
    }

    // True when the hooks must be installed again. Input the hooks never see
    // (to an elevated window, without UIAccess) would ask every time: each
    // reinstall that brings no hook call doubles the wait for the next.
    bool due(uint32_t now, uint32_t lastInput);

private:
    uint32_t lastHookCall_;
    uint32_t lastReinstall_ = 0;
    unsigned quietReinstalls_ = 0;
};

}  // namespace quillom::pipeline
