// The PNG and JPEG decoders. Bundles bring their own icons and pictures, so the decoders read whatever a file
// holds: a decoded image has a positive size within the decoders' limit and one premultiplied pixel per point; a
// JPEG, which has no alpha, is opaque. The format sniffed decides the decoder, and a refused file stays refused.

#include "platform/gfx/ImageCodec.h"
#include "tests/fuzz/FuzzValue.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace {

using platform::gfx::ImageFormat;

// The largest side either decoder accepts; past it a picture is an attempt at memory, not an icon.
constexpr int kLargestSide = 16384;

void checkBitmap(const Bitmap& bitmap, bool opaque) {
    fuzz::require(bitmap.width > 0 && bitmap.height > 0, "a decoded image has no size");
    fuzz::require(bitmap.width <= kLargestSide && bitmap.height <= kLargestSide, "a decoded image is too large");
    fuzz::require(bitmap.pixels.size() == static_cast<std::size_t>(bitmap.width) * bitmap.height,
                  "a decoded image has not one pixel per point");
    for (std::uint32_t pixel : bitmap.pixels) {
        const std::uint32_t alpha = pixel >> 24;
        if (opaque) fuzz::require(alpha == 0xff, "a decoded JPEG has a translucent pixel");
        for (int shift : {0, 8, 16})
            fuzz::require(((pixel >> shift) & 0xff) <= alpha, "a decoded pixel is not premultiplied");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const ImageFormat format = platform::gfx::sniffImageFormat(bytes);
    const auto png = platform::gfx::decodePNG(bytes);
    const auto jpeg = platform::gfx::decodeJPEG(bytes);
    const auto any = platform::gfx::decodeImage(bytes);

    if (png) checkBitmap(*png, false);
    if (jpeg) checkBitmap(*jpeg, true);
    const std::optional<Bitmap>& chosen =
        format == ImageFormat::PNG ? png : format == ImageFormat::JPEG ? jpeg : std::optional<Bitmap>{};
    fuzz::require(any == chosen, "the sniffed format did not decide the decoder");

    fuzz::require(platform::gfx::decodePNG(bytes) == png, "a PNG decoded twice differs");
    fuzz::require(platform::gfx::decodeJPEG(bytes) == jpeg, "a JPEG decoded twice differs");

    // A decoded PNG is written back losslessly: the premultiplied pixels survive the round trip exactly.
    if (png) {
        const auto written = platform::gfx::encodePNG(*png);
        fuzz::require(written.has_value(), "a decoded PNG could not be written");
        fuzz::require(platform::gfx::decodePNG(*written) == png, "a PNG changed through a rewrite");
    }
    return 0;
}
