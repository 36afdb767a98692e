#include "hook_watchdog.h"

#include <algorithm>

namespace quillom::pipeline {

bool HookWatchdog::due(uint32_t now, uint32_t lastInput) {
    if (int32_t(lastInput - lastHookCall_) <= int32_t(kSlackMs)) return false;
    if (int32_t(now - lastInput) < int32_t(kGraceMs)) return false;
    const uint32_t backoff = kGraceMs << std::min(quietReinstalls_, 6u);
    if (quietReinstalls_ > 0 && int32_t(now - lastReinstall_) < int32_t(backoff)) return false;
    lastReinstall_ = now;
    lastHookCall_ = now;
    ++quietReinstalls_;
    return true;
}

}  // namespace quillom::pipeline
