#include <gtest/gtest.h>

#include "tray/tray_icon.h"

namespace quillom::tray {
namespace {

TEST(TrayIcon, LabelAndLookByLayout) {
    struct Case {
        uint16_t lang;
        bool runs;
        std::u16string key;
        uint32_t colour;
    } cases[] = {
        {0x0409, true, u"EN|a", kActiveColour},  {0x0809, true, u"EN|a", kActiveColour},
        {0x0419, true, u"RU|a", kActiveColour},  {0x0422, true, u"UA|a", kActiveColour},
        {0x0422, false, u"UA|d", kDimmedColour}, {0x0407, true, u"\u2014|d", kDimmedColour},
    };
    for (const Case& c : cases) {
        IconLook look = iconLook(c.lang, c.runs);
        EXPECT_EQ(look.key(), c.key) << c.lang;
        EXPECT_EQ(look.colour(), c.colour) << c.lang;
    }
    EXPECT_EQ(kActiveColour & 0xFF, 200u) << "red in the low byte of a COLORREF";
}

TEST(TrayIcon, InkBoxOfLightPixelsOnTheBackground) {
    const int size = 8;
    const uint32_t background = kActiveColour;  // BGRA of RGB(200, 60, 60): 0xFFC83C3C... as a sum 320
    const uint32_t backgroundPixel = 0xFFC83C3C;
    std::vector<uint32_t> pixels(size * size, backgroundPixel);
    EXPECT_FALSE(findInk(pixels, size, size, background));

    pixels[2 * size + 3] = 0xFFFFFFFF;  // white ink
    pixels[5 * size + 6] = 0xFFFFFFFF;
    pixels[7 * size + 0] = 0xFFD0506C;  // 120 lighter at most: not ink
    std::optional<InkBox> box = findInk(pixels, size, size, background);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->left, 3);
    EXPECT_EQ(box->top, 2);
    EXPECT_EQ(box->width, 4);
    EXPECT_EQ(box->height, 4);

    Offset at = centreInk(*box, size);
    EXPECT_EQ(at.x, (8 - 4) / 2 - 3);
    EXPECT_EQ(at.y, (8 - 4) / 2 - 2);
}

}  // namespace
}  // namespace quillom::tray
