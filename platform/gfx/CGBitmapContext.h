#pragma once

// CoreGraphics bitmap contexts over a pixel buffer, and the images made from them.
//
// Only the 32-bit layouts with 8 bits per component in an RGB colour space are supported, which is what the add-on
// draws into: alpha info premultiplied-last (1), premultiplied-first (2), skip-last (5) or skip-first (6), in the
// default (big-endian) or 32-bit little-endian byte order. 0x2006 is little-endian skip-first: in memory each pixel
// is blue, green, red, then an unused byte. A context never draws; code fills its buffer directly.

#include "platform/gfx/CGColor.h"
#include "platform/gfx/CGImage.h"

#include <cstddef>
#include <cstdint>

using CGBitmapInfo = std::uint32_t;
inline constexpr CGBitmapInfo kCGImageAlphaNone = 0;
inline constexpr CGBitmapInfo kCGImageAlphaPremultipliedLast = 1;
inline constexpr CGBitmapInfo kCGImageAlphaPremultipliedFirst = 2;
inline constexpr CGBitmapInfo kCGImageAlphaNoneSkipLast = 5;
inline constexpr CGBitmapInfo kCGImageAlphaNoneSkipFirst = 6;
inline constexpr CGBitmapInfo kCGBitmapAlphaInfoMask = 0x1F;
inline constexpr CGBitmapInfo kCGBitmapByteOrderDefault = 0;
inline constexpr CGBitmapInfo kCGBitmapByteOrder32Big = 0x4000;
inline constexpr CGBitmapInfo kCGBitmapByteOrder32Little = 0x2000;
inline constexpr CGBitmapInfo kCGBitmapByteOrderMask = 0x7000;

struct CGContext;
using CGContextRef = CGContext*;

// A bitmap context of width × height pixels over `data`, which stays the caller's and must outlive the context.
// With null data the context allocates (and later frees) its own zeroed buffer. `bytesPerRow` 0 means 4 × width.
// Answers null (and changes nothing) for: zero width or height, bits per component other than 8, bytes per row below
// 4 × width, a null or non-RGB colour space, an unsupported bitmap information, a failed allocation of its own
// buffer, or a failure injected with platform::testing::failNextContextCreation. The colour space is not retained;
// the caller may release it at once.
CGContextRef CGBitmapContextCreate(void* data, std::size_t width, std::size_t height, std::size_t bitsPerComponent,
                                   std::size_t bytesPerRow, CGColorSpaceRef space, CGBitmapInfo bitmapInfo);
// The pixel buffer; null for a null context.
void* CGBitmapContextGetData(CGContextRef context);
// Bytes per row; 0 for a null context.
std::size_t CGBitmapContextGetBytesPerRow(CGContextRef context);
std::size_t CGBitmapContextGetWidth(CGContextRef context);
std::size_t CGBitmapContextGetHeight(CGContextRef context);
CGBitmapInfo CGBitmapContextGetBitmapInfo(CGContextRef context);
// A new image with a copy of the context's pixels as they are now (the buffer may change or be freed afterwards);
// owned by the caller. Null for a null context or a failed allocation.
CGImageRef CGBitmapContextCreateImage(CGContextRef context);
CGContextRef CGContextRetain(CGContextRef context);
// Releases a context; null is ignored. The last release frees a buffer the context allocated itself.
void CGContextRelease(CGContextRef context);

namespace platform::gfx {
// Contexts created and not yet released, for leak checks.
std::size_t liveContextCount();
}  // namespace platform::gfx
