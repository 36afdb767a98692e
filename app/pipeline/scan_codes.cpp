#include "scan_codes.h"

namespace quillom::pipeline {

SyntheticKey withScanCode(SyntheticKey key, uint32_t scanEx) {
    key.scan = uint16_t(scanEx & 0xFF);
    const uint32_t prefix = (scanEx >> 8) & 0xFF;
    if (prefix == 0xE0 || prefix == 0xE1) key.flags |= keyflag::Extended;
    return key;
}

void addScanCodes(std::span<SyntheticKey> keys, Desktop& desktop) {
    for (SyntheticKey& key : keys)
        if (!(key.flags & keyflag::Unicode) && key.scan == 0) key = withScanCode(key, desktop.scanCodeOf(key.vk));
}

}  // namespace quillom::pipeline
