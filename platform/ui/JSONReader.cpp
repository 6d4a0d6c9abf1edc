#include "platform/ui/JSONReader.h"

#include "platform/core/NSString.h"

#include <charconv>
#include <string>

namespace {

template <typename T>
std::optional<T> wholeNumber(std::string_view text) {
    T value{};
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

class JSONReader {
public:
    JSONReader(std::string_view text, int maxDepth) : m_text(text), m_maxDepth(maxDepth) {}

    std::optional<Value> document() {
        auto v = value(0);
        skipSpace();
        if (!v || m_pos != m_text.size()) return std::nullopt;
        return v;
    }

private:
    void skipSpace() {
        while (m_pos < m_text.size() && (m_text[m_pos] == ' ' || m_text[m_pos] == '\t' || m_text[m_pos] == '\n' ||
                                         m_text[m_pos] == '\r'))
            ++m_pos;
    }
    bool take(char c) {
        skipSpace();
        if (m_pos < m_text.size() && m_text[m_pos] == c) {
            ++m_pos;
            return true;
        }
        return false;
    }
    bool word(std::string_view w) {
        if (m_text.substr(m_pos, w.size()) != w) return false;
        m_pos += w.size();
        return true;
    }

    std::optional<Value> value(int depth) {
        if (depth > m_maxDepth) return std::nullopt;
        skipSpace();
        if (m_pos >= m_text.size()) return std::nullopt;
        char c = m_text[m_pos];
        if (c == '{') return object(depth);
        if (c == '[') return array(depth);
        if (c == '"') {
            auto s = string();
            if (!s) return std::nullopt;
            return Value(std::move(*s));
        }
        if (word("true")) return Value(true);
        if (word("false")) return Value(false);
        if (word("null")) return Value();
        return number();
    }

    std::optional<Value> object(int depth) {
        ++m_pos;
        Value::Dictionary dict;
        if (take('}')) return Value(std::move(dict));
        do {
            skipSpace();
            auto key = string();
            if (!key || !take(':')) return std::nullopt;
            auto v = value(depth + 1);
            if (!v) return std::nullopt;
            dict[*key] = std::move(*v);
        } while (take(','));
        if (!take('}')) return std::nullopt;
        return Value(std::move(dict));
    }

    std::optional<Value> array(int depth) {
        ++m_pos;
        Value::Array items;
        if (take(']')) return Value(std::move(items));
        do {
            auto v = value(depth + 1);
            if (!v) return std::nullopt;
            items.push_back(std::move(*v));
        } while (take(','));
        if (!take(']')) return std::nullopt;
        return Value(std::move(items));
    }

    std::optional<unsigned> hex4() {
        if (m_pos + 4 > m_text.size()) return std::nullopt;
        unsigned v = 0;
        auto [end, ec] = std::from_chars(m_text.data() + m_pos, m_text.data() + m_pos + 4, v, 16);
        if (ec != std::errc() || end != m_text.data() + m_pos + 4) return std::nullopt;
        m_pos += 4;
        return v;
    }

    std::optional<std::string> string() {
        if (m_pos >= m_text.size() || m_text[m_pos] != '"') return std::nullopt;
        ++m_pos;
        std::string out;
        while (m_pos < m_text.size()) {
            char c = m_text[m_pos++];
            if (c == '"') return out;
            if (static_cast<unsigned char>(c) < 0x20) return std::nullopt;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (m_pos >= m_text.size()) return std::nullopt;
            char e = m_text[m_pos++];
            switch (e) {
                case '"': out += '"'; break;
                case '\\': out += '\\'; break;
                case '/': out += '/'; break;
                case 'b': out += '\b'; break;
                case 'f': out += '\f'; break;
                case 'n': out += '\n'; break;
                case 'r': out += '\r'; break;
                case 't': out += '\t'; break;
                case 'u': {
                    auto unit = hex4();
                    if (!unit) return std::nullopt;
                    std::u16string units(1, static_cast<char16_t>(*unit));
                    if (*unit >= 0xD800 && *unit < 0xDC00 && word("\\u")) {
                        auto low = hex4();
                        if (!low) return std::nullopt;
                        units += static_cast<char16_t>(*low);
                    }
                    out += platform::fromUTF16(units);
                    break;
                }
                default: return std::nullopt;
            }
        }
        return std::nullopt;
    }

    std::optional<Value> number() {
        std::size_t start = m_pos;
        if (m_pos < m_text.size() && m_text[m_pos] == '-') ++m_pos;
        bool integral = true;
        while (m_pos < m_text.size()) {
            char c = m_text[m_pos];
            if (c >= '0' && c <= '9') {
                ++m_pos;
            } else if (c == '.' || c == 'e' || c == 'E' || c == '+' || (c == '-' && m_pos > start)) {
                integral = false;
                ++m_pos;
            } else {
                break;
            }
        }
        std::string_view text = m_text.substr(start, m_pos - start);
        if (text.empty() || text == "-") return std::nullopt;
        if (integral) {
            if (auto i = wholeNumber<long long>(text)) return Value(*i);
        }
        if (auto d = wholeNumber<double>(text)) return Value(*d);
        return std::nullopt;
    }

    std::string_view m_text;
    const int m_maxDepth;
    std::size_t m_pos = 0;
};

}  // namespace

std::optional<Value> parseJSON(std::string_view text, int maxDepth) { return JSONReader(text, maxDepth).document(); }
