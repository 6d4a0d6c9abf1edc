#include "tests/support/Json.h"

#include "platform/core/NSString.h"

#include <cstdlib>
#include <string>

namespace testing_support {
namespace {

class Parser {
public:
    explicit Parser(std::string_view text) : m_text(text) {}

    std::optional<Value> document() {
        auto v = value();
        skipSpace();
        if (!v || m_pos != m_text.size()) return std::nullopt;
        return v;
    }

private:
    void skipSpace() {
        while (m_pos < m_text.size() && (m_text[m_pos] == ' ' || m_text[m_pos] == '\n' || m_text[m_pos] == '\r' ||
                                         m_text[m_pos] == '\t'))
            ++m_pos;
    }
    bool consume(std::string_view word) {
        if (m_text.substr(m_pos, word.size()) != word) return false;
        m_pos += word.size();
        return true;
    }

    std::optional<Value> value() {
        skipSpace();
        if (m_pos >= m_text.size()) return std::nullopt;
        const char c = m_text[m_pos];
        if (c == '{') return object();
        if (c == '[') return array();
        if (c == '"') {
            auto s = string();
            if (!s) return std::nullopt;
            return Value(std::move(*s));
        }
        if (consume("true")) return Value(true);
        if (consume("false")) return Value(false);
        if (consume("null")) return Value();
        return number();
    }

    std::optional<Value> object() {
        ++m_pos;
        Value::Dictionary d;
        skipSpace();
        if (consume("}")) return Value(std::move(d));
        while (true) {
            skipSpace();
            auto key = string();
            if (!key) return std::nullopt;
            skipSpace();
            if (!consume(":")) return std::nullopt;
            auto member = value();
            if (!member) return std::nullopt;
            d.insert_or_assign(std::move(*key), std::move(*member));
            skipSpace();
            if (consume("}")) return Value(std::move(d));
            if (!consume(",")) return std::nullopt;
        }
    }

    std::optional<Value> array() {
        ++m_pos;
        Value::Array a;
        skipSpace();
        if (consume("]")) return Value(std::move(a));
        while (true) {
            auto member = value();
            if (!member) return std::nullopt;
            a.push_back(std::move(*member));
            skipSpace();
            if (consume("]")) return Value(std::move(a));
            if (!consume(",")) return std::nullopt;
        }
    }

    std::optional<unsigned> hex4() {
        if (m_pos + 4 > m_text.size()) return std::nullopt;
        unsigned v = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = m_text[m_pos++];
            v <<= 4;
            if (c >= '0' && c <= '9') v |= static_cast<unsigned>(c - '0');
            else if (c >= 'a' && c <= 'f') v |= static_cast<unsigned>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F') v |= static_cast<unsigned>(c - 'A' + 10);
            else return std::nullopt;
        }
        return v;
    }

    std::optional<std::string> string() {
        if (!consume("\"")) return std::nullopt;
        std::string out;
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos++];
            if (c == '"') return out;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (m_pos >= m_text.size()) return std::nullopt;
            const char e = m_text[m_pos++];
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
                auto cp = hex4();
                if (!cp) return std::nullopt;
                if (*cp >= 0xD800 && *cp < 0xDC00 && consume("\\u")) {
                    auto low = hex4();
                    if (!low) return std::nullopt;
                    *cp = 0x10000 + ((*cp - 0xD800) << 10) + (*low - 0xDC00);
                }
                platform::appendUTF8(out, static_cast<char32_t>(*cp));
                break;
            }
            default: return std::nullopt;
            }
        }
        return std::nullopt;
    }

    std::optional<Value> number() {
        const std::size_t start = m_pos;
        bool integral = true;
        if (m_pos < m_text.size() && m_text[m_pos] == '-') ++m_pos;
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos];
            if (c >= '0' && c <= '9') {
                ++m_pos;
            } else if (c == '.' || c == 'e' || c == 'E' || c == '+' || c == '-') {
                integral = false;
                ++m_pos;
            } else {
                break;
            }
        }
        const std::string text(m_text.substr(start, m_pos - start));
        if (text.empty() || text == "-") return std::nullopt;
        char* end = nullptr;
        if (integral) {
            const long long i = std::strtoll(text.c_str(), &end, 10);
            if (*end) return std::nullopt;
            return Value(i);
        }
        const double d = std::strtod(text.c_str(), &end);
        if (*end) return std::nullopt;
        return Value(d);
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
};

}  // namespace

std::optional<Value> parseJson(std::string_view text) { return Parser(text).document(); }

}  // namespace testing_support
