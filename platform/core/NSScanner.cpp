#include "platform/core/NSScanner.h"

#include "platform/core/Runtime.h"

#include <limits>

VT_REGISTER_CLASS(NSScanner)

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool isWhiteSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

}  // namespace

Ref<NSScanner> NSScanner::scannerWithString(std::string_view text) {
    auto scanner = alloc<NSScanner>();
    scanner->m_text = std::string(text);
    return scanner;
}

std::size_t NSScanner::skipWhiteSpace(std::size_t from) const {
    while (from < m_text.size() && isWhiteSpace(m_text[from])) ++from;
    return from;
}

std::optional<std::uint32_t> NSScanner::scanHexInt() {
    std::size_t i = skipWhiteSpace(m_location);
    if (i + 2 < m_text.size() && m_text[i] == '0' && (m_text[i + 1] == 'x' || m_text[i + 1] == 'X') &&
        hexDigit(m_text[i + 2]) >= 0)
        i += 2;
    if (i >= m_text.size() || hexDigit(m_text[i]) < 0) return std::nullopt;
    std::uint64_t value = 0;
    for (; i < m_text.size() && hexDigit(m_text[i]) >= 0; ++i) {
        value = value * 16 + static_cast<std::uint64_t>(hexDigit(m_text[i]));
        if (value > std::numeric_limits<std::uint32_t>::max()) value = std::numeric_limits<std::uint32_t>::max() + 1ULL;
    }
    m_location = i;
    if (value > std::numeric_limits<std::uint32_t>::max()) return std::numeric_limits<std::uint32_t>::max();
    return static_cast<std::uint32_t>(value);
}

void NSScanner::setScanLocation(std::size_t location) {
    if (location > m_text.size()) throw platform::RuntimeError("NSScanner location beyond the end of its text");
    m_location = location;
}

bool NSScanner::isAtEnd() const { return skipWhiteSpace(m_location) >= m_text.size(); }
