#include "prefs/cells/ChromaCodec.h"

#include "platform/gfx/BitmapAllocation.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace chroma {
namespace {

constexpr int kSquareSize = 256;
constexpr std::size_t kSquareBytes = kSquareSize * kSquareSize * 4;  // 262,144
constexpr CGBitmapInfo kBGRx = kCGBitmapByteOrder32Little | kCGImageAlphaNoneSkipFirst;  // 0x2006

constexpr int kLanes = kSquareSize * 4;

// Row after row so the writes run along memory. Per row, each lane's running sum v × c_x is stored as its high
// byte (the shift by 8) and then lowered by c_x for the next row.
void writeSquareRows(std::uint8_t* buffer, std::size_t stride, const std::uint16_t* sums, const std::uint16_t* steps) {
    alignas(16) std::uint16_t running[kLanes];
    std::memcpy(running, sums, sizeof running);
    for (int y = 0; y < kSquareSize; ++y) {
        std::uint8_t* row = buffer + static_cast<std::size_t>(y) * stride;
        for (int k = 0; k < kLanes; ++k) {
            row[k] = static_cast<std::uint8_t>(running[k] >> 8);
            running[k] = static_cast<std::uint16_t>(running[k] - steps[k]);
        }
    }
}

// UTF-8 to UTF-16 code units, so that lengths and ranges count as the device's strings do. A malformed byte counts
// as one replacement unit; it is no hexadecimal digit either way.
std::u16string toUTF16(std::string_view s) {
    std::u16string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        char32_t cp;
        std::size_t n;
        if (c < 0x80) cp = c, n = 1;
        else if ((c & 0xE0) == 0xC0) cp = c & 0x1F, n = 2;
        else if ((c & 0xF0) == 0xE0) cp = c & 0x0F, n = 3;
        else if ((c & 0xF8) == 0xF0) cp = c & 0x07, n = 4;
        else cp = 0xFFFD, n = 1;
        if (n > 1) {
            if (i + n > s.size()) n = 1, cp = 0xFFFD;
            for (std::size_t k = 1; k < n && cp != 0xFFFD; ++k) {
                unsigned char cc = static_cast<unsigned char>(s[i + k]);
                if ((cc & 0xC0) != 0x80) n = 1, cp = 0xFFFD;
                else cp = (cp << 6) | (cc & 0x3F);
            }
        }
        i += n;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return out;
}

int hexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

// The hexadecimal number at the start of `text`, read into 32 bits up to the first non-digit (the scanHexInt reading
// of one component). Text that does not begin with a digit reads as 0.
std::uint32_t scanHex(std::u16string_view text) {
    std::uint32_t value = 0;
    for (char16_t c : text) {
        int d = hexDigit(c);
        if (d < 0) break;
        value = (value << 4) | static_cast<std::uint32_t>(d);
    }
    return value;
}

double componentFrom(std::u16string_view s, std::size_t start, std::size_t length) {
    if (start > s.size() || length > s.size() - start) throw std::out_of_range("colour component range outside string");
    std::u16string_view part = s.substr(start, length);
    if (length == 2) return scanHex(part) / 255.0;
    std::u16string doubled(part);
    doubled += part;
    return scanHex(doubled) / 255.0;
}

long channelByte(CGFloat channel) {
    // Clamped so that "%02lX" never writes more than two digits; a NaN channel writes as 0.
    if (!(channel >= 0)) channel = 0;
    if (channel > 1) channel = 1;
    float scaled = static_cast<float>(channel * 255.0);
    return std::lround(scaled);
}

}  // namespace

float pin(float minimum, float value, float maximum) {
    if (minimum > value) return minimum;
    if (maximum < value) return maximum;
    return value;
}

std::uint8_t blend(std::uint8_t value, std::uint8_t fraction) {
    std::uint32_t product = std::uint32_t(value) * std::uint32_t(fraction);
    return static_cast<std::uint8_t>(product / 255);
}

void hueToComponentFactors(float* red, float* green, float* blue, float hue) {
    const float h = hue / 60.0f;
    const float x = 1.0f - std::fabs(std::fmod(h, 2.0f) - 1.0f);
    float r, g, b;
    if (h < 1) r = 1, g = x, b = 0;
    else if (h < 2) r = x, g = 1, b = 0;
    else if (h < 3) r = 0, g = 1, b = x;
    else if (h < 4) r = 0, g = x, b = 1;
    else if (h < 5) r = x, g = 0, b = 1;
    else r = 1, g = 0, b = x;
    *red = r;
    *green = g;
    *blue = b;
}

void HSVtoRGB(float* red, float* green, float* blue, float hue, float saturation, float value) {
    float r, g, b;
    hueToComponentFactors(&r, &g, &b, hue);
    const float c = saturation * value;
    const float m = value - c;
    *red = m + c * r;
    *green = m + c * g;
    *blue = m + c * b;
}

CGContextRef createBGRxImageContext(int width, int height, void* buffer) {
    if (width <= 0 || height <= 0) return nullptr;
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    CGContextRef context = CGBitmapContextCreate(buffer, static_cast<std::size_t>(width),
                                                 static_cast<std::size_t>(height), 8, 4 * static_cast<std::size_t>(width),
                                                 space, kBGRx);
    CGColorSpaceRelease(space);
    return context;
}

CGImageRef createSaturationBrightnessSquareContentImageWithHue(float hue) {
    auto* buffer = static_cast<std::uint8_t*>(platform::allocateBuffer(kSquareBytes));
    if (!buffer) return nullptr;
    CGContextRef context = createBGRxImageContext(kSquareSize, kSquareSize, buffer);
    if (!context) {
        platform::freeBuffer(buffer);
        return nullptr;
    }
    const std::size_t stride = CGBitmapContextGetBytesPerRow(context);

    float factors[3];
    hueToComponentFactors(&factors[0], &factors[1], &factors[2], hue);
    // How far each channel is from white at full saturation, in 255ths; a NaN factor counts as no distance.
    std::uint8_t towardsWhite[3];
    for (int c = 0; c < 3; ++c) {
        float scaled = (1.0f - factors[c]) * 255.0f;
        towardsWhite[c] = static_cast<std::uint8_t>(static_cast<int>(pin(0.0f, scaled == scaled ? scaled : 0.0f, 255.0f)));
    }

    // Per column the three blends give c_x; per row v × c_x is kept as a running sum (each row one c_x less) and the
    // pixel's byte is that sum shifted right by 8. The sums are laid out like the pixels themselves (blue, green, red,
    // skipped), 16 bits each (v × c_x ≤ 255 × 255 fits), so one row is a single pass of "store the high byte,
    // subtract the step" over 1,024 lanes, which the compiler turns into vector code. Rows are the outer loop so the
    // writes run along memory; the result is the same as column by column. The skipped byte's sum stays 0, so that
    // byte of this private buffer holds 0; the layout never reads it.
    alignas(16) std::uint16_t steps[kLanes];
    alignas(16) std::uint16_t sums[kLanes];
    for (int x = 0; x < kSquareSize; ++x) {
        const auto ux = static_cast<std::uint8_t>(x);
        steps[4 * x + 0] = static_cast<std::uint16_t>(255u - blend(ux, towardsWhite[2]));
        steps[4 * x + 1] = static_cast<std::uint16_t>(255u - blend(ux, towardsWhite[1]));
        steps[4 * x + 2] = static_cast<std::uint16_t>(255u - blend(ux, towardsWhite[0]));
        steps[4 * x + 3] = 0;
    }
    for (int k = 0; k < kLanes; ++k) sums[k] = static_cast<std::uint16_t>(255u * steps[k]);
    writeSquareRows(buffer, stride, sums, steps);

    CGImageRef image = CGBitmapContextCreateImage(context);
    CGContextRelease(context);
    platform::freeBuffer(buffer);
    return image;
}

CGImageRef createHSVBarContentImage(int index, float hsv[3]) {
    if (index < 0 || index > 2) throw std::out_of_range("HSV channel index outside 0..2");
    std::uint8_t storage[256 * 4];
    CGContextRef context = createBGRxImageContext(256, 1, storage);
    if (!context) return nullptr;
    auto* data = static_cast<std::uint8_t*>(CGBitmapContextGetData(context));
    if (!data) {
        CGContextRelease(context);
        return nullptr;
    }
    for (int i = 0; i < 256; ++i) {
        hsv[index] = static_cast<float>(i) / 255.0f;
        float r, g, b;
        HSVtoRGB(&r, &g, &b, hsv[0] * 360.0f, hsv[1], hsv[2]);
        std::uint8_t* pixel = data + 4 * i;
        pixel[0] = static_cast<std::uint8_t>(static_cast<int>(b * 255.0f));
        pixel[1] = static_cast<std::uint8_t>(static_cast<int>(g * 255.0f));
        pixel[2] = static_cast<std::uint8_t>(static_cast<int>(r * 255.0f));
    }
    CGImageRef image = CGBitmapContextCreateImage(context);
    CGContextRelease(context);
    return image;
}

CGImageRef createContentImage() {
    float hsv[3] = {0.0f, 1.0f, 1.0f};
    return createHSVBarContentImage(0, hsv);
}

double colorComponentFrom(std::string_view string, std::size_t start, std::size_t length) {
    return componentFrom(toUTF16(string), start, length);
}

Ref<UIColor> colorFromHexString(std::string_view string) {
    std::u16string text = toUTF16(string);
    std::u16string_view digits = text;
    if (!digits.empty() && digits.front() == u'#') digits.remove_prefix(1);
    double r, g, b, a = 1.0;
    switch (digits.size()) {
        case 3:
            r = componentFrom(digits, 0, 1), g = componentFrom(digits, 1, 1), b = componentFrom(digits, 2, 1);
            break;
        case 4:
            r = componentFrom(digits, 0, 1), g = componentFrom(digits, 1, 1), b = componentFrom(digits, 2, 1);
            a = componentFrom(digits, 3, 1);
            break;
        case 6:
            r = componentFrom(digits, 0, 2), g = componentFrom(digits, 2, 2), b = componentFrom(digits, 4, 2);
            break;
        case 8:
            r = componentFrom(digits, 0, 2), g = componentFrom(digits, 2, 2), b = componentFrom(digits, 4, 2);
            a = componentFrom(digits, 6, 2);
            break;
        default: return nullptr;
    }
    return UIColor::colorWithRedGreenBlueAlpha(r, g, b, a);
}

std::string stringFromCGColor(const CGColorRef& color) {
    const CGFloat* c = CGColorGetComponents(color);
    CGFloat r = 0, g = 0, b = 0, a = 0;
    switch (CGColorSpaceGetModel(CGColorGetColorSpace(color))) {
        case kCGColorSpaceModelRGB: r = c[0], g = c[1], b = c[2], a = c[3]; break;
        case kCGColorSpaceModelMonochrome: r = g = b = c[0], a = c[1]; break;
        default: break;
    }
    char text[40];
    std::snprintf(text, sizeof text, "%02lX%02lX%02lX%02lX", channelByte(r), channelByte(g), channelByte(b),
                  channelByte(a));
    return text;
}

std::string stringFromColor(const Ref<UIColor>& color) {
    if (!color) return "00000000";
    return stringFromCGColor(color->CGColor());
}

}  // namespace chroma
