#include "platform/core/PropertyList.h"

#include "platform/core/NSString.h"

#include <plist/plist.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <set>
#include <string_view>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

// Property-list dates count from 2001-01-01; ours from 1970-01-01.
constexpr double kAppleEpochOffset = 978307200.0;

struct NodeDeleter {
    void operator()(plist_t node) const { plist_free(node); }
};
using Node = std::unique_ptr<void, NodeDeleter>;

// The length of the valid UTF-8 sequence at s[i], or 0 when the bytes there are not one. Overlong forms,
// surrogates and values past U+10FFFF are as invalid as a stray byte.
std::size_t utf8SequenceLength(const unsigned char* s, std::size_t i, std::size_t length) {
    const unsigned char c = s[i];
    const std::size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
    if (n == 0 || i + n > length) return 0;
    std::uint32_t cp = n == 1 ? c : n == 2 ? (c & 0x1F) : n == 3 ? (c & 0x0F) : (c & 0x07);
    for (std::size_t k = 1; k < n; ++k) {
        if ((s[i + k] & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (s[i + k] & 0x3F);
    }
    if ((n == 2 && cp < 0x80) || (n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return n;
}

// Text a file can hold and give back unchanged: valid UTF-8 without a NUL (this libplist takes C strings).
bool isStorableText(std::string_view text) {
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    for (std::size_t i = 0; i < text.size();) {
        if (s[i] == 0) return false;
        if (s[i] < 0x80) {
            ++i;
            continue;
        }
        const std::size_t n = utf8SequenceLength(s, i, text.size());
        if (n == 0) return false;
        i += n;
    }
    return true;
}

// Text as the rest of the system can store it: valid UTF-8 up to the first NUL. libplist hands back whatever bytes a
// damaged file holds, and its binary writer turns invalid UTF-8 into a file that its own reader then refuses; each
// bad byte becomes U+FFFD instead, so a damaged value read and written back reads the same again.
std::string cleanText(const char* p, std::size_t length) {
    const auto* s = reinterpret_cast<const unsigned char*>(p);
    // Nearly all text is plain ASCII, which needs no decoding.
    std::size_t i = 0;
    while (i < length && s[i] != 0 && s[i] < 0x80) ++i;
    if (i == length || s[i] == 0) return std::string(p, i);
    std::string out;
    out.reserve(length);
    out.append(p, i);
    while (i < length && s[i] != 0) {
        const std::size_t n = utf8SequenceLength(s, i, length);
        if (n > 0) {
            out.append(p + i, n);
            i += n;
        } else {
            out += "\xEF\xBF\xBD";
            ++i;
        }
    }
    return out;
}

// Property-list dates count from 2001-01-01; libplist keeps them as whole seconds in 32 bits beside the
// microseconds, so only this range survives it.
bool isStorableDate(double since2001) {
    if (!std::isfinite(since2001)) return false;
    const double whole = std::trunc(since2001);
    return whole >= std::numeric_limits<std::int32_t>::min() && whole <= std::numeric_limits<std::int32_t>::max();
}

std::uint64_t readBigEndian(const std::uint8_t* p, unsigned size) {
    std::uint64_t v = 0;
    for (unsigned i = 0; i < size; ++i) v = (v << 8) | p[i];
    return v;
}

// Checks a binary file before libplist sees it, for what libplist would crash on or read as something else:
// - a dictionary key holding a NUL makes it abort (an assertion), so no string may hold a NUL byte (ASCII) or unit
//   (UTF-16);
// - it recurses once per level of nesting, so containers nest at most kMaximumPlistNesting deep (and never in a
//   loop);
// - it keeps integers in 64 bits and dates in 32-bit seconds, so a 16-byte integer must fit int64 and a date the
//   32-bit range;
// - a key given twice in one dictionary keeps one of the values, so keys are distinct.
// False when any of these fails, or the offset table and the objects it names do not hold together.
class BinaryCheck {
public:
    explicit BinaryCheck(std::span<const std::uint8_t> b) : m_b(b) {}

    bool acceptable() {
        if (m_b.size() < 8 + 32) return false;
        const std::uint8_t* trailer = m_b.data() + m_b.size() - 32;
        m_offsetSize = trailer[6];
        m_refSize = trailer[7];
        m_count = readBigEndian(trailer + 8, 8);
        const std::uint64_t top = readBigEndian(trailer + 16, 8);
        m_table = readBigEndian(trailer + 24, 8);
        m_end = m_b.size() - 32;
        if (m_offsetSize < 1 || m_offsetSize > 8 || m_refSize < 1 || m_refSize > 8 || m_table >= m_end ||
            m_count > (m_end - m_table) / m_offsetSize || top >= m_count)
            return false;
        for (std::uint64_t i = 0; i < m_count; ++i) {
            Object o;
            if (!object(i, o) || !scalarAcceptable(o)) return false;
        }
        return nestingAcceptable(top);
    }

private:
    struct Object {
        unsigned kind = 0;
        std::uint64_t start = 0;   // the first byte after the marker and length
        std::uint64_t length = 0;  // elements (containers), characters (strings), bytes (data)
        std::uint64_t marker = 0;  // where the object begins
        bool container() const { return kind == 0xA || kind == 0xC || kind == 0xD; }
        std::uint64_t refs() const { return kind == 0xD ? 2 * length : length; }
    };

    bool object(std::uint64_t index, Object& o) const {
        o.marker = readBigEndian(m_b.data() + m_table + index * m_offsetSize, m_offsetSize);
        if (o.marker < 8 || o.marker >= m_end) return false;
        const std::uint8_t m = m_b[o.marker];
        o.kind = m >> 4;
        o.length = m & 0x0F;
        o.start = o.marker + 1;
        if (o.kind >= 0x4 && o.kind != 0x7 && o.kind != 0x8 && o.kind != 0x9 && o.kind != 0xB && o.length == 0x0F) {
            if (o.start >= m_end || (m_b[o.start] >> 4) != 0x1) return false;
            const unsigned intSize = 1u << (m_b[o.start] & 0x0F);
            if (intSize > 8 || o.start + 1 + intSize > m_end) return false;
            o.length = readBigEndian(m_b.data() + o.start + 1, intSize);
            o.start += 1 + intSize;
        }
        const std::uint64_t room = m_end - o.start;
        switch (o.kind) {
        case 0x5:
        case 0x4:
            return o.length <= room;
        case 0x6:
            return o.length <= room / 2;
        case 0xA:
        case 0xC:
        case 0xD:
            return o.refs() <= room / m_refSize && o.length <= room;
        default:
            return true;
        }
    }

    bool scalarAcceptable(const Object& o) const {
        const std::uint8_t* p = m_b.data() + o.start;
        switch (o.kind) {
        case 0x1: {
            const unsigned size = 1u << (m_b[o.marker] & 0x0F);
            if (size > 16 || o.marker + 1 + size > m_end) return false;
            if (size < 16) return true;
            // Sixteen bytes only for values past int64; the upper half must merely extend the lower one's sign.
            const std::uint64_t high = readBigEndian(p, 8), low = readBigEndian(p + 8, 8);
            return high == ((low >> 63) ? ~std::uint64_t{0} : 0);
        }
        case 0x3: {
            if ((m_b[o.marker] & 0x0F) != 3 || o.marker + 9 > m_end) return false;
            const std::uint64_t bits = readBigEndian(p, 8);
            double since2001 = 0;
            std::memcpy(&since2001, &bits, sizeof since2001);
            return isStorableDate(since2001);
        }
        case 0x5:
            return std::find(p, p + o.length, 0) == p + o.length;
        case 0x6:
            for (std::uint64_t k = 0; k < o.length; ++k)
                if (p[2 * k] == 0 && p[2 * k + 1] == 0) return false;
            return true;
        default:
            return true;
        }
    }

    std::uint64_t ref(const Object& o, std::uint64_t i) const {
        return readBigEndian(m_b.data() + o.start + i * m_refSize, m_refSize);
    }

    bool keysDistinct(const Object& dict) const {
        std::vector<std::string_view> keys;
        keys.reserve(dict.length);
        for (std::uint64_t i = 0; i < dict.length; ++i) {
            const std::uint64_t index = ref(dict, i);
            Object key;
            if (index >= m_count || !object(index, key) || (key.kind != 0x5 && key.kind != 0x6)) return false;
            const std::uint64_t bytes = key.kind == 0x6 ? 2 * key.length : key.length;
            // The marker is part of the text, so an ASCII and a UTF-16 spelling never count as one key.
            keys.emplace_back(reinterpret_cast<const char*>(m_b.data() + key.marker),
                              static_cast<std::size_t>(key.start - key.marker + bytes));
        }
        std::sort(keys.begin(), keys.end());
        return std::adjacent_find(keys.begin(), keys.end()) == keys.end();
    }

    // Depth first with an explicit stack that never grows past the limit; each container's height (the levels of
    // containers it holds, itself included) is kept, so shared objects are walked once.
    bool nestingAcceptable(std::uint64_t top) {
        constexpr std::int32_t kUnseen = -1, kOnStack = -2;
        std::vector<std::int32_t> height(m_count, kUnseen);
        struct Frame {
            std::uint64_t index;
            Object object;
            std::uint64_t next = 0;
            std::int32_t tallest = 0;
        };
        std::vector<Frame> stack;
        auto enter = [&](std::uint64_t index) {
            Object o;
            if (!object(index, o)) return false;
            if (!o.container()) {
                height[index] = 0;
                return true;
            }
            if (stack.size() + 1 > kMaximumPlistNesting) return false;
            if (o.kind == 0xD && !keysDistinct(o)) return false;
            height[index] = kOnStack;
            stack.push_back({index, o});
            return true;
        };
        if (!enter(top)) return false;
        while (!stack.empty()) {
            Frame& f = stack.back();
            if (f.next == f.object.refs()) {
                const std::int32_t h = f.tallest + 1;
                height[f.index] = h;
                stack.pop_back();
                if (!stack.empty()) stack.back().tallest = std::max(stack.back().tallest, h);
                continue;
            }
            const std::uint64_t child = ref(f.object, f.next++);
            if (child >= m_count || height[child] == kOnStack) return false;
            if (height[child] == kUnseen) {
                const std::size_t depth = stack.size();
                if (!enter(child)) return false;
                if (stack.size() > depth) continue;
            }
            Frame& parent = stack.back();
            parent.tallest = std::max(parent.tallest, height[child]);
            if (stack.size() + static_cast<std::size_t>(height[child]) > kMaximumPlistNesting) return false;
        }
        return true;
    }

    std::span<const std::uint8_t> m_b;
    unsigned m_offsetSize = 0, m_refSize = 0;
    std::uint64_t m_count = 0, m_table = 0, m_end = 0;
};

// The same for XML, which libplist's reader also takes recursively and leniently: containers nest at most
// kMaximumPlistNesting deep, <integer> holds a decimal (or 0x hexadecimal) number in the signed 64-bit range,
// <data> strict base64, <date> "YYYY-MM-DDTHH:MM:SSZ" in the 32-bit range, and no dictionary names a key twice.
// Only element structure is looked at: text is not decoded beyond the keys' entities, and whatever else is wrong is
// left to libplist, which refuses it.
class XmlCheck {
public:
    explicit XmlCheck(std::string_view x) : m_x(x) {}

    bool acceptable() {
        std::size_t i = 0;
        while ((i = m_x.find('<', i)) != std::string_view::npos) {
            const std::string_view rest = m_x.substr(i);
            if (rest.starts_with("<!--")) {
                i = skipPast(i, "-->");
            } else if (rest.starts_with("<![CDATA[")) {
                i = skipPast(i, "]]>");
            } else if (rest.starts_with("<?")) {
                i = skipPast(i, "?>");
            } else if (rest.starts_with("<!")) {
                // A document type; its internal subset, if any, ends with "]>".
                const std::size_t close = m_x.find('>', i), subset = m_x.find('[', i);
                i = subset < close ? skipPast(subset, "]>") : skipPast(i, ">");
            } else if (!element(i)) {
                return false;
            }
        }
        return true;
    }

private:
    std::size_t skipPast(std::size_t from, std::string_view end) const {
        const std::size_t at = m_x.find(end, from);
        return at == std::string_view::npos ? m_x.size() : at + end.size();
    }

    // The tag at `i`; advances `i` past it (and past the text of a checked element).
    bool element(std::size_t& i) {
        const bool closing = i + 1 < m_x.size() && m_x[i + 1] == '/';
        std::size_t n = i + (closing ? 2 : 1);
        const std::size_t nameStart = n;
        while (n < m_x.size() && std::isalnum(static_cast<unsigned char>(m_x[n]))) ++n;
        const std::string_view name = m_x.substr(nameStart, n - nameStart);
        const std::size_t end = m_x.find('>', n);
        if (end == std::string_view::npos) {
            i = m_x.size();
            return true;
        }
        const bool empty = m_x[end - 1] == '/';
        i = end + 1;
        const bool container = name == "array" || name == "dict";
        if (closing) {
            if (container && !m_open.empty()) m_open.pop_back();
            return true;
        }
        if (empty) return true;
        if (container) {
            m_open.push_back({name == "dict", {}});
            return m_open.size() <= kMaximumPlistNesting;
        }
        if (name != "key" && name != "integer" && name != "data" && name != "date") return true;
        const std::string closeTag = "</" + std::string(name);
        const std::size_t close = m_x.find(closeTag, i);
        if (close == std::string_view::npos) return true;
        const std::string_view text = m_x.substr(i, close - i);
        i = close;
        if (name == "key") return m_open.empty() || !m_open.back().dict || m_open.back().keys.insert(decoded(text)).second;
        if (name == "integer") return isInteger(trimmed(text));
        if (name == "data") return isBase64(text);
        return isDate(trimmed(text));
    }

    static std::string_view trimmed(std::string_view s) {
        const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
        while (!s.empty() && space(s.front())) s.remove_prefix(1);
        while (!s.empty() && space(s.back())) s.remove_suffix(1);
        return s;
    }

    // The predefined entities and character references, enough to tell two spellings of one key apart.
    static std::string decoded(std::string_view s) {
        std::string out;
        for (std::size_t i = 0; i < s.size(); ++i) {
            const std::size_t semi = s[i] == '&' ? s.find(';', i) : std::string_view::npos;
            if (semi == std::string_view::npos) {
                out += s[i];
                continue;
            }
            const std::string_view entity = s.substr(i + 1, semi - i - 1);
            static const std::pair<std::string_view, char> named[] = {
                {"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"quot", '"'}, {"apos", '\''}};
            bool known = false;
            for (const auto& [n, c] : named)
                if (entity == n) out += c, known = true;
            if (!known && entity.size() > 1 && entity[0] == '#') {
                const bool hex = entity[1] == 'x';
                unsigned long cp = std::strtoul(std::string(entity.substr(hex ? 2 : 1)).c_str(), nullptr, hex ? 16 : 10);
                // Encoded as UTF-8 so that it equals the same character written out. A reference to no character
                // (a surrogate, or past U+10FFFF) stays as written, so two different ones stay apart.
                const bool scalar = cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF);
                if (!scalar) {
                    out += s[i];
                    continue;
                }
                platform::appendUTF8(out, static_cast<char32_t>(cp));
                known = true;
            }
            if (!known) {
                out += s[i];
                continue;
            }
            i = semi;
        }
        return out;
    }

    static bool isInteger(std::string_view s) {
        bool negative = false;
        if (!s.empty() && (s[0] == '-' || s[0] == '+')) {
            negative = s[0] == '-';
            s.remove_prefix(1);
        }
        const bool hex = s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X');
        if (hex) s.remove_prefix(2);
        if (s.empty() || (hex && negative)) return false;
        const unsigned base = hex ? 16 : 10;
        // The magnitude may reach 2^63 for a negative number, 2^63 - 1 otherwise.
        const std::uint64_t limit = negative ? std::uint64_t{1} << 63 : (std::uint64_t{1} << 63) - 1;
        std::uint64_t v = 0;
        for (char c : s) {
            unsigned digit;
            if (c >= '0' && c <= '9') digit = static_cast<unsigned>(c - '0');
            else if (hex && c >= 'a' && c <= 'f') digit = static_cast<unsigned>(c - 'a' + 10);
            else if (hex && c >= 'A' && c <= 'F') digit = static_cast<unsigned>(c - 'A' + 10);
            else return false;
            if (v > (limit - digit) / base) return false;
            v = v * base + digit;
        }
        return true;
    }

    static bool isBase64(std::string_view s) {
        std::string packed;
        for (char c : s)
            if (c != ' ' && c != '\t' && c != '\r' && c != '\n') packed += c;
        if (packed.size() % 4 != 0) return false;
        for (std::size_t i = 0; i < packed.size(); ++i) {
            const char c = packed[i];
            const bool letter = std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '/';
            // Padding only at the end: "xx==" or "xxx=".
            const bool padding = c == '=' && (i + 1 == packed.size() || (i + 2 == packed.size() && packed[i + 1] == '='));
            if (!letter && !padding) return false;
        }
        return true;
    }

    static bool isDate(std::string_view s) {
        // YYYY-MM-DDTHH:MM:SSZ
        if (s.size() != 20 || s[4] != '-' || s[7] != '-' || s[10] != 'T' || s[13] != ':' || s[16] != ':' || s[19] != 'Z')
            return false;
        auto number = [&](std::size_t at, std::size_t digits, long& out) {
            out = 0;
            for (std::size_t k = at; k < at + digits; ++k) {
                if (s[k] < '0' || s[k] > '9') return false;
                out = out * 10 + (s[k] - '0');
            }
            return true;
        };
        long y, m, d, hh, mm, ss;
        if (!number(0, 4, y) || !number(5, 2, m) || !number(8, 2, d) || !number(11, 2, hh) || !number(14, 2, mm) ||
            !number(17, 2, ss) || m < 1 || m > 12 || d < 1 || d > 31 || hh > 23 || mm > 59 || ss > 60)
            return false;
        // Days from the civil date (proleptic Gregorian), as in Howard Hinnant's algorithm.
        const long yy = y - (m <= 2 ? 1 : 0);
        const long era = yy / 400;
        const long yoe = yy - era * 400;
        const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
        const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
        const long days = era * 146097 + doe - 719468;
        const double since1970 = static_cast<double>(days) * 86400.0 + static_cast<double>(hh * 3600 + mm * 60 + ss);
        return isStorableDate(since1970 - kAppleEpochOffset);
    }

    struct Open {
        bool dict;
        std::set<std::string> keys;
    };
    std::string_view m_x;
    std::vector<Open> m_open;
};

// What serializePropertyList() refuses; see the header.
bool isStorable(const Value& value, std::size_t depth) {
    switch (value.type()) {
    case Value::Type::String:
        return isStorableText(*value.asString());
    case Value::Type::Date:
        return isStorableDate(value.asDate()->secondsSince1970 - kAppleEpochOffset);
    case Value::Type::Array:
        if (depth + 1 > kMaximumPlistNesting) return false;
        for (const auto& item : *value.asArray())
            if (!isStorable(item, depth + 1)) return false;
        return true;
    case Value::Type::Dictionary:
        if (depth + 1 > kMaximumPlistNesting) return false;
        for (const auto& [key, item] : *value.asDictionary())
            if (!isStorableText(key) || !isStorable(item, depth + 1)) return false;
        return true;
    default:
        return true;
    }
}

plist_t toNode(const Value& value);

PlistDate dateOfNode(plist_t node) {
    int32_t sec = 0, usec = 0;
    plist_get_date_val(node, &sec, &usec);
    // libplist's binary reader hands back the fraction of a date before 2001 without its sign. (Within the
    // first second before 2001 the sign is lost altogether; no stored value lives there.)
    const double fraction = std::abs(static_cast<double>(usec)) / 1e6;
    const double since2001 = sec < 0 ? sec - fraction : sec + usec / 1e6;
    return PlistDate{since2001 + kAppleEpochOffset};
}

// libplist writes a date as one number of seconds and reads its microseconds back truncated, so a binary date can
// come back a microsecond earlier from every rewrite of the file. The date handed out is the first one that a
// rewrite keeps, so the store never moves a date that nobody changed. About half of all microsecond values read back
// one lower, so the walk down to a kept one is short; the bound only guards against a libplist that never settles.
PlistDate stableDate(PlistDate date) {
    for (int round = 0; round < 64; ++round) {
        Node written(toNode(Value(date)));
        char* bytes = nullptr;
        uint32_t length = 0;
        plist_to_bin(written.get(), &bytes, &length);
        if (!bytes) return date;
        plist_t read = nullptr;
        plist_from_bin(bytes, length, &read);
        plist_to_bin_free(bytes);
        Node root(read);
        if (!root || plist_get_node_type(root.get()) != PLIST_DATE) return date;
        const PlistDate again = dateOfNode(root.get());
        if (again == date) return date;
        date = again;
    }
    return date;
}

std::optional<Value> fromNode(plist_t node, std::size_t depth) {
    // The checks above bound the nesting before libplist parses; this keeps the walk bounded whatever it hands back.
    if (!node || depth > kMaximumPlistNesting) return std::nullopt;
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        uint8_t b = 0;
        plist_get_bool_val(node, &b);
        return Value(b != 0);
    }
    case PLIST_UINT: {
        // libplist keeps every integer as 64 raw bits; negative numbers arrive as their two's complement.
        uint64_t u = 0;
        plist_get_uint_val(node, &u);
        return Value(static_cast<long long>(static_cast<std::int64_t>(u)));
    }
    case PLIST_REAL: {
        double d = 0;
        plist_get_real_val(node, &d);
        return Value(d);
    }
    case PLIST_STRING:
    case PLIST_KEY: {
        uint64_t length = 0;
        const char* p = plist_get_string_ptr(node, &length);
        return Value(p ? cleanText(p, length) : std::string());
    }
    case PLIST_DATA: {
        uint64_t length = 0;
        const char* p = plist_get_data_ptr(node, &length);
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(p);
        return Value(Value::Data(bytes, bytes + (p ? length : 0)));
    }
    case PLIST_DATE:
        return Value(stableDate(dateOfNode(node)));
    case PLIST_ARRAY: {
        Value::Array array;
        const uint32_t n = plist_array_get_size(node);
        array.reserve(n);
        for (uint32_t i = 0; i < n; ++i) {
            auto item = fromNode(plist_array_get_item(node, i), depth + 1);
            if (!item) return std::nullopt;
            array.push_back(std::move(*item));
        }
        return Value(std::move(array));
    }
    case PLIST_DICT: {
        Value::Dictionary dict;
        plist_dict_iter it = nullptr;
        plist_dict_new_iter(node, &it);
        if (!it) return Value(std::move(dict));
        for (;;) {
            char* key = nullptr;
            plist_t item = nullptr;
            plist_dict_next_item(node, it, &key, &item);
            if (!item) {
                std::free(key);
                break;
            }
            auto v = fromNode(item, depth + 1);
            if (!v || !key) {
                std::free(key);
                std::free(it);
                return std::nullopt;
            }
            // Files we write list their keys in order, so the hint makes each insertion constant time. Keys are
            // distinct (checked before parsing); a damaged one cleaned into another's spelling loses the file.
            const auto size = dict.size();
            dict.try_emplace(dict.end(), cleanText(key, std::strlen(key)), std::move(*v));
            if (dict.size() == size) {
                std::free(key);
                std::free(it);
                return std::nullopt;
            }
            std::free(key);
        }
        std::free(it);
        return Value(std::move(dict));
    }
    case PLIST_UID:
    case PLIST_NONE:
        break;
    }
    return std::nullopt;
}

plist_t toNode(const Value& value) {
    switch (value.type()) {
    case Value::Type::None:
        // The format has no null; an absent value never reaches a file, but an empty string is the least surprising
        // stand-in should a caller put one inside an array.
        return plist_new_string("");
    case Value::Type::Boolean:
        return plist_new_bool(*value.asBoolean() ? 1 : 0);
    case Value::Type::Integer:
        return plist_new_uint(static_cast<uint64_t>(*value.asInteger()));
    case Value::Type::Real:
        return plist_new_real(*value.asReal());
    case Value::Type::String:
        // This libplist takes C strings; text with a NUL was refused before (isStorable).
        return plist_new_string(value.asString()->c_str());
    case Value::Type::Data: {
        const auto& d = *value.asData();
        return plist_new_data(reinterpret_cast<const char*>(d.data()), d.size());
    }
    case Value::Type::Date: {
        // Split toward zero: libplist adds the microseconds with the sign of the seconds, so a date before 2001
        // needs both parts negative.
        const double since2001 = value.asDate()->secondsSince1970 - kAppleEpochOffset;
        const double whole = std::trunc(since2001);
        const auto usec = static_cast<int32_t>(std::llround((since2001 - whole) * 1e6));
        return plist_new_date(static_cast<int32_t>(whole), usec);
    }
    case Value::Type::Array: {
        plist_t array = plist_new_array();
        for (const auto& item : *value.asArray()) plist_array_append_item(array, toNode(item));
        return array;
    }
    case Value::Type::Dictionary: {
        plist_t dict = plist_new_dict();
        for (const auto& [key, item] : *value.asDictionary()) plist_dict_set_item(dict, key.c_str(), toNode(item));
        return dict;
    }
    }
    return plist_new_string("");
}

bool writeAll(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

std::optional<Value> parsePropertyList(std::span<const std::uint8_t> bytes) {
    if (bytes.empty() || bytes.size() > std::numeric_limits<uint32_t>::max()) return std::nullopt;
    const char* data = reinterpret_cast<const char*>(bytes.data());
    const auto length = static_cast<uint32_t>(bytes.size());
    plist_t root = nullptr;
    if (length >= 8 && std::memcmp(data, "bplist00", 8) == 0) {
        if (!BinaryCheck(bytes).acceptable()) return std::nullopt;
        plist_from_bin(data, length, &root);
    } else {
        // Only text that opens like XML goes to the XML reader: it is lenient with arbitrary bytes and we would
        // rather call a stray file unreadable than guess at its content.
        std::size_t i = 0;
        while (i < bytes.size() && (data[i] == ' ' || data[i] == '\t' || data[i] == '\r' || data[i] == '\n')) ++i;
        if (i + 3 <= bytes.size() && std::memcmp(data + i, "\xEF\xBB\xBF", 3) == 0) i += 3;
        if (i >= bytes.size() || data[i] != '<') return std::nullopt;
        if (!XmlCheck(std::string_view(data, bytes.size())).acceptable()) return std::nullopt;
        plist_from_xml(data, length, &root);
    }
    Node owner(root);
    return fromNode(root, 0);
}

std::vector<std::uint8_t> serializePropertyList(const Value& value, PlistFormat format) {
    if (!isStorable(value, 0)) return {};
    Node root(toNode(value));
    char* out = nullptr;
    uint32_t length = 0;
    if (format == PlistFormat::Binary)
        plist_to_bin(root.get(), &out, &length);
    else
        plist_to_xml(root.get(), &out, &length);
    std::vector<std::uint8_t> bytes;
    if (out) {
        bytes.assign(reinterpret_cast<std::uint8_t*>(out), reinterpret_cast<std::uint8_t*>(out) + length);
        if (format == PlistFormat::Binary)
            plist_to_bin_free(out);
        else
            plist_to_xml_free(out);
    }
    if (bytes.size() > kMaximumPlistFileSize) return {};
    return bytes;
}

PlistFileContents loadPropertyListFile(const std::filesystem::path& path) {
    auto failed = [](PlistFileFailure why) { return PlistFileContents{std::nullopt, why}; };
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return failed(errno == ENOENT || errno == ENOTDIR ? PlistFileFailure::Missing : PlistFileFailure::Damaged);
    // A pipe opened for reading waits for a writer, so nothing but a regular file is opened; O_NONBLOCK keeps even a
    // pipe swapped in after the stat from blocking the open, and the fstat then refuses it.
    if (!S_ISREG(st.st_mode)) return failed(PlistFileFailure::NotRegularFile);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return failed(errno == ENOENT ? PlistFileFailure::Missing : PlistFileFailure::Damaged);
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return failed(PlistFileFailure::NotRegularFile);
    }
    if (static_cast<std::uint64_t>(st.st_size) > kMaximumPlistFileSize) {
        ::close(fd);
        return failed(PlistFileFailure::TooLarge);
    }
    // Sized from fstat and read in one go. Files are replaced whole, never grown in place, so reading stops at the
    // size fstat gave.
    // Left uninitialised: a profile picture makes the file tens of megabytes, and every byte is read over anyway.
    const auto size = static_cast<std::size_t>(st.st_size);
    const std::unique_ptr<std::uint8_t[]> bytes(new std::uint8_t[size ? size : 1]);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::read(fd, bytes.get() + done, size - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            return failed(PlistFileFailure::Damaged);
        }
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    auto value = parsePropertyList(std::span<const std::uint8_t>(bytes.get(), done));
    if (!value) return failed(PlistFileFailure::Damaged);
    return {std::move(value), std::nullopt};
}

std::optional<Value> readPropertyListFile(const std::filesystem::path& path) {
    return loadPropertyListFile(path).value;
}

bool writePropertyListFile(const std::filesystem::path& path, const Value& value, PlistFormat format) {
    const std::vector<std::uint8_t> bytes = serializePropertyList(value, format);
    if (bytes.empty()) return false;
    // The temporary name is unique per process and call, so concurrent writers never share one; rename(2) then
    // swaps the whole file in, and a reader (or a crash) sees either the old file or the new one.
    static std::atomic<unsigned> counter{0};
    std::filesystem::path temp = path;
    temp += "." + std::to_string(::getpid()) + "." + std::to_string(counter++) + ".tmp";
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool ok = writeAll(fd, bytes.data(), bytes.size()) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok) ok = ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    // Make the rename itself durable: without syncing the folder a power loss could bring back the old entry.
    std::filesystem::path folder = path.parent_path();
    if (folder.empty()) folder = ".";
    const int dirfd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirfd >= 0) {
        ::fsync(dirfd);
        ::close(dirfd);
    }
    return true;
}

}  // namespace platform
