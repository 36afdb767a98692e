// Draws the program icon, a white quill nib on the red square of the tray
// icon, and writes it as a Windows .ico with the sizes Windows asks for.
// Runs at build time: make_icon <output.ico>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kSizes[] = {16, 20, 24, 32, 48, 256};
constexpr int kSupersample = 4;

struct Colour {
    double r, g, b, a;
};

// Coverage of the shape at a point of the unit square (0..1 both ways).
bool insideRoundedSquare(double x, double y) {
    const double radius = 0.18, inset = 0.02;
    double cx = std::clamp(x, inset + radius, 1 - inset - radius);
    double cy = std::clamp(y, inset + radius, 1 - inset - radius);
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
}

// A nib: a pointed leaf from the lower left to the upper right, with a slit.
bool insideNib(double x, double y) {
    // Coordinates along the nib's axis (u, 0 at the tip, 1 at the top) and across it (v).
    const double ax = 0.22, ay = 0.80, bx = 0.78, by = 0.22;
    const double dx = bx - ax, dy = by - ay, length = std::hypot(dx, dy);
    const double u = ((x - ax) * dx + (y - ay) * dy) / (length * length);
    const double v = (-(x - ax) * dy + (y - ay) * dx) / length;
    if (u < 0 || u > 1) return false;
    const double halfWidth = 0.17 * std::sin(u * 3.14159265 * 0.85);
    if (std::abs(v) > halfWidth) return false;
    const bool slit = std::abs(v) < 0.018 && u < 0.55;
    const bool hole = std::hypot(u - 0.55, v / length) < 0.045;
    return !slit && !hole;
}

Colour sample(double x, double y) {
    if (!insideRoundedSquare(x, y)) return {0, 0, 0, 0};
    if (insideNib(x, y)) return {255, 255, 255, 1};
    return {200, 60, 60, 1};
}

// BGRA pixels, rows top-down, premultiplied by nothing (straight alpha).
std::vector<uint32_t> draw(int size) {
    std::vector<uint32_t> pixels(size_t(size) * size);
    const int n = kSupersample;
    for (int py = 0; py < size; ++py) {
        for (int px = 0; px < size; ++px) {
            double r = 0, g = 0, b = 0, a = 0;
            for (int sy = 0; sy < n; ++sy)
                for (int sx = 0; sx < n; ++sx) {
                    Colour c = sample((px + (sx + 0.5) / n) / size, (py + (sy + 0.5) / n) / size);
                    r += c.r * c.a;
                    g += c.g * c.a;
                    b += c.b * c.a;
                    a += c.a;
                }
            uint32_t alpha = uint32_t(std::lround(255 * a / (n * n)));
            uint32_t red = a > 0 ? uint32_t(std::lround(r / a)) : 0;
            uint32_t green = a > 0 ? uint32_t(std::lround(g / a)) : 0;
            uint32_t blue = a > 0 ? uint32_t(std::lround(b / a)) : 0;
            pixels[size_t(py) * size + px] = blue | green << 8 | red << 16 | alpha << 24;
        }
    }
    return pixels;
}

void put16(std::string& out, uint32_t v) {
    out += char(v & 0xFF);
    out += char((v >> 8) & 0xFF);
}
void put32(std::string& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// One icon image: a 32-bit DIB (height doubled for the mask), rows
// bottom-up, then the 1-bit AND mask, rows padded to 32 bits.
std::string dibImage(int size) {
    std::vector<uint32_t> pixels = draw(size);
    std::string out;
    put32(out, 40);
    put32(out, uint32_t(size));
    put32(out, uint32_t(size * 2));
    put16(out, 1);
    put16(out, 32);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    for (int y = size - 1; y >= 0; --y)
        for (int x = 0; x < size; ++x) put32(out, pixels[size_t(y) * size + x]);
    const int maskRow = ((size + 31) / 32) * 4;
    for (int y = size - 1; y >= 0; --y) {
        std::string row(size_t(maskRow), '\0');
        for (int x = 0; x < size; ++x)
            if ((pixels[size_t(y) * size + x] >> 24) == 0) row[size_t(x / 8)] |= char(0x80 >> (x % 8));
        out += row;
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_icon <output.ico>\n");
        return 2;
    }
    std::vector<std::string> images;
    for (int size : kSizes) images.push_back(dibImage(size));
    std::string file;
    put16(file, 0);
    put16(file, 1);
    put16(file, uint32_t(images.size()));
    uint32_t offset = 6 + 16 * uint32_t(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        const int size = kSizes[i];
        file += char(size >= 256 ? 0 : size);  // 0 means 256
        file += char(size >= 256 ? 0 : size);
        file += char(0);
        file += char(0);
        put16(file, 1);
        put16(file, 32);
        put32(file, uint32_t(images[i].size()));
        put32(file, offset);
        offset += uint32_t(images[i].size());
    }
    for (const std::string& image : images) file += image;
    std::FILE* out = std::fopen(argv[1], "wb");
    if (!out) return 1;
    bool ok = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    ok = std::fclose(out) == 0 && ok;
    return ok ? 0 : 1;
}
