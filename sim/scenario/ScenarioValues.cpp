#include "sim/scenario/ScenarioValues.h"

#include "platform/core/NSString.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace sim::scenario {

namespace {

template <typename T>
std::optional<T> fullNumber(std::string_view text) {
    if (text.empty()) return std::nullopt;
    if (text.front() == '+') text.remove_prefix(1);
    T value{};
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// Days from 1970-01-01 to a civil date of the proleptic Gregorian calendar.
long long daysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

bool isLeap(long long y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

class JsonReader {
public:
    explicit JsonReader(std::string_view text) : m_text(text) {}

    std::optional<Value> document() {
        auto v = value(0);
        skipSpace();
        if (!v || m_pos != m_text.size()) return std::nullopt;
        return v;
    }

private:
    static constexpr int kMaxDepth = 64;

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
        if (depth > kMaxDepth) return std::nullopt;
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
            if (auto i = fullNumber<long long>(text)) return Value(*i);
        }
        if (auto d = fullNumber<double>(text)) return Value(*d);
        return std::nullopt;
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
};

}  // namespace

std::optional<double> parseDuration(std::string_view text) {
    double unit = 1;
    if (text.ends_with("ms")) {
        unit = 0.001;
        text.remove_suffix(2);
    } else if (text.ends_with("s")) {
        text.remove_suffix(1);
    } else if (text.ends_with("m")) {
        unit = 60;
        text.remove_suffix(1);
    }
    auto n = fullNumber<double>(text);
    if (!n || *n < 0 || !std::isfinite(*n)) return std::nullopt;
    return *n * unit;
}

std::optional<double> parseDateTime(std::string_view date, std::string_view time) {
    if (date.size() != 10 || date[4] != '-' || date[7] != '-') return std::nullopt;
    auto y = fullNumber<int>(date.substr(0, 4));
    auto mo = fullNumber<int>(date.substr(5, 2));
    auto d = fullNumber<int>(date.substr(8, 2));
    if (!y || !mo || !d || *y < 1970 || *mo < 1 || *mo > 12 || *d < 1) return std::nullopt;
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int monthDays = kDays[*mo - 1] + (*mo == 2 && isLeap(*y) ? 1 : 0);
    if (*d > monthDays) return std::nullopt;

    if ((time.size() != 5 && time.size() != 8) || time[2] != ':' || (time.size() == 8 && time[5] != ':'))
        return std::nullopt;
    auto h = fullNumber<int>(time.substr(0, 2));
    auto mi = fullNumber<int>(time.substr(3, 2));
    std::optional<int> s = time.size() == 8 ? fullNumber<int>(time.substr(6, 2)) : std::optional<int>(0);
    if (!h || !mi || !s || *h > 23 || *mi > 59 || *s > 59 || *h < 0 || *mi < 0 || *s < 0) return std::nullopt;
    long long days = daysFromCivil(*y, static_cast<unsigned>(*mo), static_cast<unsigned>(*d));
    return static_cast<double>(days * 86400 + *h * 3600 + *mi * 60 + *s);
}

std::optional<bool> parseBool(std::string_view text) {
    if (text == "true" || text == "yes" || text == "on" || text == "1") return true;
    if (text == "false" || text == "no" || text == "off" || text == "0") return false;
    return std::nullopt;
}

std::optional<long long> parseInteger(std::string_view text) { return fullNumber<long long>(text); }

std::optional<double> parseNumber(std::string_view text) {
    auto n = fullNumber<double>(text);
    if (!n || !std::isfinite(*n)) return std::nullopt;
    return n;
}

std::optional<std::pair<double, double>> parsePoint(std::string_view text) {
    auto comma = text.find(',');
    if (comma == std::string_view::npos) return std::nullopt;
    auto x = parseNumber(text.substr(0, comma));
    auto y = parseNumber(text.substr(comma + 1));
    if (!x || !y) return std::nullopt;
    return std::pair{*x, *y};
}

std::optional<Value> parseJsonValue(std::string_view text) { return JsonReader(text).document(); }

}  // namespace sim::scenario
