// GIF decoding against hand-made files: a one-pixel image whose palette entry is known, its transparent variant, a
// frame smaller than its screen, and damaged files.
#include "platform/gfx/ImageCodec.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

using namespace platform::gfx;

// GIF89a, 1 × 1, a two-entry global palette (entry 0 given, entry 1 black), the image's one pixel index 0, with an
// optional graphic-control extension that makes index 0 transparent.
std::vector<std::uint8_t> onePixelGif(std::uint8_t r, std::uint8_t g, std::uint8_t b, bool transparent) {
    std::vector<std::uint8_t> gif{'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, r, g, b, 0, 0, 0};
    if (transparent) gif.insert(gif.end(), {0x21, 0xF9, 4, 1, 0, 0, 0, 0});
    gif.insert(gif.end(), {0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 0x01, 0, 0x3B});
    return gif;
}

TEST(GifDecode, OnePixelFilesAgainstTheirPalette) {
    struct Case {
        const char* name;
        std::vector<std::uint8_t> data;
        std::optional<PixelRGBA> pixel;  // nothing: no image
    };
    auto truncated = onePixelGif(255, 0, 0, false);
    truncated.resize(truncated.size() - 6);
    auto huge = onePixelGif(255, 0, 0, false);
    huge[6] = 0xFF;
    huge[7] = 0x7F;  // a 32767-pixel-wide screen
    const std::vector<Case> cases{
        {"red", onePixelGif(255, 0, 0, false), PixelRGBA{255, 0, 0, 255}},
        {"teal", onePixelGif(0, 128, 128, false), PixelRGBA{0, 128, 128, 255}},
        {"transparent index", onePixelGif(255, 255, 255, true), PixelRGBA{0, 0, 0, 0}},
        {"cut before the image data ends", truncated, std::nullopt},
        {"screen past the largest side", huge, std::nullopt},
        {"signature only", {'G', 'I', 'F', '8', '9', 'a'}, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(sniffImageFormat(c.data), ImageFormat::GIF);
        const auto bitmap = decodeImage(c.data);
        ASSERT_EQ(bitmap.has_value(), c.pixel.has_value());
        if (!bitmap) continue;
        ASSERT_EQ(bitmap->width, 1);
        ASSERT_EQ(bitmap->height, 1);
        EXPECT_EQ(unpackPixel(bitmap->at(0, 0)), *c.pixel);
    }
}

TEST(GifDecode, SignatureDecidesTheFormat) {
    const std::vector<std::uint8_t> gif87{'G', 'I', 'F', '8', '7', 'a', 0};
    const std::vector<std::uint8_t> other{'G', 'I', 'F', '9', '0', 'a', 0};
    EXPECT_EQ(sniffImageFormat(gif87), ImageFormat::GIF);
    EXPECT_EQ(sniffImageFormat(other), ImageFormat::Unknown);
}

}  // namespace
