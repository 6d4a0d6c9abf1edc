#include "platform/gfx/CGBitmapContext.h"

#include "platform/gfx/BitmapAllocation.h"

#include <atomic>
#include <bit>
#include <cstring>

struct CGContext {
    std::uint8_t* data = nullptr;
    bool ownsData = false;
    std::size_t width = 0;
    std::size_t height = 0;
    std::size_t bytesPerRow = 0;
    CGBitmapInfo info = 0;
    // Byte offsets of the channels inside one 4-byte pixel in memory; alpha < 0 when the layout has none.
    int red = 0, green = 0, blue = 0, alpha = -1;
    std::atomic<int> references{1};
};

namespace {
std::atomic<std::size_t> g_liveContexts{0};

// Lays the channels out for a supported bitmap information; false when it is not one we support.
bool layoutFor(CGBitmapInfo info, CGContext& c) {
    CGBitmapInfo alphaInfo = info & kCGBitmapAlphaInfoMask;
    CGBitmapInfo order = info & kCGBitmapByteOrderMask;
    if ((info & ~(kCGBitmapAlphaInfoMask | kCGBitmapByteOrderMask)) != 0) return false;
    if (order != kCGBitmapByteOrderDefault && order != kCGBitmapByteOrder32Big && order != kCGBitmapByteOrder32Little)
        return false;
    bool first;
    bool hasAlpha;
    switch (alphaInfo) {
        case kCGImageAlphaPremultipliedLast: first = false; hasAlpha = true; break;
        case kCGImageAlphaPremultipliedFirst: first = true; hasAlpha = true; break;
        case kCGImageAlphaNoneSkipLast: first = false; hasAlpha = false; break;
        case kCGImageAlphaNoneSkipFirst: first = true; hasAlpha = false; break;
        default: return false;
    }
    // Offsets in big-endian order (the word read from its most significant byte); little-endian mirrors them.
    int a = first ? 0 : 3;
    int r = first ? 1 : 0;
    int g = r + 1, b = r + 2;
    if (order == kCGBitmapByteOrder32Little) {
        a = 3 - a;
        r = 3 - r;
        g = 3 - g;
        b = 3 - b;
    }
    c.red = r;
    c.green = g;
    c.blue = b;
    c.alpha = hasAlpha ? a : -1;
    return true;
}
}  // namespace

CGContextRef CGBitmapContextCreate(void* data, std::size_t width, std::size_t height, std::size_t bitsPerComponent,
                                   std::size_t bytesPerRow, CGColorSpaceRef space, CGBitmapInfo bitmapInfo) {
    if (platform::testing::takeContextCreationFailure()) return nullptr;
    if (width == 0 || height == 0 || bitsPerComponent != 8) return nullptr;
    if (CGColorSpaceGetModel(space) != kCGColorSpaceModelRGB) return nullptr;
    if (bytesPerRow == 0) bytesPerRow = width * 4;
    if (bytesPerRow < width * 4) return nullptr;
    auto* context = new CGContext;
    if (!layoutFor(bitmapInfo, *context)) {
        delete context;
        return nullptr;
    }
    if (!data) {
        data = platform::allocateBuffer(bytesPerRow * height);
        if (!data) {
            delete context;
            return nullptr;
        }
        std::memset(data, 0, bytesPerRow * height);
        context->ownsData = true;
    }
    context->data = static_cast<std::uint8_t*>(data);
    context->width = width;
    context->height = height;
    context->bytesPerRow = bytesPerRow;
    context->info = bitmapInfo;
    ++g_liveContexts;
    return context;
}

void* CGBitmapContextGetData(CGContextRef context) { return context ? context->data : nullptr; }
std::size_t CGBitmapContextGetBytesPerRow(CGContextRef context) { return context ? context->bytesPerRow : 0; }
std::size_t CGBitmapContextGetWidth(CGContextRef context) { return context ? context->width : 0; }
std::size_t CGBitmapContextGetHeight(CGContextRef context) { return context ? context->height : 0; }
CGBitmapInfo CGBitmapContextGetBitmapInfo(CGContextRef context) { return context ? context->info : 0; }

CGImageRef CGBitmapContextCreateImage(CGContextRef context) {
    if (!context) return nullptr;
    const std::size_t w = context->width, h = context->height;
    const bool opaque = context->alpha < 0;
    CGImageRef image = platform::gfx::createUninitialisedImage(w, h, opaque);
    if (!image) return nullptr;
    std::uint32_t* pixels = platform::gfx::mutableImageData(image);
    const bool nativeBGRx = context->blue == 0 && context->green == 1 && context->red == 2 &&
                            (context->alpha == 3 || opaque) && std::endian::native == std::endian::little;
    for (std::size_t y = 0; y < h; ++y) {
        const std::uint8_t* row = context->data + y * context->bytesPerRow;
        std::uint32_t* out = &pixels[y * w];
        if (nativeBGRx && !opaque) {
            std::memcpy(out, row, w * 4);
            continue;
        }
        if (nativeBGRx) {
            // The layout the picker draws in is already the image's own but for the skipped byte, which becomes an
            // opaque alpha. Eight words at a time in one pass, a block the compiler turns into vector code.
            std::size_t x = 0;
            for (; x + 8 <= w; x += 8) {
                std::uint32_t block[8];
                std::memcpy(block, row + 4 * x, sizeof block);
                for (auto& word : block) word |= 0xFF000000u;
                std::memcpy(out + x, block, sizeof block);
            }
            for (; x < w; ++x) {
                std::uint32_t word;
                std::memcpy(&word, row + 4 * x, 4);
                out[x] = word | 0xFF000000u;
            }
            continue;
        }
        for (std::size_t x = 0; x < w; ++x) {
            const std::uint8_t* p = row + 4 * x;
            std::uint32_t a = opaque ? 0xFF : p[context->alpha];
            out[x] = (a << 24) | (std::uint32_t(p[context->red]) << 16) | (std::uint32_t(p[context->green]) << 8) |
                     p[context->blue];
        }
    }
    return image;
}

CGContextRef CGContextRetain(CGContextRef context) {
    if (context) ++context->references;
    return context;
}

void CGContextRelease(CGContextRef context) {
    if (!context) return;
    if (--context->references > 0) return;
    if (context->ownsData) platform::freeBuffer(context->data);
    --g_liveContexts;
    delete context;
}

namespace platform::gfx {
std::size_t liveContextCount() { return g_liveContexts.load(); }
}  // namespace platform::gfx
