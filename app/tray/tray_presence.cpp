#include "tray_presence.h"

namespace quillom::tray {

bool TrayPresence::afterAdd(bool added, uint32_t nowMs) {
    shown_ = added;
    if (added) {
        retrying_ = false;
        return false;
    }
    if (!retrying_) {
        retrying_ = true;
        firstFailureMs_ = nowMs;
    }
    // Unsigned difference: right across the tick count's wrap.
    if (nowMs - firstFailureMs_ >= kTrayRetryWindowMs) {
        retrying_ = false;
        return false;
    }
    return true;
}

void TrayPresence::taskbarCreated() {
    shown_ = false;
    retrying_ = false;
}

}  // namespace quillom::tray
