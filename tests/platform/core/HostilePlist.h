#pragma once

// Property-list bytes as another program (or an attacker) could write them, built by hand so that the tests do not
// depend on the writer under test.

#include <cstdint>
#include <string>
#include <vector>

namespace hostile {

inline void appendBigEndian(std::string& out, std::uint64_t value, unsigned size) {
    for (unsigned i = size; i-- > 0;) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// A binary property list of `objects` (each already encoded, references `refSize` bytes wide), the first one at the
// top. Offsets are four bytes wide.
inline std::string binaryPlist(const std::vector<std::string>& objects, unsigned refSize) {
    std::string out = "bplist00";
    std::vector<std::uint64_t> offsets;
    for (const auto& o : objects) {
        offsets.push_back(out.size());
        out += o;
    }
    const std::uint64_t table = out.size();
    for (auto at : offsets) appendBigEndian(out, at, 4);
    out += std::string(6, '\0');
    out += static_cast<char>(4);
    out += static_cast<char>(refSize);
    appendBigEndian(out, objects.size(), 8);
    appendBigEndian(out, 0, 8);
    appendBigEndian(out, table, 8);
    return out;
}

// Arrays nested `depth` deep, each holding the next, the innermost empty.
inline std::string nestedBinary(std::size_t depth) {
    std::vector<std::string> objects;
    for (std::size_t i = 0; i + 1 < depth; ++i) {
        std::string o = "\xA1";
        appendBigEndian(o, i + 1, 4);
        objects.push_back(std::move(o));
    }
    objects.push_back("\xA0");
    return binaryPlist(objects, 4);
}

// The same in XML; unclosed, the file ends after the last opening tag, as in a file cut short.
inline std::string nestedXml(std::size_t depth, bool closed = true) {
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">";
    for (std::size_t i = 0; i < depth; ++i) out += "<array>";
    if (!closed) return out;
    for (std::size_t i = 0; i < depth; ++i) out += "</array>";
    return out + "</plist>\n";
}

// An XML dictionary of `body` (key and value elements).
inline std::string xmlDictionary(const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n" + body + "</dict>\n</plist>\n";
}

}  // namespace hostile
