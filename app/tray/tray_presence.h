// Keeps the notification-area icon for as long as the program runs. At login
// the notification area may not be ready yet, so a failed add is tried again
// for a minute; when Explorer starts anew it broadcasts "TaskbarCreated" and
// every program must add its icon again.
#pragma once

#include <cstdint>

namespace quillom::tray {

inline constexpr uint32_t kTrayRetryWindowMs = 60000;
inline constexpr uint32_t kTrayRetryIntervalMs = 2000;

// Main thread.
class TrayPresence {
public:
    // After an attempt to add the icon at nowMs (a tick count). True while
    // the retry timer should run.
    bool afterAdd(bool added, uint32_t nowMs);
    // Explorer started anew: the icon is gone, and a fresh minute of retries begins.
    void taskbarCreated();
    bool shown() const { return shown_; }

private:
    bool shown_ = false;
    bool retrying_ = false;
    uint32_t firstFailureMs_ = 0;
};

}  // namespace quillom::tray
