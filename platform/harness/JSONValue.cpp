#include "platform/harness/JSONValue.h"

#include "platform/core/NSString.h"
#include "platform/harness/JSONWriter.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

void appendNumber(std::string& out, double d) {
    // JSON has no infinities or NaN; a report never needs them, so they become null rather than invalid text.
    if (!std::isfinite(d)) {
        out += "null";
        return;
    }
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.17g", d);
    // The shortest text that reads back as the same double keeps 40 as "40" and 0.1 as "0.1". Below 1e17 a
    // longer precision always reaches the plain form, so an exponent (40 at one digit is "4e+01") waits for it.
    const bool plainReachable = std::fabs(d) >= 1e-4 && std::fabs(d) < 1e17;
    for (int precision = 1; precision <= 17; ++precision) {
        char shorter[32];
        std::snprintf(shorter, sizeof shorter, "%.*g", precision, d);
        if (plainReachable && std::strchr(shorter, 'e')) continue;
        if (std::strtod(shorter, nullptr) == d) {
            out += shorter;
            return;
        }
    }
    out += buf;
}

std::string base64(const Value::Data& data) {
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    std::size_t i = 0;
    for (; i + 2 < data.size(); i += 3) {
        const unsigned n = (data[i] << 16) | (data[i + 1] << 8) | data[i + 2];
        for (int s = 18; s >= 0; s -= 6) out += kAlphabet[(n >> s) & 63];
    }
    if (i + 1 == data.size()) {
        const unsigned n = data[i] << 16;
        out += kAlphabet[(n >> 18) & 63];
        out += kAlphabet[(n >> 12) & 63];
        out += "==";
    } else if (i + 2 == data.size()) {
        const unsigned n = (data[i] << 16) | (data[i + 1] << 8);
        out += kAlphabet[(n >> 18) & 63];
        out += kAlphabet[(n >> 12) & 63];
        out += kAlphabet[(n >> 6) & 63];
        out += '=';
    }
    return out;
}

void write(std::string& out, const Value& v, int indent, int level) {
    auto newline = [&](int lvl) {
        if (indent <= 0) return;
        out += '\n';
        out.append(static_cast<std::size_t>(indent * lvl), ' ');
    };
    switch (v.type()) {
    case Value::Type::None: out += "null"; break;
    case Value::Type::Boolean: out += *v.asBoolean() ? "true" : "false"; break;
    case Value::Type::Integer: out += std::to_string(*v.asInteger()); break;
    case Value::Type::Real: appendNumber(out, *v.asReal()); break;
    case Value::Type::String: appendJSONString(out, *v.asString()); break;
    case Value::Type::Data: appendJSONString(out, base64(*v.asData())); break;
    case Value::Type::Date: appendNumber(out, v.asDate()->secondsSince1970); break;
    case Value::Type::Array: {
        const auto& a = *v.asArray();
        out += '[';
        for (std::size_t i = 0; i < a.size(); ++i) {
            if (i) out += indent > 0 ? "," : ", ";
            newline(level + 1);
            write(out, a[i], indent, level + 1);
        }
        if (!a.empty()) newline(level);
        out += ']';
        break;
    }
    case Value::Type::Dictionary: {
        const auto& d = *v.asDictionary();
        out += '{';
        bool first = true;
        for (const auto& [key, member] : d) {
            if (!first) out += indent > 0 ? "," : ", ";
            first = false;
            newline(level + 1);
            appendJSONString(out, key);
            out += ": ";
            write(out, member, indent, level + 1);
        }
        if (!d.empty()) newline(level);
        out += '}';
        break;
    }
    }
}

}  // namespace

std::optional<Value> parseJSON(std::string_view text, int maxDepth) { return JSONReader(text, maxDepth).document(); }

std::string toJSON(const Value& value, int indent) {
    std::string out;
    write(out, value, indent, 0);
    return out;
}
