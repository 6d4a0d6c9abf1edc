// The PNG, JPEG and GIF decoders. Bundles bring their own icons and pictures, and the photo library whatever the
// user saved, so the decoders read whatever a file holds: a decoded image has a positive size within the decoders'
// limit and one premultiplied pixel per point; a JPEG, which has no alpha, is opaque; a GIF is the size of its
// logical screen and each of its points is either a palette colour or clear. The format sniffed decides the
// decoder, and a refused file stays refused.

#include "platform/gfx/ImageCodec.h"
#include "tests/fuzz/FuzzValue.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace {

using platform::gfx::ImageFormat;

// The largest side either decoder accepts; past it a picture is an attempt at memory, not an icon.
constexpr int kLargestSide = 16384;

enum class Alpha { Any, Opaque, OpaqueOrClear };

void checkBitmap(const Bitmap& bitmap, Alpha alpha) {
    fuzz::require(bitmap.width > 0 && bitmap.height > 0, "a decoded image has no size");
    fuzz::require(bitmap.width <= kLargestSide && bitmap.height <= kLargestSide, "a decoded image is too large");
    fuzz::require(bitmap.pixels.size() == static_cast<std::size_t>(bitmap.width) * bitmap.height,
                  "a decoded image has not one pixel per point");
    for (std::uint32_t pixel : bitmap.pixels) {
        const std::uint32_t a = pixel >> 24;
        if (alpha == Alpha::Opaque) fuzz::require(a == 0xff, "a decoded JPEG has a translucent pixel");
        if (alpha == Alpha::OpaqueOrClear)
            fuzz::require(a == 0xff || pixel == 0, "a decoded GIF point is neither a palette colour nor clear");
        for (int shift : {0, 8, 16})
            fuzz::require(((pixel >> shift) & 0xff) <= a, "a decoded pixel is not premultiplied");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const ImageFormat format = platform::gfx::sniffImageFormat(bytes);
    const auto png = platform::gfx::decodePNG(bytes);
    const auto jpeg = platform::gfx::decodeJPEG(bytes);
    const auto gif = platform::gfx::decodeGIF(bytes);
    const auto any = platform::gfx::decodeImage(bytes);

    if (png) checkBitmap(*png, Alpha::Any);
    if (jpeg) checkBitmap(*jpeg, Alpha::Opaque);
    if (gif) {
        checkBitmap(*gif, Alpha::OpaqueOrClear);
        // The logical screen's size, little-endian after the six-byte signature, is the picture's size whatever its
        // frames cover.
        fuzz::require(size >= 10 && gif->width == (data[6] | data[7] << 8) && gif->height == (data[8] | data[9] << 8),
                      "a decoded GIF is not the size of its screen");
        fuzz::require(gif->pixels.size() <= std::size_t{1} << 24, "a decoded GIF has more points than its limit");
    }
    const std::optional<Bitmap> none;
    const std::optional<Bitmap>& chosen = format == ImageFormat::PNG    ? png
                                          : format == ImageFormat::JPEG ? jpeg
                                          : format == ImageFormat::GIF  ? gif
                                                                        : none;
    fuzz::require(any == chosen, "the sniffed format did not decide the decoder");

    // decodeImage was the sniffed decoder's second reading; the others read the file once more here.
    if (format != ImageFormat::PNG)
        fuzz::require(platform::gfx::decodePNG(bytes) == png, "a PNG decoded twice differs");
    if (format != ImageFormat::JPEG)
        fuzz::require(platform::gfx::decodeJPEG(bytes) == jpeg, "a JPEG decoded twice differs");
    if (format != ImageFormat::GIF)
        fuzz::require(platform::gfx::decodeGIF(bytes) == gif, "a GIF decoded twice differs");

    // A decoded PNG is written back losslessly: the premultiplied pixels survive the round trip exactly.
    if (png) {
        const auto written = platform::gfx::encodePNG(*png);
        fuzz::require(written.has_value(), "a decoded PNG could not be written");
        fuzz::require(platform::gfx::decodePNG(*written) == png, "a PNG changed through a rewrite");
    }
    return 0;
}
