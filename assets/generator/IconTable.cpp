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

namespace {

// "#RRGGBB", or two of them joined by '>' for a diagonal shade; nothing for anything else.
std::optional<std::pair<Rgb, std::optional<Rgb>>> parseTileColour(std::string_view text) {
    const std::size_t arrow = text.find('>');
    if (arrow == std::string_view::npos) {
        auto one = parseHexColour(text);
        if (!one) return std::nullopt;
        return std::pair{*one, std::optional<Rgb>{}};
    }
    auto from = parseHexColour(text.substr(0, arrow));
    auto to = parseHexColour(text.substr(arrow + 1));
    if (!from || !to) return std::nullopt;
    return std::pair{*from, std::optional<Rgb>{*to}};
}

constexpr std::string_view kThemeMark = "{theme}";

std::string withTheme(std::string file, std::string_view theme) {
    for (std::size_t at = file.find(kThemeMark); at != std::string::npos; at = file.find(kThemeMark, at + theme.size()))
        file.replace(at, kThemeMark.size(), theme);
    return file;
}

}  // namespace

IconTable parseIconTable(std::string_view text, double defaultPoints, const std::vector<ThemePalette>& themes) {
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
        const bool themed = item.file.find(kThemeMark) != std::string::npos;
        const bool themeColour = colour == "theme";
        if (themed && themes.empty()) return fail("\"" + item.file + "\" is themed but the table has no themes");
        if (themeColour && !themed) return fail("colour \"theme\" needs a file with " + std::string(kThemeMark));
        if (colour != "none" && !themeColour) {
            const auto tile = parseTileColour(colour);
            if (!tile)
                return fail("colour \"" + std::string(colour) + "\" is not #RRGGBB, #RRGGBB>#RRGGBB, theme or none");
            item.tile = tile->first;
            item.tileEnd = tile->second;
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
        std::vector<IconSpec> expanded;
        if (!themed) expanded.push_back(std::move(item));
        for (const auto& theme : themed ? themes : std::vector<ThemePalette>{}) {
            IconSpec one = item;
            one.file = withTheme(item.file, theme.name);
            if (themeColour) {
                one.tile = theme.start;
                one.tileEnd = theme.end;
            }
            expanded.push_back(std::move(one));
        }
        for (auto& one : expanded) {
            if (!files.insert(one.file).second) return fail("\"" + one.file + "\" named twice");
            table.icons.push_back(std::move(one));
        }
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


std::optional<int> scaleInFileName(std::string_view file) {
    const std::size_t dot = file.rfind('.');
    if (dot == std::string_view::npos || dot < 3) return std::nullopt;
    const std::string_view mark = file.substr(dot - 3, 3);
    if (mark == "@2x") return 2;
    if (mark == "@3x") return 3;
    return std::nullopt;
}

std::vector<IconOutput> plannedOutputs(const IconTable& table) {
    std::set<std::string, std::less<>> named;
    for (const auto& icon : table.icons) named.insert(icon.file);
    std::vector<IconOutput> out;
    for (std::size_t i = 0; i < table.icons.size(); ++i) {
        const std::string& file = table.icons[i].file;
        if (const auto scale = scaleInFileName(file)) {
            out.push_back({i, *scale, file});
            continue;
        }
        for (int scale : {1, 2, 3}) {
            std::string scaled = scaledFileName(file, scale);
            if (scale > 1 && named.contains(scaled)) continue;
            out.push_back({i, scale, std::move(scaled)});
        }
    }
    return out;
}

}  // namespace icons
