#include "platform/core/NSString.h"

#include "platform/core/Runtime.h"

namespace platform {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one code point at `i`, advancing it; malformed, overlong and surrogate encodings read as U+FFFD and
// consume one byte, as Foundation's lossy decoding does.
char32_t decode(std::string_view s, std::size_t& i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    std::size_t need = 0;
    char32_t cp = 0;
    char32_t min = 0;
    if ((b0 & 0xE0) == 0xC0) need = 1, cp = b0 & 0x1F, min = 0x80;
    else if ((b0 & 0xF0) == 0xE0) need = 2, cp = b0 & 0x0F, min = 0x800;
    else if ((b0 & 0xF8) == 0xF0) need = 3, cp = b0 & 0x07, min = 0x10000;
    else {
        ++i;
        return kReplacement;
    }
    if (i + need >= s.size()) {
        ++i;
        return kReplacement;
    }
    for (std::size_t k = 1; k <= need; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) {
            ++i;
            return kReplacement;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++i;
        return kReplacement;
    }
    i += need + 1;
    return cp;
}

void encode(char32_t cp, std::string& out) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

std::u16string toUTF16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t cp = decode(utf8, i);
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return out;
}

std::string fromUTF16(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size());
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        char32_t u = utf16[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF) {
            encode(0x10000 + ((u - 0xD800) << 10) + (utf16[i + 1] - 0xDC00), out);
            ++i;
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            encode(kReplacement, out);
        } else {
            encode(u, out);
        }
    }
    return out;
}

std::size_t utf16Length(std::string_view utf8) {
    std::size_t units = 0;
    for (std::size_t i = 0; i < utf8.size();) units += decode(utf8, i) >= 0x10000 ? 2 : 1;
    return units;
}

std::string substringWithUTF16Range(std::string_view utf8, std::size_t location, std::size_t length) {
    const auto units = toUTF16(utf8);
    if (location > units.size() || length > units.size() - location)
        throw RuntimeError("substring range {" + std::to_string(location) + ", " + std::to_string(length) +
                           "} out of bounds for a text of length " + std::to_string(units.size()));
    return fromUTF16(std::u16string_view(units).substr(location, length));
}

std::string substringToUTF16Index(std::string_view utf8, std::size_t index) {
    return substringWithUTF16Range(utf8, 0, index);
}

std::string substringFromUTF16Index(std::string_view utf8, std::size_t index) {
    const auto length = utf16Length(utf8);
    if (index > length)
        throw RuntimeError("substring index " + std::to_string(index) + " out of bounds for a text of length " +
                           std::to_string(length));
    return substringWithUTF16Range(utf8, index, length - index);
}

void appendUTF8(std::string& out, char32_t codePoint) { encode(codePoint, out); }

}  // namespace platform
