#include "sim/serve/ScreenFrames.h"

#include "platform/harness/Renderer.h"
#include "platform/ui/UIView.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace sim::serve {

namespace {

void appendToString(png_structp png, png_bytep data, png_size_t length) {
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}

void flushNothing(png_structp) {}

std::uint8_t unpremultiplied(std::uint32_t channel, std::uint32_t alpha) {
    if (alpha == 255) return static_cast<std::uint8_t>(channel);
    if (alpha == 0) return 0;
    return static_cast<std::uint8_t>(std::min<std::uint32_t>(255, (channel * 255 + alpha / 2) / alpha));
}

}  // namespace

std::optional<FrameRegion> changedRegion(const Bitmap& before, const Bitmap& after) {
    if (after.isEmpty()) return std::nullopt;
    if (before.width != after.width || before.height != after.height)
        return FrameRegion{0, 0, static_cast<std::uint32_t>(after.width), static_cast<std::uint32_t>(after.height)};
    const std::size_t rowBytes = static_cast<std::size_t>(after.width) * sizeof(std::uint32_t);
    auto row = [](const Bitmap& b, int y) { return b.pixels.data() + static_cast<std::size_t>(y) * b.width; };
    int top = 0;
    while (top < after.height && std::memcmp(row(before, top), row(after, top), rowBytes) == 0) ++top;
    if (top == after.height) return std::nullopt;
    int bottom = after.height - 1;
    while (bottom > top && std::memcmp(row(before, bottom), row(after, bottom), rowBytes) == 0) --bottom;
    int left = after.width, right = -1;
    for (int y = top; y <= bottom; ++y) {
        const std::uint32_t* a = row(before, y);
        const std::uint32_t* b = row(after, y);
        int x = 0;
        while (x < left && a[x] == b[x]) ++x;
        left = std::min(left, x);
        int r = after.width - 1;
        while (r > right && a[r] == b[r]) --r;
        right = std::max(right, r);
    }
    return FrameRegion{static_cast<std::uint32_t>(left), static_cast<std::uint32_t>(top),
                       static_cast<std::uint32_t>(right - left + 1), static_cast<std::uint32_t>(bottom - top + 1)};
}

std::string encodeRegionPNG(const Bitmap& bitmap, const FrameRegion& region) {
    if (region.width == 0 || region.height == 0 || region.x + region.width > static_cast<std::uint32_t>(bitmap.width) ||
        region.y + region.height > static_cast<std::uint32_t>(bitmap.height))
        throw std::invalid_argument("the region lies outside the bitmap");
    // Everything that owns memory exists before the jump point, so a jump back from libpng skips no destructor.
    std::string out;
    std::vector<std::uint8_t> line(static_cast<std::size_t>(region.width) * 4);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("PNG encoding failed");
    }
    png_set_write_fn(png, &out, appendToString, flushNothing);
    png_set_IHDR(png, info, region.width, region.height, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // The frame crosses a local pipe and is decoded at once: the fastest deflate and the cheapest filter that
    // still helps on flat interface colours keep the encoding a small part of a frame's time.
    png_set_compression_level(png, 1);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_write_info(png, info);
    for (std::uint32_t y = 0; y < region.height; ++y) {
        for (std::uint32_t x = 0; x < region.width; ++x) {
            const std::uint32_t p = bitmap.at(static_cast<int>(region.x + x), static_cast<int>(region.y + y));
            const std::uint32_t a = p >> 24;
            line[4 * x + 0] = unpremultiplied((p >> 16) & 0xFF, a);
            line[4 * x + 1] = unpremultiplied((p >> 8) & 0xFF, a);
            line[4 * x + 2] = unpremultiplied(p & 0xFF, a);
            line[4 * x + 3] = static_cast<std::uint8_t>(a);
        }
        png_write_row(png, line.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

std::optional<std::string> ScreenFrames::nextFrame(const Ref<UIView>& window) {
    if (!window) return std::nullopt;
    platform::harness::renderViewInto(window, m_drawing);
    auto region = changedRegion(m_shown, m_drawing);
    if (!region) return std::nullopt;
    std::swap(m_shown, m_drawing);
    return encodeFrame(*region, encodeRegionPNG(m_shown, *region));
}

std::optional<std::string> ScreenFrames::wholeFrame() const {
    if (m_shown.isEmpty()) return std::nullopt;
    FrameRegion all{0, 0, static_cast<std::uint32_t>(m_shown.width), static_cast<std::uint32_t>(m_shown.height)};
    return encodeFrame(all, encodeRegionPNG(m_shown, all));
}

std::optional<std::string> ScreenFrames::screenshot(const Ref<UIView>& window) {
    if (!window) return std::nullopt;
    Bitmap picture = platform::harness::renderView(window);
    if (picture.isEmpty()) return std::nullopt;
    return encodeRegionPNG(picture, {0, 0, static_cast<std::uint32_t>(picture.width), static_cast<std::uint32_t>(picture.height)});
}

}  // namespace sim::serve
