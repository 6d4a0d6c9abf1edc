#pragma once

// The tables the icon generator reads: one icon a line, tab-separated,
//
//   file <TAB> glyph <TAB> colour [<TAB> points]
//
// `file` is a path relative to the output folder ("wi-fi.png", "Applications/AppStore.app/AppIcon60x60.png");
// `glyph` a system symbol name of the device ("wifi", "gear") or, failing that, an icon of the icon font by its own
// name ("puzzle"); `colour` "#RRGGBB" for a tile of that colour, "#RRGGBB>#RRGGBB" for a tile shaded diagonally
// from the first colour at the top-left corner to the second at the bottom-right, "theme" for the gradient of each
// theme (below), or "none" for the glyph alone on transparent (a template image); `points` the side in points, else
// the table's default. Blank lines and lines starting with '#' are ignored.
//
// Themed rows: a file containing "{theme}" ("{theme}/Icons/toggle@3x.png") stands for one icon per theme the table
// is read with, the theme's name in place of the mark; with the colour "theme" each is drawn on its theme's
// gradient.
//
// Scales: a file whose name already ends in "@2x" or "@3x" before its extension is drawn at that scale only;
// any other file at 1, 2 and 3, except for a scaled name that another row names itself.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace icons {

struct Rgb {
    double r = 0, g = 0, b = 0;  // 0..1
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// A theme as the generator sees it: the name of its folder and its gradient.
struct ThemePalette {
    std::string name;
    Rgb start;  // top-left corner
    Rgb end;    // bottom-right corner
};

struct IconSpec {
    std::string file;
    std::string glyph;
    // Nothing for a bare glyph.
    std::optional<Rgb> tile;
    double points = 0;
    // 1-based line in its table, for messages.
    int line = 0;
    // The colour the tile shades to at its bottom-right corner; nothing for a tile of one colour.
    std::optional<Rgb> tileEnd;
};

struct IconTable {
    std::vector<IconSpec> icons;
    // The first fault ("line 4: colour "blue" is not #RRGGBB"); the icons are then incomplete and not to be used.
    std::optional<std::string> error;
};

// "#RRGGBB" (case-insensitive); nothing for anything else.
std::optional<Rgb> parseHexColour(std::string_view text);

// Parses a table's text, expanding themed rows over `themes`. Each icon needs a file ending in ".png" that stays
// below the output folder (no absolute path, no ".."), a glyph and a colour; a file named twice, a bad colour, a
// size that is not a positive number, a "{theme}" row read without themes and a "theme" colour on a row without
// "{theme}" are errors.
IconTable parseIconTable(std::string_view text, double defaultPoints, const std::vector<ThemePalette>& themes = {});

// The file's name with "@2x"/"@3x" put before its extension; scale 1 gives the name unchanged.
std::string scaledFileName(std::string_view file, int scale);

// The scale a file's name carries ("toggle@3x.png" 3); nothing for a plain name.
std::optional<int> scaleInFileName(std::string_view file);

// One image file to write: the icon (an index into the table), its scale and its file.
struct IconOutput {
    std::size_t icon;
    int scale;
    std::string file;
    friend bool operator==(const IconOutput&, const IconOutput&) = default;
};
// Every file the table's icons make, in table order (see Scales above).
std::vector<IconOutput> plannedOutputs(const IconTable& table);

}  // namespace icons
