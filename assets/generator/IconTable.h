#pragma once

// The tables the icon generator reads: one icon a line, tab-separated,
//
//   file <TAB> glyph <TAB> colour [<TAB> points]
//
// `file` is a path relative to the output folder ("wi-fi.png", "Applications/AppStore.app/AppIcon60x60.png");
// `glyph` a system symbol name of the device ("wifi", "gear") or, failing that, an icon of the icon font by its own
// name ("puzzle"); `colour` "#RRGGBB" for a tile of that colour, or "none" for the glyph alone on transparent (a
// template image); `points` the side in points, else the table's default. Blank lines and lines starting with '#'
// are ignored.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace icons {

struct Rgb {
    double r = 0, g = 0, b = 0;  // 0..1
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

struct IconSpec {
    std::string file;
    std::string glyph;
    // Nothing for a bare glyph.
    std::optional<Rgb> tile;
    double points = 0;
    // 1-based line in its table, for messages.
    int line = 0;
};

struct IconTable {
    std::vector<IconSpec> icons;
    // The first fault ("line 4: colour "blue" is not #RRGGBB"); the icons are then incomplete and not to be used.
    std::optional<std::string> error;
};

// "#RRGGBB" (case-insensitive); nothing for anything else.
std::optional<Rgb> parseHexColour(std::string_view text);

// Parses a table's text. Each icon needs a file ending in ".png" that stays below the output folder (no absolute
// path, no ".."), a glyph and a colour; a file named twice, a bad colour or a size that is not a positive number
// is an error.
IconTable parseIconTable(std::string_view text, double defaultPoints);

// The file's name with "@2x"/"@3x" put before its extension; scale 1 gives the name unchanged.
std::string scaledFileName(std::string_view file, int scale);

}  // namespace icons
