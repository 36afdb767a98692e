#include "tray_icon.h"

#include "pipeline/layout_switch.h"

namespace quillom::tray {
namespace {

int channelSum(uint32_t pixel) { return int(pixel & 0xFF) + int((pixel >> 8) & 0xFF) + int((pixel >> 16) & 0xFF); }

}  // namespace

std::u16string layoutLabel(uint16_t langId) {
    switch (pipeline::primaryLanguage(langId)) {
    case pipeline::lang::English: return u"EN";
    case pipeline::lang::Russian: return u"RU";
    case pipeline::lang::Ukrainian: return u"UA";
    default: return u"\u2014";
    }
}

IconLook iconLook(uint16_t langId, bool correctionRuns) {
    std::u16string label = layoutLabel(langId);
    bool dimmed = !correctionRuns || label == u"\u2014";
    return {std::move(label), dimmed};
}

std::optional<InkBox> findInk(std::span<const uint32_t> pixels, int width, int height, uint32_t background) {
    // COLORREF and BGRA pixels hold the three channels in opposite order; the sum is the same.
    const int backgroundSum = channelSum(background);
    int left = width, top = height, right = -1, bottom = -1;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (channelSum(pixels[size_t(y) * width + x]) - backgroundSum <= 120) continue;
            if (x < left) left = x;
            if (x > right) right = x;
            if (y < top) top = y;
            if (y > bottom) bottom = y;
        }
    }
    if (right < 0) return std::nullopt;
    return InkBox{left, top, right - left + 1, bottom - top + 1};
}

Offset centreInk(const InkBox& box, int size) {
    return {(size - box.width) / 2 - box.left, (size - box.height) / 2 - box.top};
}

}  // namespace quillom::tray
