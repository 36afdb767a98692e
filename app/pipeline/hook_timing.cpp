#include "hook_timing.h"

#include <algorithm>

namespace quillom::pipeline {
namespace {

uint32_t percentile(std::vector<uint32_t>& sorted, unsigned percent) {
    size_t index = (sorted.size() - 1) * percent / 100;
    return sorted[index];
}

}  // namespace

void HookTiming::record(uint32_t microseconds) {
    ++count_;
    max_ = std::max(max_, microseconds);
    if (samples_.size() < kCapacity) samples_.push_back(microseconds);
}

void HookTiming::recordWait(uint32_t milliseconds) { maxWait_ = std::max(maxWait_, milliseconds); }

TimingSummary HookTiming::summary() const {
    if (samples_.empty()) return {0, 0, 0, 0, maxWait_};
    std::vector<uint32_t> sorted = samples_;
    std::ranges::sort(sorted);
    return {count_, percentile(sorted, 50), percentile(sorted, 99), max_, maxWait_};
}

}  // namespace quillom::pipeline
