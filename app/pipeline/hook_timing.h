// How long the keyboard hook spends per event. Windows removes a low-level
// hook that keeps exceeding its timeout, so the time is measured in the
// program itself and written to the diagnostic log.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quillom::pipeline {

struct TimingSummary {
    size_t count = 0;
    uint32_t p50 = 0, p99 = 0, max = 0;  // microseconds
    uint32_t maxWaitMs = 0;              // the longest an event waited for its hook call
};

// Main thread. Keeps the first kCapacity samples; the maximum covers all.
class HookTiming {
public:
    static constexpr size_t kCapacity = 1 << 16;

    void record(uint32_t microseconds);
    // The time from the event's time stamp to the hook call: how long the
    // thread left the desktop's input waiting.
    void recordWait(uint32_t milliseconds);
    TimingSummary summary() const;

private:
    std::vector<uint32_t> samples_;
    size_t count_ = 0;
    uint32_t max_ = 0;
    uint32_t maxWait_ = 0;
};

}  // namespace quillom::pipeline
