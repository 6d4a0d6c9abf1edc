#pragma once

// A picture in memory: what images, renderings and bitmap contexts hold. Pixels are 32-bit premultiplied ARGB in
// the machine's byte order (Cairo's ARGB32: bytes B, G, R, A on little-endian machines), rows packed without
// padding, top row first.

#include <cstddef>
#include <cstdint>
#include <vector>

struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    Bitmap() = default;
    // A bitmap of that size, fully transparent. Negative sizes count as 0.
    Bitmap(int w, int h)
        : width(w > 0 ? w : 0), height(h > 0 ? h : 0), pixels(static_cast<std::size_t>(width) * height, 0u) {}

    bool isEmpty() const { return width == 0 || height == 0; }
    int bytesPerRow() const { return width * 4; }
    // The pixel at (x, y); the caller keeps inside the bitmap.
    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    std::uint32_t& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }

    friend bool operator==(const Bitmap&, const Bitmap&) = default;
};

// The four channels of a premultiplied pixel, 0..255 each.
struct PixelRGBA {
    int r = 0, g = 0, b = 0, a = 0;
    friend bool operator==(const PixelRGBA&, const PixelRGBA&) = default;
};

inline PixelRGBA unpackPixel(std::uint32_t p) {
    return {static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF), static_cast<int>(p & 0xFF),
            static_cast<int>(p >> 24)};
}
inline std::uint32_t packPixel(PixelRGBA c) {
    return (static_cast<std::uint32_t>(c.a) << 24) | (static_cast<std::uint32_t>(c.r) << 16) |
           (static_cast<std::uint32_t>(c.g) << 8) | static_cast<std::uint32_t>(c.b);
}
