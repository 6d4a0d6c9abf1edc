// vantile-icons TABLE OUTPUT-FOLDER POINTS [--catalogue]
//
// Draws every icon of TABLE into OUTPUT-FOLDER at 1, 2 and 3 pixels per point ("wi-fi.png", "wi-fi@2x.png",
// "wi-fi@3x.png"), or at the one scale its name carries. Themed rows are drawn once per theme of the pane. With --catalogue the table must name the icon file of every dashboard card, so a card added to
// the catalogue without an icon fails the build rather than showing an empty tile. Exit status 1 on any fault,
// with the reason on standard error.

#include "assets/generator/IconPainter.h"
#include "assets/generator/IconTable.h"
#include "platform/gfx/ImageCodec.h"
#include "prefs/drawer/VNTTheme.h"
#include "tweak/cards/VantileCatalogue.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

int fail(const std::string& why) {
    std::cerr << "vantile-icons: " << why << "\n";
    return 1;
}

bool writeFile(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    std::error_code ec;
    fs::create_directories(path.parent_path(), ec);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    const bool checkCatalogue = std::erase(args, "--catalogue") > 0;
    if (args.size() != 3) return fail("usage: vantile-icons TABLE OUTPUT-FOLDER POINTS [--catalogue]");
    const fs::path tablePath = args[0], output = args[1];
    double points = 0;
    if (std::from_chars(args[2].data(), args[2].data() + args[2].size(), points).ec != std::errc() || !(points > 0))
        return fail("POINTS must be a positive number, not \"" + args[2] + "\"");

    std::ifstream in(tablePath);
    if (!in) return fail("cannot read " + tablePath.string());
    std::stringstream text;
    text << in.rdbuf();
    std::vector<icons::ThemePalette> themes;
    for (const auto& row : vnt::kThemes)
        themes.push_back({std::string(row.name), {row.gradientStart.red, row.gradientStart.green, row.gradientStart.blue},
                          {row.accent.red, row.accent.green, row.accent.blue}});
    const icons::IconTable table = icons::parseIconTable(text.str(), points, themes);
    if (table.error) return fail(tablePath.string() + ": " + *table.error);

    if (checkCatalogue) {
        for (const auto& entry : vantile::catalogue()) {
            const bool named = std::any_of(table.icons.begin(), table.icons.end(),
                                           [&](const icons::IconSpec& s) { return s.file == entry.iconFile; });
            if (!named)
                return fail(tablePath.string() + " has no icon for the card \"" + std::string(entry.title) + "\" (" +
                            std::string(entry.iconFile) + ")");
        }
    }

    for (const auto& planned : icons::plannedOutputs(table)) {
        const auto& item = table.icons[planned.icon];
        const auto bitmap = icons::paintIcon(item, planned.scale);
        if (!bitmap)
            return fail(tablePath.string() + ": line " + std::to_string(item.line) + ": the icon font has no glyph \"" +
                        item.glyph + "\"");
        const auto png = platform::gfx::encodePNG(*bitmap);
        const fs::path target = output / planned.file;
        if (!png || !writeFile(target, *png)) return fail("cannot write " + target.string());
    }
    return 0;
}
