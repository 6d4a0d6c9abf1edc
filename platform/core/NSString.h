#pragma once

// Text is held as UTF-8 std::string everywhere; these helpers answer what NSString answers, which counts and
// indexes in UTF-16 code units: "é" is 1, an emoji outside the Basic Multilingual Plane is 2.

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// NSString length. A byte that is not valid UTF-8 counts as one unit (it reads as U+FFFD).
std::size_t utf16Length(std::string_view utf8);

// substringWithRange: the UTF-16 units [location, location + length). A range beyond the end is a RuntimeError,
// as it raises on the device. A boundary that falls inside a surrogate pair turns that half into U+FFFD.
std::string substringWithUTF16Range(std::string_view utf8, std::size_t location, std::size_t length);
// substringToIndex: the first `index` units. An index beyond the end is a RuntimeError.
std::string substringToUTF16Index(std::string_view utf8, std::size_t index);
// substringFromIndex: the units from `index` on. An index beyond the end is a RuntimeError.
std::string substringFromUTF16Index(std::string_view utf8, std::size_t index);

// The UTF-16 units of a UTF-8 text and back (invalid input reads as U+FFFD; a lone surrogate writes U+FFFD).
std::u16string toUTF16(std::string_view utf8);
std::string fromUTF16(std::u16string_view utf16);

// Appends one code point as UTF-8. The caller passes a valid scalar value (not a surrogate, at most U+10FFFF).
void appendUTF8(std::string& out, char32_t codePoint);

}  // namespace platform
