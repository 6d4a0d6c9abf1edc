// GIF decoding against hand-made files: a one-pixel image whose palette entry is known, its transparent variant, a
// frame smaller than its screen, damaged files, interlaced rows, what follows the first frame, and screens and
// frames that claim more points than a picture may have.
#include "platform/gfx/ImageCodec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
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

// A frame in "uncompressed" LZW: with a clear code before the code table would grow, every code stays three bits
// wide (two-bit indices), so the bytes follow from the indices alone.
std::vector<std::uint8_t> frameOf(int left, int top, int width, int height, bool interlaced,
                                  const std::vector<std::uint8_t>& indices) {
    std::vector<std::uint8_t> out{0x2C,
                                  static_cast<std::uint8_t>(left), static_cast<std::uint8_t>(left >> 8),
                                  static_cast<std::uint8_t>(top), static_cast<std::uint8_t>(top >> 8),
                                  static_cast<std::uint8_t>(width), static_cast<std::uint8_t>(width >> 8),
                                  static_cast<std::uint8_t>(height), static_cast<std::uint8_t>(height >> 8),
                                  static_cast<std::uint8_t>(interlaced ? 0x40 : 0), 2};
    std::vector<int> codes;
    for (std::size_t i = 0; i < indices.size(); ++i) {
        if (i % 2 == 0) codes.push_back(4);
        codes.push_back(indices[i]);
    }
    codes.push_back(5);
    std::vector<std::uint8_t> packed;
    unsigned bits = 0, count = 0;
    for (int code : codes) {
        bits |= static_cast<unsigned>(code) << count;
        for (count += 3; count >= 8; count -= 8, bits >>= 8) packed.push_back(static_cast<std::uint8_t>(bits));
    }
    if (count) packed.push_back(static_cast<std::uint8_t>(bits));
    for (std::size_t at = 0; at < packed.size(); at += 255) {
        const std::size_t n = std::min<std::size_t>(255, packed.size() - at);
        out.push_back(static_cast<std::uint8_t>(n));
        out.insert(out.end(), packed.begin() + static_cast<long>(at), packed.begin() + static_cast<long>(at + n));
    }
    out.push_back(0);
    return out;
}

// A GIF89a screen with a four-colour palette: index 0 red, 1 green, 2 blue, 3 white.
std::vector<std::uint8_t> screenOf(int width, int height) {
    return {'G', 'I', 'F', '8', '9', 'a', static_cast<std::uint8_t>(width), static_cast<std::uint8_t>(width >> 8),
            static_cast<std::uint8_t>(height), static_cast<std::uint8_t>(height >> 8), 0x81, 0, 0,
            255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
}

std::vector<std::uint8_t> joined(std::initializer_list<std::vector<std::uint8_t>> parts) {
    std::vector<std::uint8_t> all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

TEST(GifDecode, FirstFrameRowsAndWhatFollowsIt) {
    const PixelRGBA R{255, 0, 0, 255}, G{0, 255, 0, 255}, B{0, 0, 255, 255}, W{255, 255, 255, 255};
    const std::vector<std::uint8_t> trailer{0x3B};
    // Rows 0..4 of a 1 × 5 interlaced frame are stored in the order 0, 4, 2, 1, 3.
    const auto interlaced = joined({screenOf(1, 5), frameOf(0, 0, 1, 5, true, {0, 1, 2, 3, 0}), trailer});
    const auto first = joined({screenOf(2, 1), frameOf(0, 0, 2, 1, false, {2, 3}), trailer});
    auto damagedSecond = joined({screenOf(2, 1), frameOf(0, 0, 2, 1, false, {2, 3}), frameOf(0, 0, 2, 1, false, {0, 0})});
    damagedSecond.resize(damagedSecond.size() - 3);
    const auto hugeSecond = joined({screenOf(2, 1), frameOf(0, 0, 2, 1, false, {2, 3}),
                                    frameOf(0, 0, 65535, 65535, false, {0, 0}), trailer});
    struct Case {
        const char* name;
        std::vector<std::uint8_t> data;
        std::vector<PixelRGBA> pixels;
    };
    const Case cases[] = {
        {"interlaced rows land in place", interlaced, {R, W, B, R, G}},
        {"a whole first frame", first, {B, W}},
        {"a second frame cut short", damagedSecond, {B, W}},
        {"a second frame claiming 65535 × 65535 points", hugeSecond, {B, W}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto bitmap = decodeGIF(c.data);
        ASSERT_TRUE(bitmap);
        std::vector<PixelRGBA> pixels;
        for (std::uint32_t p : bitmap->pixels) pixels.push_back(unpackPixel(p));
        EXPECT_EQ(pixels, c.pixels);
    }
}

TEST(GifDecode, ScreensAndFramesPastTheLimitsAreRefused) {
    const std::vector<std::uint8_t> trailer{0x3B};
    struct Case {
        const char* name;
        std::vector<std::uint8_t> data;
        bool decoded;
    };
    const Case cases[] = {
        {"the longest side on a narrow screen", joined({screenOf(16384, 4), frameOf(0, 0, 1, 1, false, {0}), trailer}),
         true},
        {"16384 × 16384 screen, 2^28 points",
         joined({screenOf(16384, 16384), frameOf(0, 0, 1, 1, false, {0}), trailer}), false},
        {"4097 × 4096 screen, just past 2^24 points",
         joined({screenOf(4097, 4096), frameOf(0, 0, 1, 1, false, {0}), trailer}), false},
        {"a first frame of 65535 × 32767 points without its data",
         joined({screenOf(1, 1), frameOf(0, 0, 65535, 32767, false, {0}), trailer}), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(decodeGIF(c.data).has_value(), c.decoded);
    }
}

TEST(GifDecode, SignatureDecidesTheFormat) {
    const std::vector<std::uint8_t> gif87{'G', 'I', 'F', '8', '7', 'a', 0};
    const std::vector<std::uint8_t> other{'G', 'I', 'F', '9', '0', 'a', 0};
    EXPECT_EQ(sniffImageFormat(gif87), ImageFormat::GIF);
    EXPECT_EQ(sniffImageFormat(other), ImageFormat::Unknown);
}

}  // namespace
