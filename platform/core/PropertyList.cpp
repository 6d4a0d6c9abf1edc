#include "platform/core/PropertyList.h"

#include <plist/plist.h>

#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

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
        const unsigned char c = s[i];
        std::size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
        bool ok = n > 0 && i + n <= length;
        std::uint32_t cp = n == 1 ? c : n == 2 ? (c & 0x1F) : n == 3 ? (c & 0x0F) : (c & 0x07);
        for (std::size_t k = 1; ok && k < n; ++k) {
            if ((s[i + k] & 0xC0) != 0x80) ok = false;
            cp = (cp << 6) | (s[i + k] & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are as invalid as a stray byte.
        if (ok && ((n == 2 && cp < 0x80) || (n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
                   (cp >= 0xD800 && cp <= 0xDFFF)))
            ok = false;
        if (ok) {
            out.append(p + i, n);
            i += n;
        } else {
            out += "\xEF\xBF\xBD";
            ++i;
        }
    }
    return out;
}

std::uint64_t readBigEndian(const std::uint8_t* p, unsigned size) {
    std::uint64_t v = 0;
    for (unsigned i = 0; i < size; ++i) v = (v << 8) | p[i];
    return v;
}

// libplist aborts the process (an assertion) when it is asked for a dictionary key that holds a NUL, which only a
// damaged binary file contains. So before parsing, every string object the offset table names is checked for a NUL
// byte (ASCII) or unit (UTF-16). Damage that breaks the table itself is left to libplist, which refuses it.
bool binaryHasNulString(std::span<const std::uint8_t> b) {
    if (b.size() < 8 + 32) return false;
    const std::uint8_t* trailer = b.data() + b.size() - 32;
    const unsigned offsetSize = trailer[6];
    const std::uint64_t count = readBigEndian(trailer + 8, 8);
    const std::uint64_t table = readBigEndian(trailer + 24, 8);
    if (offsetSize < 1 || offsetSize > 8 || table >= b.size() || count > (b.size() - table) / offsetSize)
        return false;
    const std::size_t end = b.size() - 32;
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint64_t at = readBigEndian(b.data() + table + i * offsetSize, offsetSize);
        if (at >= end) continue;
        const std::uint8_t marker = b[at];
        const unsigned kind = marker >> 4;
        if (kind != 0x5 && kind != 0x6) continue;
        std::uint64_t length = marker & 0x0F;
        std::uint64_t start = at + 1;
        if (length == 0x0F) {
            if (start >= end || (b[start] >> 4) != 0x1) continue;
            const unsigned intSize = 1u << (b[start] & 0x0F);
            if (intSize > 8 || start + 1 + intSize > end) continue;
            length = readBigEndian(b.data() + start + 1, intSize);
            start += 1 + intSize;
        }
        const std::uint64_t unit = kind == 0x6 ? 2 : 1;
        if (length > (end - start) / unit) continue;
        for (std::uint64_t k = 0; k < length; ++k) {
            const std::uint8_t* c = b.data() + start + k * unit;
            if (c[0] == 0 && (unit == 1 || c[1] == 0)) return true;
        }
    }
    return false;
}

std::optional<Value> fromNode(plist_t node, int depth);

std::optional<Value> fromNode(plist_t node, int depth) {
    // A hostile file could nest arrays deeply enough to exhaust the stack; nothing we store comes close.
    if (!node || depth > 512) return std::nullopt;
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
    case PLIST_DATE: {
        int32_t sec = 0, usec = 0;
        plist_get_date_val(node, &sec, &usec);
        // libplist's binary reader hands back the fraction of a date before 2001 without its sign. (Within the
        // first second before 2001 the sign is lost altogether; no stored value lives there.)
        const double fraction = std::abs(usec) / 1e6;
        const double since2001 = sec < 0 ? sec - fraction : sec + usec / 1e6;
        return Value(PlistDate{since2001 + kAppleEpochOffset});
    }
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
            // Files we write list their keys in order, so the hint makes each insertion constant time. On a
            // duplicate key (only a damaged file has one) the first stays.
            dict.try_emplace(dict.end(), cleanText(key, std::strlen(key)), std::move(*v));
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
        // This libplist takes C strings, so text ends at an embedded NUL; keys and user text never carry one.
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
        if (binaryHasNulString(bytes)) return std::nullopt;
        plist_from_bin(data, length, &root);
    } else {
        // Only text that opens like XML goes to the XML reader: it is lenient with arbitrary bytes and we would
        // rather call a stray file unreadable than guess at its content.
        std::size_t i = 0;
        while (i < bytes.size() && (data[i] == ' ' || data[i] == '\t' || data[i] == '\r' || data[i] == '\n')) ++i;
        if (i + 3 <= bytes.size() && std::memcmp(data + i, "\xEF\xBB\xBF", 3) == 0) i += 3;
        if (i >= bytes.size() || data[i] != '<') return std::nullopt;
        plist_from_xml(data, length, &root);
    }
    Node owner(root);
    return fromNode(root, 0);
}

std::vector<std::uint8_t> serializePropertyList(const Value& value, PlistFormat format) {
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
    return bytes;
}

std::optional<Value> readPropertyListFile(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    // Sized from fstat and read in one go. Files are replaced whole, never grown in place, so reading stops at the
    // size fstat gave; only a size fstat cannot tell (0, as for special files) reads on to the end.
    struct stat st {};
    const bool sized = ::fstat(fd, &st) == 0 && st.st_size > 0;
    std::vector<std::uint8_t> bytes(sized ? static_cast<std::size_t>(st.st_size) : 4096);
    std::size_t done = 0;
    for (;;) {
        if (done == bytes.size()) {
            if (sized) break;
            bytes.resize(bytes.size() * 2);
        }
        const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    bytes.resize(done);
    return parsePropertyList(bytes);
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
