#include "platform/gfx/ImageCodec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

using namespace platform::gfx;

namespace {

Bitmap gradientBitmap(int w, int h) {
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.at(x, y) = packPixel({x * 255 / (w - 1), y * 255 / (h - 1), 128, 255});
    return b;
}

double meanAbsoluteError(const Bitmap& a, const Bitmap& b) {
    double sum = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i) {
        PixelRGBA p = unpackPixel(a.pixels[i]), q = unpackPixel(b.pixels[i]);
        sum += std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b);
    }
    return sum / (3.0 * a.pixels.size());
}

TEST(ImageCodec, PngRoundTripIsExactForEveryPremultipliedValue) {
    // Every (alpha, premultiplied channel) pair that can occur, once each.
    Bitmap b(256, 256);
    for (int a = 0; a < 256; ++a)
        for (int c = 0; c < 256; ++c) {
            const int v = std::min(c, a);
            b.at(c, a) = packPixel({v, v / 2, std::max(0, v - 1), a});
        }
    auto png = encodePNG(b);
    ASSERT_TRUE(png);
    EXPECT_EQ(sniffImageFormat(*png), ImageFormat::PNG);
    auto back = decodePNG(*png);
    ASSERT_TRUE(back);
    ASSERT_EQ(back->width, 256);
    ASSERT_EQ(back->height, 256);
    int mismatches = 0;
    for (std::size_t i = 0; i < b.pixels.size(); ++i) mismatches += b.pixels[i] != back->pixels[i];
    EXPECT_EQ(mismatches, 0);
}

TEST(ImageCodec, JpegLosesLessAtHigherQuality) {
    Bitmap b = gradientBitmap(64, 48);
    auto low = encodeJPEG(b, 0.1), mid = encodeJPEG(b, 0.5), high = encodeJPEG(b, 1.0);
    ASSERT_TRUE(low && mid && high);
    EXPECT_EQ(sniffImageFormat(*mid), ImageFormat::JPEG);
    EXPECT_LT(low->size(), mid->size());
    EXPECT_LT(mid->size(), high->size());
    auto dl = decodeJPEG(*low), dm = decodeJPEG(*mid), dh = decodeJPEG(*high);
    ASSERT_TRUE(dl && dm && dh);
    EXPECT_EQ(dm->width, 64);
    EXPECT_EQ(dm->height, 48);
    EXPECT_GT(meanAbsoluteError(b, *dl), meanAbsoluteError(b, *dm));
    EXPECT_GT(meanAbsoluteError(b, *dm), meanAbsoluteError(b, *dh));
    EXPECT_LT(meanAbsoluteError(b, *dh), 2.0);
    for (auto p : dh->pixels) EXPECT_EQ(p >> 24, 255u) << "decoded JPEG pixels are opaque";
    // Same input, same quality, same bytes: stored pictures are reproducible.
    EXPECT_EQ(*encodeJPEG(b, 0.5), *mid);
}

TEST(ImageCodec, DamagedOrForeignDataDecodesToNothing) {
    Bitmap b = gradientBitmap(16, 16);
    auto png = *encodePNG(b);
    auto jpeg = *encodeJPEG(b, 0.8);
    const std::vector<std::vector<std::uint8_t>> bad = {
        {},
        {'h', 'e', 'l', 'l', 'o'},
        std::vector<std::uint8_t>(png.begin(), png.begin() + 8),
        std::vector<std::uint8_t>(png.begin(), png.begin() + png.size() / 2),
        std::vector<std::uint8_t>(jpeg.begin(), jpeg.begin() + 3),
        std::vector<std::uint8_t>(jpeg.begin(), jpeg.begin() + 20),
    };
    for (std::size_t i = 0; i < bad.size(); ++i) EXPECT_FALSE(decodeImage(bad[i])) << "case " << i;
    EXPECT_FALSE(encodePNG(Bitmap()));
    EXPECT_FALSE(encodeJPEG(Bitmap(), 0.5));
}

TEST(ImageCodec, JpegFailingInsideTheImageDataDecodesToNothing) {
    // The header is sound, so the decoder has made its image when the data fails; the failure must still give it
    // back (the sanitizer build reports it otherwise).
    auto jpeg = *encodeJPEG(gradientBitmap(9, 3), 0.8);
    const std::vector<std::uint8_t> scan = {0xFF, 0xDA};
    auto sos = std::search(jpeg.begin(), jpeg.end(), scan.begin(), scan.end());
    ASSERT_NE(sos, jpeg.end());
    const std::size_t dataStart = static_cast<std::size_t>(sos - jpeg.begin()) + 2 + (sos[2] << 8 | sos[3]);
    const std::vector<std::vector<std::uint8_t>> tails = {{0xFF, 0xDA, 0xD9}, {0xFF, 0xC0}, {0x00, 0xFF, 0xDA}};
    for (std::size_t i = 0; i < tails.size(); ++i) {
        std::vector<std::uint8_t> broken(jpeg.begin(), jpeg.begin() + static_cast<std::ptrdiff_t>(dataStart));
        broken.insert(broken.end(), tails[i].begin(), tails[i].end());
        EXPECT_FALSE(decodeJPEG(broken)) << "tail " << i;
    }
}

TEST(ImageCodec, BothDecodersRefuseASidePastTheLimit) {
    // A few header bytes can claim a picture of gigabytes; both formats stop at the same side length.
    struct Case {
        int width, height;
        bool decodes;
    };
    const Case cases[] = {{16384, 1, true}, {16385, 1, false}, {1, 16384, true}, {1, 16385, false}};
    for (const Case& c : cases) {
        Bitmap b(c.width, c.height);
        for (auto& p : b.pixels) p = packPixel({10, 20, 30, 255});
        auto png = encodePNG(b);
        auto jpeg = encodeJPEG(b, 0.5);
        ASSERT_TRUE(png && jpeg);
        EXPECT_EQ(decodePNG(*png).has_value(), c.decodes) << c.width << "x" << c.height << " PNG";
        auto decoded = decodeJPEG(*jpeg);
        EXPECT_EQ(decoded.has_value(), c.decodes) << c.width << "x" << c.height << " JPEG";
        if (decoded) {
            EXPECT_EQ(decoded->pixels.size(), static_cast<std::size_t>(c.width) * c.height);
        }
    }
}

}  // namespace
