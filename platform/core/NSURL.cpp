#include "platform/core/NSURL.h"

#include "platform/core/Runtime.h"

#include <cctype>

VT_REGISTER_CLASS(NSURL)

namespace {

bool isHex(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

bool isAllowed(char c) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 0x80) return false;
    if (std::isalnum(u)) return true;
    return std::string_view("-._~:/?#[]@!$&'()*+,;=").find(c) != std::string_view::npos;
}

// True when text[i] starts a complete escape "%XY".
bool isEscapeAt(std::string_view text, std::size_t i) {
    return text[i] == '%' && i + 2 < text.size() && isHex(text[i + 1]) && isHex(text[i + 2]);
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    return std::tolower(static_cast<unsigned char>(c)) - 'a' + 10;
}

// Length of the scheme at the start of `text` (without ":"), or 0 when the text does not start with one.
std::size_t schemeLength(std::string_view text) {
    auto colon = text.find(':');
    if (colon == std::string_view::npos) return 0;
    // A "/", "?" or "#" before the colon means the colon belongs to a path or query of a relative reference.
    auto other = text.find_first_of("/?#");
    if (other != std::string_view::npos && other < colon) return 0;
    return colon;
}

}  // namespace

bool NSURL::isValidURLText(std::string_view text) {
    if (text.empty()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%') {
            if (!isEscapeAt(text, i)) return false;
            i += 2;
            continue;
        }
        if (!isAllowed(text[i])) return false;
    }
    auto colon = text.find(':');
    auto other = text.find_first_of("/?#");
    if (colon != std::string_view::npos && (other == std::string_view::npos || colon < other)) {
        // The text claims a scheme: it must be well formed.
        if (colon == 0 || !std::isalpha(static_cast<unsigned char>(text[0]))) return false;
        for (std::size_t i = 1; i < colon; ++i) {
            const auto c = static_cast<unsigned char>(text[i]);
            if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') return false;
        }
    }
    return true;
}

Ref<NSURL> NSURL::URLWithString(std::string_view text) {
    if (!isValidURLText(text)) return nullptr;
    auto url = alloc<NSURL>();
    url->m_text = std::string(text);
    return url;
}

Ref<NSURL> NSURL::fileURLWithPath(std::string_view path) {
    static const char* digits = "0123456789ABCDEF";
    std::string text = "file://";
    if (path.empty() || path.front() != '/') text += '/';
    for (char c : path) {
        // "?" and "#" would end the path of the URL, so they are encoded too.
        if (isAllowed(c) && c != '?' && c != '#') {
            text += c;
        } else {
            const auto u = static_cast<unsigned char>(c);
            text += '%';
            text += digits[u >> 4];
            text += digits[u & 0xF];
        }
    }
    auto url = alloc<NSURL>();
    url->m_text = std::move(text);
    return url;
}

std::optional<std::string> NSURL::scheme() const {
    auto n = schemeLength(m_text);
    if (n == 0) return std::nullopt;
    return m_text.substr(0, n);
}

std::string NSURL::path() const {
    std::string_view rest = m_text;
    if (auto n = schemeLength(rest)) rest.remove_prefix(n + 1);
    if (rest.empty() || rest.front() != '/') {
        // "prefs:root=X" has an opaque part, not a path; a relative reference "a/b" is all path.
        if (schemeLength(m_text) != 0) return {};
    }
    if (rest.starts_with("//")) {
        rest.remove_prefix(2);
        auto slash = rest.find('/');
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash);
    }
    rest = rest.substr(0, rest.find_first_of("?#"));
    std::string decoded;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        if (isEscapeAt(rest, i)) {
            decoded += static_cast<char>(hexValue(rest[i + 1]) * 16 + hexValue(rest[i + 2]));
            i += 2;
        } else {
            decoded += rest[i];
        }
    }
    return decoded;
}

bool NSURL::isFileURL() const {
    auto s = scheme();
    if (!s) return false;
    std::string lower;
    for (char c : *s) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower == "file";
}
