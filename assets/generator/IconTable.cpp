#include "assets/generator/IconTable.h"

#include <charconv>
#include <filesystem>
#include <set>

namespace icons {
namespace {

std::vector<std::string_view> splitTabs(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
        if (tab == std::string_view::npos) break;
        start = tab + 1;
    }
    return fields;
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\r')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A path that a table may name: relative, without "..", ending in ".png".
bool staysBelowOutput(std::string_view file) {
    const std::filesystem::path p{std::string(file)};
    if (p.is_absolute() || p.extension() != ".png") return false;
    for (const auto& part : p)
        if (part == "..") return false;
    return true;
}

}  // namespace

std::optional<Rgb> parseHexColour(std::string_view text) {
    if (text.size() != 7 || text[0] != '#') return std::nullopt;
    double channel[3];
    for (int i = 0; i < 3; ++i) {
        const int hi = hexDigit(text[1 + 2 * i]), lo = hexDigit(text[2 + 2 * i]);
        if (hi < 0 || lo < 0) return std::nullopt;
        channel[i] = (hi * 16 + lo) / 255.0;
    }
    return Rgb{channel[0], channel[1], channel[2]};
}

IconTable parseIconTable(std::string_view text, double defaultPoints) {
    IconTable table;
    std::set<std::string, std::less<>> files;
    int lineNumber = 0;
    auto fail = [&](const std::string& why) {
        table.error = "line " + std::to_string(lineNumber) + ": " + why;
        return table;
    };
    std::size_t pos = 0;
    while (pos <= text.size()) {
        const std::size_t end = std::min(text.find('\n', pos), text.size());
        const std::string_view line = trimmed(text.substr(pos, end - pos));
        pos = end + 1;
        ++lineNumber;
        if (line.empty() || line.front() == '#') continue;
        const auto fields = splitTabs(line);
        if (fields.size() < 3 || fields.size() > 4) return fail("expected file, glyph, colour and optional points");
        IconSpec item;
        item.file = std::string(trimmed(fields[0]));
        item.glyph = std::string(trimmed(fields[1]));
        item.line = lineNumber;
        if (!staysBelowOutput(item.file)) return fail("\"" + item.file + "\" is no relative .png path");
        if (item.glyph.empty()) return fail("no glyph");
        const std::string_view colour = trimmed(fields[2]);
        if (colour != "none") {
            item.tile = parseHexColour(colour);
            if (!item.tile) return fail("colour \"" + std::string(colour) + "\" is not #RRGGBB or none");
        }
        item.points = defaultPoints;
        if (fields.size() == 4) {
            const std::string_view size = trimmed(fields[3]);
            double value = 0;
            const auto [ptr, ec] = std::from_chars(size.data(), size.data() + size.size(), value);
            if (ec != std::errc() || ptr != size.data() + size.size() || !(value > 0))
                return fail("size \"" + std::string(size) + "\" is not a positive number");
            item.points = value;
        }
        if (!(item.points > 0)) return fail("no size for \"" + item.file + "\"");
        if (!files.insert(item.file).second) return fail("\"" + item.file + "\" named twice");
        table.icons.push_back(std::move(item));
    }
    return table;
}

std::string scaledFileName(std::string_view file, int scale) {
    if (scale == 1) return std::string(file);
    const std::size_t dot = file.rfind('.');
    const std::size_t slash = file.rfind('/');
    const std::string suffix = "@" + std::to_string(scale) + "x";
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return std::string(file) + suffix;
    return std::string(file.substr(0, dot)) + suffix + std::string(file.substr(dot));
}

}  // namespace icons
