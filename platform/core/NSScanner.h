#pragma once

// NSScanner as the colour readers use it: scanning hexadecimal numbers off the front of a text.

#include "platform/core/Object.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class NSScanner : public NSObject {
    VT_OBJECT(NSScanner, NSObject)
public:
    // Never null; the scan location starts at 0.
    static Ref<NSScanner> scannerWithString(std::string_view text);

    // Skips white space and newlines, accepts an optional "0x" or "0X", then reads hexadecimal digits of either
    // case up to the first other character. Nothing when no digit follows (the location is then unchanged, as on
    // the device); a value past 32 bits saturates at UINT32_MAX while every digit is still consumed. "0x" with no
    // digit after it reads the "0" as 0 and stops before the "x".
    std::optional<std::uint32_t> scanHexInt();

    // Byte offset into the text.
    std::size_t scanLocation() const { return m_location; }
    void setScanLocation(std::size_t location);
    // True when only skippable white space is left.
    bool isAtEnd() const;
    const std::string& string() const { return m_text; }

private:
    std::size_t skipWhiteSpace(std::size_t from) const;

    std::string m_text;
    std::size_t m_location = 0;
};
