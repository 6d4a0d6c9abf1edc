#pragma once

// CoreGraphics images: immutable pixel rectangles, reference counted with the create/retain/release rule.
//
// Pixels are stored in Cairo's ARGB32 layout, so the painter can wrap an image without converting it: one native
// 32-bit word per pixel, 0xAARRGGBB, colour premultiplied by alpha, rows of exactly 4 × width bytes, row 0 at the
// top. (On the little-endian machines we run on, the bytes of a pixel are blue, green, red, alpha.) An image made
// from a context without alpha is opaque: every alpha is 255.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

struct CGImage;
using CGImageRef = CGImage*;

// Width, height and bytes per row (4 × width); 0 for a null image.
std::size_t CGImageGetWidth(CGImageRef image);
std::size_t CGImageGetHeight(CGImageRef image);
std::size_t CGImageGetBytesPerRow(CGImageRef image);
CGImageRef CGImageRetain(CGImageRef image);
// Releases an image; null is ignored. The last release frees it.
void CGImageRelease(CGImageRef image);

namespace platform::gfx {

// One pixel with straight (not premultiplied) channels.
struct Pixel {
    std::uint8_t red = 0, green = 0, blue = 0, alpha = 0;
    friend bool operator==(const Pixel&, const Pixel&) = default;
};

// A new image (owned by the caller) with a copy of ARGB32 premultiplied pixels read with `stride` bytes per row;
// null for a zero size, a stride below 4 × width or null data.
CGImageRef createImageFromARGB32(std::size_t width, std::size_t height, const std::uint32_t* data,
                                 std::size_t strideBytes);
// For the platform's own image makers: an image whose pixels are not yet written, and write access to them (only
// before the image is handed out). Null when the allocation fails.
CGImageRef createUninitialisedImage(std::size_t width, std::size_t height, bool opaque);
std::uint32_t* mutableImageData(CGImageRef image);

// The image's ARGB32 words, row after row (4 × width bytes per row); null for a null image.
const std::uint32_t* imageARGB32Data(CGImageRef image);
// True when every pixel is opaque because the image was made without alpha; false also for a null image.
bool imageIsOpaque(CGImageRef image);
// The pixel at (x, y), un-premultiplied; nothing outside the image or for a null image.
std::optional<Pixel> imagePixel(CGImageRef image, std::size_t x, std::size_t y);

// PNG encoding of an image (RGB for opaque images, RGBA otherwise); nothing for a null image or an encoder failure.
std::optional<std::vector<std::uint8_t>> encodePNG(CGImageRef image);
// Writes the PNG encoding to a host file. The caller chooses a path under the device root or its own temp folder.
// Answers false when there is no image or the file cannot be written.
bool writePNG(CGImageRef image, const std::filesystem::path& file);

// Images created and not yet freed, for leak checks.
std::size_t liveImageCount();

}  // namespace platform::gfx
