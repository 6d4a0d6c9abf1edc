#include "sim/serve/ScreenFrames.h"

#include "tests/sim/serve/PhoneUnderTest.h"

#include <gtest/gtest.h>

namespace sim::serve {
namespace {

constexpr std::uint32_t kWhite = 0xFFFFFFFF;
constexpr std::uint32_t kRed = 0xFFFF0000;

Bitmap filled(int w, int h, std::uint32_t pixel) {
    Bitmap b(w, h);
    std::fill(b.pixels.begin(), b.pixels.end(), pixel);
    return b;
}

TEST(ScreenFramesTest, TheChangedRegionHoldsEveryChangedPixelAndNoMore) {
    struct Change {
        int x, y;
    };
    struct Case {
        const char* what;
        std::vector<Change> changes;
        std::optional<FrameRegion> region;
    };
    const Case cases[] = {
        {"nothing changed", {}, std::nullopt},
        {"one pixel", {{3, 4}}, FrameRegion{3, 4, 1, 1}},
        {"the corners", {{0, 0}, {9, 7}}, FrameRegion{0, 0, 10, 8}},
        {"two apart", {{2, 6}, {7, 1}}, FrameRegion{2, 1, 6, 6}},
        {"a row's last pixel", {{9, 3}}, FrameRegion{9, 3, 1, 1}},
    };
    for (const auto& c : cases) {
        Bitmap before = filled(10, 8, kWhite), after = before;
        for (const auto& ch : c.changes) after.at(ch.x, ch.y) = kRed;
        auto region = changedRegion(before, after);
        ASSERT_EQ(region.has_value(), c.region.has_value()) << c.what;
        if (!region) continue;
        EXPECT_EQ(region->x, c.region->x) << c.what;
        EXPECT_EQ(region->y, c.region->y) << c.what;
        EXPECT_EQ(region->width, c.region->width) << c.what;
        EXPECT_EQ(region->height, c.region->height) << c.what;
    }
    auto resized = changedRegion(filled(4, 4, kWhite), filled(6, 5, kWhite));
    ASSERT_TRUE(resized) << "a new size is a whole new screen";
    EXPECT_EQ(resized->width, 6u);
    EXPECT_EQ(resized->height, 5u);
    EXPECT_FALSE(changedRegion(Bitmap(), Bitmap()));
}

// libpng's own reader is the oracle: the region's pixels come back, with premultiplied alpha undone.
TEST(ScreenFramesTest, ARegionsPNGHoldsItsPixelsWithStraightAlpha) {
    Bitmap b = filled(8, 6, kWhite);
    b.at(5, 3) = kRed;
    b.at(6, 4) = 0x80800000;  // red at half alpha, premultiplied
    b.at(4, 2) = 0x00000000;
    auto decoded = simtest::decodePNG(encodeRegionPNG(b, {4, 2, 3, 3}));
    ASSERT_TRUE(decoded);
    ASSERT_EQ(decoded->width, 3);
    ASSERT_EQ(decoded->height, 3);
    auto pixel = [&](int x, int y) {
        const auto* p = &decoded->rgba[static_cast<std::size_t>(y * 3 + x) * 4];
        return std::vector<int>{p[0], p[1], p[2], p[3]};
    };
    EXPECT_EQ(pixel(0, 0), (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(pixel(1, 1), (std::vector<int>{255, 0, 0, 255}));
    EXPECT_EQ(pixel(2, 2), (std::vector<int>{255, 0, 0, 128}));
    EXPECT_EQ(pixel(1, 0), (std::vector<int>{255, 255, 255, 255}));
    EXPECT_THROW(encodeRegionPNG(b, {6, 0, 3, 1}), std::invalid_argument) << "past the right edge";
    EXPECT_THROW(encodeRegionPNG(b, {0, 0, 0, 1}), std::invalid_argument) << "empty";
}

}  // namespace
}  // namespace sim::serve
