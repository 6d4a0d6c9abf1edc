#include "platform/gfx/CGImage.h"

#include "platform/gfx/BitmapAllocation.h"

#include <png.h>

#include <atomic>
#include <cstring>
#include <fstream>

struct CGImage {
    std::size_t width = 0;
    std::size_t height = 0;
    bool opaque = false;
    // From platform::allocateBuffer; freed with the image.
    std::uint32_t* pixels = nullptr;
    std::atomic<int> references{1};
    ~CGImage() { platform::freeBuffer(pixels); }
};

namespace {
std::atomic<std::size_t> g_liveImages{0};
}

std::size_t CGImageGetWidth(CGImageRef image) { return image ? image->width : 0; }
std::size_t CGImageGetHeight(CGImageRef image) { return image ? image->height : 0; }
std::size_t CGImageGetBytesPerRow(CGImageRef image) { return image ? image->width * 4 : 0; }

CGImageRef CGImageRetain(CGImageRef image) {
    if (image) ++image->references;
    return image;
}

void CGImageRelease(CGImageRef image) {
    if (!image) return;
    if (--image->references == 0) {
        --g_liveImages;
        delete image;
    }
}

namespace platform::gfx {

CGImageRef createImageFromARGB32(std::size_t width, std::size_t height, const std::uint32_t* data,
                                 std::size_t strideBytes) {
    if (!data || width == 0 || height == 0 || strideBytes < width * 4) return nullptr;
    CGImageRef image = createUninitialisedImage(width, height, false);
    if (!image) return nullptr;
    bool opaque = true;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(data);
    for (std::size_t y = 0; y < height; ++y) {
        std::memcpy(&image->pixels[y * width], bytes + y * strideBytes, width * 4);
        for (std::size_t x = 0; x < width && opaque; ++x) opaque = (image->pixels[y * width + x] >> 24) == 0xFF;
    }
    image->opaque = opaque;
    return image;
}

CGImageRef createUninitialisedImage(std::size_t width, std::size_t height, bool opaque) {
    auto* pixels = static_cast<std::uint32_t*>(platform::allocateBuffer(width * height * 4));
    if (!pixels) return nullptr;
    auto* image = new CGImage;
    image->width = width;
    image->height = height;
    image->pixels = pixels;
    image->opaque = opaque;
    ++g_liveImages;
    return image;
}

std::uint32_t* mutableImageData(CGImageRef image) { return image ? image->pixels : nullptr; }

const std::uint32_t* imageARGB32Data(CGImageRef image) { return image ? image->pixels : nullptr; }

bool imageIsOpaque(CGImageRef image) { return image && image->opaque; }

std::optional<Pixel> imagePixel(CGImageRef image, std::size_t x, std::size_t y) {
    if (!image || x >= image->width || y >= image->height) return std::nullopt;
    std::uint32_t word = image->pixels[y * image->width + x];
    std::uint8_t a = word >> 24;
    auto straight = [a](std::uint32_t c) -> std::uint8_t {
        c &= 0xFF;
        if (a == 0xFF) return static_cast<std::uint8_t>(c);
        if (a == 0) return 0;
        return static_cast<std::uint8_t>((c * 255 + a / 2) / a);
    };
    return Pixel{straight(word >> 16), straight(word >> 8), straight(word), a};
}

std::optional<std::vector<std::uint8_t>> encodePNG(CGImageRef image) {
    if (!image) return std::nullopt;
    const int channels = image->opaque ? 3 : 4;
    std::vector<std::uint8_t> rows(image->width * image->height * channels);
    std::size_t i = 0;
    for (std::size_t y = 0; y < image->height; ++y)
        for (std::size_t x = 0; x < image->width; ++x) {
            Pixel p = *imagePixel(image, x, y);
            rows[i++] = p.red;
            rows[i++] = p.green;
            rows[i++] = p.blue;
            if (channels == 4) rows[i++] = p.alpha;
        }

    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image->width);
    png.height = static_cast<png_uint_32>(image->height);
    png.format = channels == 4 ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    png_alloc_size_t size = 0;
    // First pass measures, second writes: the simplified API's documented way to size the memory buffer.
    if (!png_image_write_to_memory(&png, nullptr, &size, 0, rows.data(), 0, nullptr)) return std::nullopt;
    std::vector<std::uint8_t> out(size);
    if (!png_image_write_to_memory(&png, out.data(), &size, 0, rows.data(), 0, nullptr)) return std::nullopt;
    out.resize(size);
    return out;
}

bool writePNG(CGImageRef image, const std::filesystem::path& file) {
    auto data = encodePNG(image);
    if (!data) return false;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(reinterpret_cast<const char*>(data->data()), static_cast<std::streamsize>(data->size()));
    return static_cast<bool>(out);
}

std::size_t liveImageCount() { return g_liveImages.load(); }

}  // namespace platform::gfx
