// What the tray icon shows: the layout's two letters on a coloured square,
// grey while correction does not run. The GDI drawing is in tray_icon_win.cpp;
// the choices and the pixel arithmetic are here.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace quillom::tray {

// COLORREF values (0x00BBGGRR).
inline constexpr uint32_t kActiveColour = 0x3C3CC8;
inline constexpr uint32_t kDimmedColour = 0x787878;

// "EN", "RU", "UA" by the layout's primary language, "—" for any other.
std::u16string layoutLabel(uint16_t langId);

struct IconLook {
    std::u16string label;
    bool dimmed = false;
    uint32_t colour() const { return dimmed ? kDimmedColour : kActiveColour; }
    // Equal keys draw the same icon; the refresh skips redrawing them.
    std::u16string key() const { return label + (dimmed ? u"|d" : u"|a"); }
};

// correctionRuns: enabled, not paused and not in the full-screen pause.
IconLook iconLook(uint16_t langId, bool correctionRuns);

struct InkBox {
    int left = 0, top = 0, width = 0, height = 0;
};

// The box of pixels lighter than the background by more than 120 in the sum
// of their blue, green and red bytes; pixels are 32-bit BGRA, rows top-down.
std::optional<InkBox> findInk(std::span<const uint32_t> pixels, int width, int height, uint32_t background);

// Where to draw the text again so that its ink sits in the middle.
struct Offset {
    int x = 0, y = 0;
};
Offset centreInk(const InkBox& box, int size);

}  // namespace quillom::tray
