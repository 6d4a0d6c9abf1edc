#include "platform/gfx/BitmapAllocation.h"
#include "platform/gfx/CGBitmapContext.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <filesystem>
#include <vector>

#include <unistd.h>

namespace {

using platform::gfx::Pixel;

struct Leaks {
    std::size_t contexts = platform::gfx::liveContextCount();
    std::size_t images = platform::gfx::liveImageCount();
    std::size_t buffers = platform::liveBufferCount();
    std::size_t spaces = platform::gfx::liveColorSpaceCount();
    void expectNone() const {
        EXPECT_EQ(platform::gfx::liveContextCount(), contexts);
        EXPECT_EQ(platform::gfx::liveImageCount(), images);
        EXPECT_EQ(platform::liveBufferCount(), buffers);
        EXPECT_EQ(platform::gfx::liveColorSpaceCount(), spaces);
    }
};

CGContextRef makeContext(void* data, std::size_t w, std::size_t h, std::size_t bpr, CGBitmapInfo info) {
    CGColorSpaceRef rgb = CGColorSpaceCreateDeviceRGB();
    CGContextRef c = CGBitmapContextCreate(data, w, h, 8, bpr, rgb, info);
    CGColorSpaceRelease(rgb);
    return c;
}

TEST(CGBitmapContext, EveryLayoutPutsTheChannelsWhereCoreGraphicsDoes) {
    // Memory bytes of one pixel red 0x10, green 0x20, blue 0x30, alpha 0x40 (or skipped byte 0x99) per layout.
    struct Case {
        CGBitmapInfo info;
        std::array<std::uint8_t, 4> bytes;
        Pixel premultipliedSeen;  // channels as stored, alpha as the layout says
    };
    const std::vector<Case> cases = {
        {0x2006, {0x30, 0x20, 0x10, 0x99}, {0x10, 0x20, 0x30, 0xFF}},
        {0x2002, {0x30, 0x20, 0x10, 0x40}, {0x10, 0x20, 0x30, 0x40}},
        {0x2005, {0x99, 0x30, 0x20, 0x10}, {0x10, 0x20, 0x30, 0xFF}},
        {0x2001, {0x40, 0x30, 0x20, 0x10}, {0x10, 0x20, 0x30, 0x40}},
        {0x0006, {0x99, 0x10, 0x20, 0x30}, {0x10, 0x20, 0x30, 0xFF}},
        {0x4002, {0x40, 0x10, 0x20, 0x30}, {0x10, 0x20, 0x30, 0x40}},
        {0x0005, {0x10, 0x20, 0x30, 0x99}, {0x10, 0x20, 0x30, 0xFF}},
        {0x0001, {0x10, 0x20, 0x30, 0x40}, {0x10, 0x20, 0x30, 0x40}},
    };
    Leaks leaks;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "bitmap info 0x" << std::hex << c.info);
        std::array<std::uint8_t, 8> buffer{};
        std::memcpy(buffer.data() + 4, c.bytes.data(), 4);
        CGContextRef context = makeContext(buffer.data(), 2, 1, 8, c.info);
        ASSERT_NE(context, nullptr);
        EXPECT_EQ(CGBitmapContextGetData(context), buffer.data());
        CGImageRef image = CGBitmapContextCreateImage(context);
        const std::uint32_t word = platform::gfx::imageARGB32Data(image)[1];
        EXPECT_EQ(word >> 24, c.premultipliedSeen.alpha);
        EXPECT_EQ((word >> 16) & 0xFF, c.premultipliedSeen.red);
        EXPECT_EQ((word >> 8) & 0xFF, c.premultipliedSeen.green);
        EXPECT_EQ(word & 0xFF, c.premultipliedSeen.blue);
        EXPECT_EQ(platform::gfx::imageIsOpaque(image), c.premultipliedSeen.alpha == 0xFF);
        CGImageRelease(image);
        CGContextRelease(context);
    }
    leaks.expectNone();
}

TEST(CGBitmapContext, ImageCopiesThePixelsAndHonoursRowPadding) {
    Leaks leaks;
    // 3 × 2 pixels with 16 bytes per row: the last 4 bytes of each row are padding and must not leak into the image.
    std::vector<std::uint8_t> buffer(32, 0xEE);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            std::uint8_t* p = &buffer[y * 16 + x * 4];
            p[0] = static_cast<std::uint8_t>(10 * x);      // blue
            p[1] = static_cast<std::uint8_t>(100 + y);     // green
            p[2] = static_cast<std::uint8_t>(200 + x + y); // red
        }
    CGContextRef context = makeContext(buffer.data(), 3, 2, 16, 0x2006);
    ASSERT_NE(context, nullptr);
    EXPECT_EQ(CGBitmapContextGetBytesPerRow(context), 16u);
    CGImageRef image = CGBitmapContextCreateImage(context);
    std::fill(buffer.begin(), buffer.end(), 0);  // the image must not see this
    CGContextRelease(context);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(CGImageGetWidth(image), 3u);
    EXPECT_EQ(CGImageGetHeight(image), 2u);
    EXPECT_EQ(CGImageGetBytesPerRow(image), 12u);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(platform::gfx::imagePixel(image, x, y),
                      (Pixel{static_cast<std::uint8_t>(200 + x + y), static_cast<std::uint8_t>(100 + y),
                             static_cast<std::uint8_t>(10 * x), 255}));
    EXPECT_FALSE(platform::gfx::imagePixel(image, 3, 0).has_value());
    EXPECT_FALSE(platform::gfx::imagePixel(nullptr, 0, 0).has_value());
    CGImageRetain(image);
    CGImageRelease(image);
    EXPECT_EQ(CGImageGetWidth(image), 3u);  // still held once
    CGImageRelease(image);
    leaks.expectNone();
}

TEST(CGBitmapContext, RefusesWhatItCannotDrawAndLeaksNothing) {
    Leaks leaks;
    std::vector<std::uint8_t> buffer(64);
    CGColorSpaceRef rgb = CGColorSpaceCreateDeviceRGB();
    CGColorSpaceRef gray = CGColorSpaceCreateDeviceGray();
    struct Case {
        const char* what;
        std::size_t w, h, bits, bpr;
        CGColorSpaceRef space;
        CGBitmapInfo info;
    };
    const std::vector<Case> cases = {
        {"zero width", 0, 1, 8, 0, rgb, 0x2006},        {"zero height", 1, 0, 8, 0, rgb, 0x2006},
        {"16 bits", 2, 2, 16, 8, rgb, 0x2006},          {"row too short", 4, 1, 8, 12, rgb, 0x2006},
        {"grey space", 2, 2, 8, 8, gray, 0x2006},       {"no space", 2, 2, 8, 8, nullptr, 0x2006},
        {"no alpha info", 2, 2, 8, 8, rgb, 0x2000},     {"straight alpha", 2, 2, 8, 8, rgb, 0x2004},
        {"16-bit order", 2, 2, 8, 8, rgb, 0x1006},      {"float flag", 2, 2, 8, 8, rgb, 0x0106},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(CGBitmapContextCreate(buffer.data(), c.w, c.h, c.bits, c.bpr, c.space, c.info), nullptr);
    }
    platform::testing::failNextContextCreation();
    EXPECT_EQ(CGBitmapContextCreate(buffer.data(), 2, 2, 8, 8, rgb, 0x2006), nullptr);
    CGContextRef after = CGBitmapContextCreate(buffer.data(), 2, 2, 8, 8, rgb, 0x2006);
    EXPECT_NE(after, nullptr) << "an injected failure is used up by one call";
    CGContextRelease(after);

    // Without a buffer the context takes its own, zeroed, and gives it back on release; a failed allocation fails.
    CGContextRef own = CGBitmapContextCreate(nullptr, 4, 4, 8, 0, rgb, 0x2002);
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(CGBitmapContextGetBytesPerRow(own), 16u);
    EXPECT_EQ(platform::liveBufferCount(), leaks.buffers + 1);
    CGImageRef blank = CGBitmapContextCreateImage(own);
    EXPECT_EQ(platform::gfx::imagePixel(blank, 3, 3), (Pixel{0, 0, 0, 0}));
    CGImageRelease(blank);
    CGContextRelease(own);
    platform::testing::failNextAllocation();
    EXPECT_EQ(CGBitmapContextCreate(nullptr, 4, 4, 8, 0, rgb, 0x2002), nullptr);
    EXPECT_EQ(CGBitmapContextCreateImage(nullptr), nullptr);
    CGContextRelease(nullptr);
    CGImageRelease(nullptr);
    CGColorSpaceRelease(rgb);
    CGColorSpaceRelease(gray);
    leaks.expectNone();
}

struct PngReader {
    const std::vector<std::uint8_t>* data;
    std::size_t offset = 0;
    static cairo_status_t read(void* closure, unsigned char* out, unsigned int length) {
        auto* self = static_cast<PngReader*>(closure);
        if (self->offset + length > self->data->size()) return CAIRO_STATUS_READ_ERROR;
        std::memcpy(out, self->data->data() + self->offset, length);
        self->offset += length;
        return CAIRO_STATUS_SUCCESS;
    }
};

TEST(CGImage, PNGDecodesBackToTheSamePixels) {
    Leaks leaks;
    // A translucent pixel makes the encoder write RGBA; straight values must survive premultiplication round trips.
    const std::uint32_t pixels[4] = {0xFF102030u, 0x80404040u, 0x00000000u, 0xFFFFFFFFu};
    CGImageRef image = platform::gfx::createImageFromARGB32(2, 2, pixels, 8);
    ASSERT_NE(image, nullptr);
    EXPECT_FALSE(platform::gfx::imageIsOpaque(image));
    auto png = platform::gfx::encodePNG(image);
    ASSERT_TRUE(png.has_value());
    PngReader reader{&*png};
    cairo_surface_t* decoded = cairo_image_surface_create_from_png_stream(&PngReader::read, &reader);
    ASSERT_EQ(cairo_surface_status(decoded), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(decoded), 2);
    EXPECT_EQ(cairo_image_surface_get_height(decoded), 2);
    const int stride = cairo_image_surface_get_stride(decoded);
    const unsigned char* data = cairo_image_surface_get_data(decoded);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x) {
            std::uint32_t word;
            std::memcpy(&word, data + y * stride + 4 * x, 4);
            EXPECT_EQ(word, pixels[y * 2 + x]) << "pixel " << x << "," << y;
        }
    cairo_surface_destroy(decoded);

    auto file = std::filesystem::temp_directory_path() / ("cgimage-test-" + std::to_string(::getpid()) + ".png");
    EXPECT_TRUE(platform::gfx::writePNG(image, file));
    EXPECT_EQ(std::filesystem::file_size(file), png->size());
    std::filesystem::remove(file);
    EXPECT_FALSE(platform::gfx::writePNG(nullptr, file));
    EXPECT_FALSE(platform::gfx::encodePNG(nullptr).has_value());
    EXPECT_EQ(platform::gfx::createImageFromARGB32(2, 2, pixels, 4), nullptr);
    CGImageRelease(image);
    leaks.expectNone();
}

}  // namespace
