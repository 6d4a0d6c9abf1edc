#pragma once

// PNG (libpng) and JPEG (libjpeg-turbo) decoding and encoding of Bitmaps, and GIF (giflib) decoding. Decoding answers nothing for data that
// is not a complete image of that format; it never throws.

#include "platform/gfx/Bitmap.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace platform::gfx {

enum class ImageFormat { Unknown, PNG, JPEG, GIF };

// The format by the file signature alone.
ImageFormat sniffImageFormat(std::span<const std::uint8_t> data);

// Any supported format; nothing for unknown or damaged data.
std::optional<Bitmap> decodeImage(std::span<const std::uint8_t> data);
std::optional<Bitmap> decodePNG(std::span<const std::uint8_t> data);
std::optional<Bitmap> decodeJPEG(std::span<const std::uint8_t> data);
// The first frame of a GIF (GIF87a or GIF89a), laid on the logical screen with its transparent index clear; what
// follows the first frame is not read. Nothing for a file without a complete first frame, or whose screen has a side
// past 16384 or more than 2^24 points.
std::optional<Bitmap> decodeGIF(std::span<const std::uint8_t> data);

// A PNG with alpha, lossless: decodePNG(encodePNG(b)) == b for every premultiplied bitmap. Nothing for an empty
// bitmap.
std::optional<std::vector<std::uint8_t>> encodePNG(const Bitmap& bitmap);
// A baseline JPEG at quality 0..1 (clamped; mapped to libjpeg's 0..100). JPEG has no alpha: translucent pixels
// come out as if put on black, as the device's encoder treats premultiplied data. Nothing for an empty bitmap.
std::optional<std::vector<std::uint8_t>> encodeJPEG(const Bitmap& bitmap, double quality);

}  // namespace platform::gfx
