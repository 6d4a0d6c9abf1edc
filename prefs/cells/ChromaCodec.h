#pragma once

// The colour picker's arithmetic: colours to and from their stored hexadecimal text, HSV to RGB, and the two
// generated images of the picker (the hue bar and the saturation/brightness square). Free functions without state.
//
// The stored text is eight upper-case hexadecimal digits RRGGBBAA without "#". Lengths and positions in strings are
// counted in UTF-16 code units, as the device's strings count them (an emoji counts 2); strings arrive as UTF-8.

#include "platform/gfx/CGBitmapContext.h"
#include "platform/gfx/CGImage.h"
#include "platform/gfx/UIColor.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace chroma {

// The value clamped to [minimum, maximum]; minimum wins when the range is empty.
float pin(float minimum, float value, float maximum);
// value × fraction / 255, fraction in 255ths, truncated.
std::uint8_t blend(std::uint8_t value, std::uint8_t fraction);

// The red, green and blue factors (0..1) of a hue in degrees at full saturation and value. Hue 360 is red again;
// a hue that is not a number falls into the last sector.
void hueToComponentFactors(float* red, float* green, float* blue, float hue);
// Red, green and blue (0..1) of a hue in degrees, saturation and value.
void HSVtoRGB(float* red, float* green, float* blue, float hue, float saturation, float value);

// A BGRx bitmap context (bitmap information 0x2006, 4 × width bytes per row) over the caller's buffer, which stays
// the caller's; null when the context cannot be created.
CGContextRef createBGRxImageContext(int width, int height, void* buffer);
// The 256 × 256 saturation (left to right) / brightness (top to bottom) square of a hue in degrees, owned by the
// caller; null when its buffer or context cannot be had.
CGImageRef createSaturationBrightnessSquareContentImageWithHue(float hue);
// A 256 × 1 bar sweeping element `index` (0 hue, 1 saturation, 2 value) of the HSV triple from 0 to 1, the hue
// element being a fraction of 360°. The triple keeps the last value written (1 at `index`). Owned by the caller; null
// when the context cannot be created. An index outside 0..2 is a std::out_of_range error.
CGImageRef createHSVBarContentImage(int index, float hsv[3]);
// The hue bar: all hues at full saturation and value, red at both ends.
CGImageRef createContentImage();

// One channel read from `length` UTF-16 units at `start`: two digits as they are, any other length written twice
// (one digit "A" reads as "AA"). Digits of either case are read up to the first non-digit; text that does not begin
// with a digit reads as 0. The result is the number / 255. A range outside the string is a std::out_of_range error.
double colorComponentFrom(std::string_view string, std::size_t start, std::size_t length);
// The colour of a stored or typed string: an optional leading "#", then 3 (RGB), 4 (RGBA), 6 (RRGGBB) or 8
// (RRGGBBAA) digits, single digits doubled. Null (no colour) for any other length, including the empty string.
Ref<UIColor> colorFromHexString(std::string_view string);
// The eight-digit stored form of a colour (for dynamic colours, as resolved for the current interface style).
// Channels outside 0..1 are clamped first, so the result always has eight digits; a colour space other than RGB
// or monochrome, or a null colour, writes "00000000".
std::string stringFromColor(const Ref<UIColor>& color);
// The same for a CoreGraphics colour.
std::string stringFromCGColor(const CGColorRef& color);

}  // namespace chroma
