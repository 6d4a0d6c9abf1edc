#include "platform/core/StringsTable.h"

#include "platform/core/NSString.h"
#include "platform/core/PropertyList.h"

#include <cctype>

namespace platform {
namespace {

std::u16string readUTF16(std::span<const std::uint8_t> bytes, bool bigEndian) {
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto hi = bigEndian ? bytes[i] : bytes[i + 1];
        const auto lo = bigEndian ? bytes[i + 1] : bytes[i];
        units += static_cast<char16_t>((hi << 8) | lo);
    }
    return units;
}

void appendCodePoint(char32_t cp, std::string& out) {
    std::u16string units;
    if (cp >= 0x10000) {
        cp -= 0x10000;
        units += static_cast<char16_t>(0xD800 + (cp >> 10));
        units += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
        units += static_cast<char16_t>(cp);
    }
    out += fromUTF16(units);
}

class Parser {
public:
    explicit Parser(std::string_view text) : m_s(text) {}

    std::optional<StringsTable> parse() {
        StringsTable table;
        if (!skip()) return std::nullopt;
        bool braced = false;
        if (peek() == '{') {
            braced = true;
            ++m_i;
        }
        for (;;) {
            if (!skip()) return std::nullopt;
            if (atEnd()) {
                if (braced) return std::nullopt;
                return table;
            }
            if (braced && peek() == '}') {
                ++m_i;
                if (!skip() || !atEnd()) return std::nullopt;
                return table;
            }
            auto key = token();
            if (!key || !skip()) return std::nullopt;
            std::string value;
            if (peek() == '=') {
                ++m_i;
                if (!skip()) return std::nullopt;
                auto v = token();
                if (!v || !skip()) return std::nullopt;
                value = std::move(*v);
            } else {
                value = *key;
            }
            if (peek() != ';') return std::nullopt;
            ++m_i;
            table[*key] = std::move(value);
        }
    }

private:
    bool atEnd() const { return m_i >= m_s.size(); }
    char peek() const { return atEnd() ? '\0' : m_s[m_i]; }

    // Skips white space and comments; false for a comment that never closes.
    bool skip() {
        for (;;) {
            while (!atEnd() && std::isspace(static_cast<unsigned char>(m_s[m_i]))) ++m_i;
            if (m_s.substr(m_i, 2) == "//") {
                while (!atEnd() && m_s[m_i] != '\n') ++m_i;
            } else if (m_s.substr(m_i, 2) == "/*") {
                auto close = m_s.find("*/", m_i + 2);
                if (close == std::string_view::npos) return false;
                m_i = close + 2;
            } else {
                return true;
            }
        }
    }

    static bool isWordChar(char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || std::string_view("_$+/:.-").find(c) != std::string_view::npos;
    }

    std::optional<std::string> token() {
        if (peek() == '"') return quoted();
        std::string word;
        while (!atEnd() && isWordChar(m_s[m_i])) {
            // "//" or "/*" start a comment even right after a word.
            if (m_s[m_i] == '/' && (m_s.substr(m_i, 2) == "//" || m_s.substr(m_i, 2) == "/*")) break;
            word += m_s[m_i++];
        }
        if (word.empty()) return std::nullopt;
        return word;
    }

    std::optional<std::string> quoted() {
        ++m_i;  // opening quote
        std::string out;
        char16_t pendingHigh = 0;
        auto flushHigh = [&] {
            if (pendingHigh) appendCodePoint(0xFFFD, out);
            pendingHigh = 0;
        };
        while (!atEnd()) {
            char c = m_s[m_i++];
            if (c == '"') {
                flushHigh();
                return out;
            }
            if (c != '\\') {
                flushHigh();
                out += c;
                continue;
            }
            if (atEnd()) return std::nullopt;
            char e = m_s[m_i++];
            if (e == 'U' || e == 'u') {
                char16_t unit = 0;
                int digits = 0;
                while (digits < 4 && !atEnd() && std::isxdigit(static_cast<unsigned char>(m_s[m_i]))) {
                    unit = static_cast<char16_t>(unit * 16 + hexValue(m_s[m_i++]));
                    ++digits;
                }
                if (digits == 0) return std::nullopt;
                if (unit >= 0xD800 && unit <= 0xDBFF) {
                    flushHigh();
                    pendingHigh = unit;
                } else if (unit >= 0xDC00 && unit <= 0xDFFF && pendingHigh) {
                    appendCodePoint(0x10000 + ((pendingHigh - 0xD800) << 10) + (unit - 0xDC00), out);
                    pendingHigh = 0;
                } else {
                    flushHigh();
                    appendCodePoint(unit >= 0xD800 && unit <= 0xDFFF ? 0xFFFD : unit, out);
                }
                continue;
            }
            flushHigh();
            switch (e) {
            case 'n': out += '\n'; break;
            case 't': out += '\t'; break;
            case 'r': out += '\r'; break;
            case 'a': out += '\a'; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'v': out += '\v'; break;
            case '"': case '\'': case '\\': out += e; break;
            default:
                if (e >= '0' && e <= '7') {
                    int v = e - '0';
                    for (int k = 0; k < 2 && !atEnd() && m_s[m_i] >= '0' && m_s[m_i] <= '7'; ++k)
                        v = v * 8 + (m_s[m_i++] - '0');
                    appendCodePoint(static_cast<char32_t>(v), out);
                } else {
                    // An unknown escape keeps the character, as the device's reader does.
                    out += e;
                }
            }
        }
        return std::nullopt;  // no closing quote
    }

    static int hexValue(char c) {
        if (c >= '0' && c <= '9') return c - '0';
        return std::tolower(static_cast<unsigned char>(c)) - 'a' + 10;
    }

    std::string_view m_s;
    std::size_t m_i = 0;
};

bool looksLikePropertyList(std::string_view text) {
    if (text.starts_with("bplist")) return true;
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    return text.substr(i).starts_with("<?xml") || text.substr(i).starts_with("<plist") ||
           text.substr(i).starts_with("<!DOCTYPE");
}

std::optional<StringsTable> tableFromPropertyList(const std::optional<Value>& value) {
    if (!value || !value->isDictionary()) return std::nullopt;
    StringsTable table;
    for (const auto& [k, v] : *value->asDictionary())
        if (auto* s = v.asString()) table[k] = *s;
    return table;
}

}  // namespace

std::string decodeStringsText(std::span<const std::uint8_t> bytes) {
    if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF)
        return std::string(bytes.begin() + 3, bytes.end());
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) return fromUTF16(readUTF16(bytes.subspan(2), false));
    if (bytes.size() >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) return fromUTF16(readUTF16(bytes.subspan(2), true));
    if (bytes.size() >= 2 && bytes.size() % 2 == 0) {
        // Without a mark, UTF-16 of mostly ASCII text shows as a zero in every other byte.
        std::size_t zeroEven = 0, zeroOdd = 0;
        for (std::size_t i = 0; i < bytes.size(); ++i)
            if (bytes[i] == 0) ++(i % 2 ? zeroOdd : zeroEven);
        const std::size_t half = bytes.size() / 2;
        if (zeroOdd * 2 > half && zeroEven == 0) return fromUTF16(readUTF16(bytes, false));
        if (zeroEven * 2 > half && zeroOdd == 0) return fromUTF16(readUTF16(bytes, true));
    }
    return std::string(bytes.begin(), bytes.end());
}

std::optional<StringsTable> parseStringsTable(std::span<const std::uint8_t> bytes) {
    if (bytes.size() >= 6 && std::string_view(reinterpret_cast<const char*>(bytes.data()), 6) == "bplist") {
        return tableFromPropertyList(parsePropertyList(bytes));
    }
    std::string text = decodeStringsText(bytes);
    if (looksLikePropertyList(text)) {
        return tableFromPropertyList(
            parsePropertyList(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size())));
    }
    return Parser(text).parse();
}

}  // namespace platform
