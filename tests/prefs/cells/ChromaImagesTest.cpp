#include "prefs/cells/ChromaCodec.h"

#include "platform/gfx/BitmapAllocation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <vector>

namespace {

using platform::gfx::Pixel;

struct LeakCounts {
    std::size_t contexts = platform::gfx::liveContextCount();
    std::size_t images = platform::gfx::liveImageCount();
    std::size_t buffers = platform::liveBufferCount();
    std::size_t spaces = platform::gfx::liveColorSpaceCount();
    bool unchanged() const {
        return contexts == platform::gfx::liveContextCount() && images == platform::gfx::liveImageCount() &&
               buffers == platform::liveBufferCount() && spaces == platform::gfx::liveColorSpaceCount();
    }
};

// The square worked out pixel by pixel from its definition, column by column, with no running sums: the factors of
// hues whose factors are exact binary fractions come from the textbook piecewise-linear hue ramps.
Pixel expectedSquarePixel(float hue, int x, int y) {
    const float h6 = std::fmod(hue / 60.0f, 6.0f);
    auto clamp01 = [](float t) { return t < 0 ? 0.0f : (t > 1 ? 1.0f : t); };
    const float factor[3] = {clamp01(std::fabs(h6 - 3) - 1), clamp01(2 - std::fabs(h6 - 2)),
                             clamp01(2 - std::fabs(h6 - 4))};  // red, green, blue
    std::uint8_t out[3];
    for (int c = 0; c < 3; ++c) {
        int distance = static_cast<int>((1.0f - factor[c]) * 255.0f);
        int column = 255 - (x * distance) / 255;
        out[c] = static_cast<std::uint8_t>(((255 - y) * column) / 256);
    }
    return {out[0], out[1], out[2], 255};
}

TEST(ChromaImages, SquareCornersMatchTheDevice) {
    LeakCounts leaks;
    CGImageRef square = chroma::createSaturationBrightnessSquareContentImageWithHue(0);
    ASSERT_NE(square, nullptr);
    EXPECT_EQ(CGImageGetWidth(square), 256u);
    EXPECT_EQ(CGImageGetHeight(square), 256u);
    EXPECT_EQ(platform::gfx::imagePixel(square, 0, 0), (Pixel{254, 254, 254, 255}));
    EXPECT_EQ(platform::gfx::imagePixel(square, 255, 0), (Pixel{254, 0, 0, 255}));
    for (std::size_t x = 0; x < 256; ++x) ASSERT_EQ(platform::gfx::imagePixel(square, x, 255), (Pixel{0, 0, 0, 255}));
    // The left column is grey from 254 down to 0.
    for (std::size_t y = 0; y < 256; ++y) {
        auto p = *platform::gfx::imagePixel(square, 0, y);
        ASSERT_EQ(p.red, p.green);
        ASSERT_EQ(p.green, p.blue);
        ASSERT_EQ(p.red, (255 - y) * 255 / 256);
    }
    CGImageRelease(square);
    EXPECT_TRUE(leaks.unchanged());
}

TEST(ChromaImages, WholeSquareMatchesItsDefinitionForSeveralHues) {
    LeakCounts leaks;
    for (float hue : {0.0f, 30.0f, 45.0f, 90.0f, 120.0f, 210.0f, 240.0f, 300.0f, 345.0f, 360.0f}) {
        SCOPED_TRACE(testing::Message() << "hue " << hue);
        CGImageRef square = chroma::createSaturationBrightnessSquareContentImageWithHue(hue);
        ASSERT_NE(square, nullptr);
        int mismatches = 0;
        for (int x = 0; x < 256; ++x)
            for (int y = 0; y < 256; ++y) {
                Pixel want = expectedSquarePixel(hue, x, y);
                Pixel got = *platform::gfx::imagePixel(square, x, y);
                if (got != want && mismatches++ < 3)
                    ADD_FAILURE() << "(" << x << ", " << y << ") got " << int(got.red) << "," << int(got.green) << ","
                                  << int(got.blue) << " want " << int(want.red) << "," << int(want.green) << ","
                                  << int(want.blue);
            }
        EXPECT_EQ(mismatches, 0);
        CGImageRelease(square);
    }
    EXPECT_TRUE(leaks.unchanged());
}

TEST(ChromaImages, BarsSweepTheirChannel) {
    LeakCounts leaks;
    CGImageRef hue = chroma::createContentImage();
    ASSERT_NE(hue, nullptr);
    EXPECT_EQ(CGImageGetWidth(hue), 256u);
    EXPECT_EQ(CGImageGetHeight(hue), 1u);
    EXPECT_EQ(platform::gfx::imagePixel(hue, 0, 0), (Pixel{255, 0, 0, 255}));
    EXPECT_EQ(platform::gfx::imagePixel(hue, 255, 0), (Pixel{255, 0, 0, 255}));
    // Every pixel within one step of the hue circle worked out in double precision (the bar truncates in single).
    for (int i = 0; i < 256; ++i) {
        double h6 = i / 255.0 * 6.0, f = h6 - std::floor(h6);
        double want[6][3] = {{1, f, 0}, {1 - f, 1, 0}, {0, 1, f}, {0, 1 - f, 1}, {f, 0, 1}, {1, 0, 1 - f}};
        const double* w = want[static_cast<int>(std::floor(h6)) % 6];
        auto p = *platform::gfx::imagePixel(hue, i, 0);
        EXPECT_NEAR(p.red, w[0] * 255, 1.0 + 1e-6) << i;
        EXPECT_NEAR(p.green, w[1] * 255, 1.0 + 1e-6) << i;
        EXPECT_NEAR(p.blue, w[2] * 255, 1.0 + 1e-6) << i;
    }
    CGImageRelease(hue);

    // Sweeping value at hue 120 and saturation 1: black to green; the triple keeps the last value.
    float triple[3] = {1.0f / 3.0f, 1.0f, 0.25f};
    CGImageRef value = chroma::createHSVBarContentImage(2, triple);
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(triple[2], 1.0f);
    EXPECT_EQ(triple[0], 1.0f / 3.0f);
    for (int i = 0; i < 256; ++i) {
        auto p = *platform::gfx::imagePixel(value, i, 0);
        EXPECT_EQ(p.green, static_cast<std::uint8_t>(static_cast<int>(static_cast<float>(i) / 255.0f * 255.0f))) << i;
        EXPECT_LE(p.red, 1);
        EXPECT_EQ(p.blue, 0);
    }
    CGImageRelease(value);

    // Sweeping saturation at red: white to red.
    float red[3] = {0.0f, 0.0f, 1.0f};
    CGImageRef saturation = chroma::createHSVBarContentImage(1, red);
    EXPECT_EQ(platform::gfx::imagePixel(saturation, 0, 0), (Pixel{255, 255, 255, 255}));
    EXPECT_EQ(platform::gfx::imagePixel(saturation, 255, 0), (Pixel{255, 0, 0, 255}));
    CGImageRelease(saturation);

    EXPECT_THROW(chroma::createHSVBarContentImage(3, red), std::out_of_range);
    EXPECT_TRUE(leaks.unchanged());
}

TEST(ChromaImages, FailuresGiveNoImageAndFreeEverything) {
    LeakCounts leaks;
    platform::testing::failNextAllocation();
    EXPECT_EQ(chroma::createSaturationBrightnessSquareContentImageWithHue(0), nullptr);
    EXPECT_TRUE(leaks.unchanged());

    platform::testing::failNextContextCreation();
    EXPECT_EQ(chroma::createSaturationBrightnessSquareContentImageWithHue(0), nullptr);
    EXPECT_TRUE(leaks.unchanged()) << "the square's buffer must be freed when its context fails";

    platform::testing::failNextContextCreation();
    EXPECT_EQ(chroma::createContentImage(), nullptr);
    EXPECT_TRUE(leaks.unchanged());

    // The context over a caller's buffer: BGRx, 4 × width per row, its colour space already released.
    std::vector<std::uint8_t> buffer(8 * 3 * 4);
    CGContextRef context = chroma::createBGRxImageContext(8, 3, buffer.data());
    ASSERT_NE(context, nullptr);
    EXPECT_EQ(CGBitmapContextGetBitmapInfo(context), 0x2006u);
    EXPECT_EQ(CGBitmapContextGetBytesPerRow(context), 32u);
    EXPECT_EQ(CGBitmapContextGetData(context), buffer.data());
    EXPECT_EQ(platform::gfx::liveColorSpaceCount(), leaks.spaces);
    CGContextRelease(context);
    EXPECT_EQ(chroma::createBGRxImageContext(0, 3, buffer.data()), nullptr);
    EXPECT_TRUE(leaks.unchanged());
    platform::testing::resetInjectedFailures();
}

}  // namespace
