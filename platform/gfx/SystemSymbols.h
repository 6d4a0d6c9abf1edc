#pragma once

// The device's system symbol names ("gear", "magnifyingglass.circle.fill") mapped, in one table, to glyphs of the
// Material Design Icons font that Debian's fonts-materialdesignicons-webfont ships. The codepoints are read from
// the package's stylesheet, so the table names glyphs by their icon names, never by number.

#include "platform/gfx/Bitmap.h"

#include <optional>
#include <string_view>
#include <vector>

namespace platform::gfx {

struct SymbolEntry {
    std::string_view symbolName;  // the device's name
    std::string_view iconName;    // the icon font's name, without its "mdi-" prefix
    // The ".circle.fill" symbols: a filled disc with the glyph cut out of it.
    bool knockedOutOfDisc = false;
};

const std::vector<SymbolEntry>& symbolTable();
// The entry of a device name; nothing for a name outside the table.
const SymbolEntry* findSymbol(std::string_view symbolName);
// The codepoint of an icon name in the font's stylesheet; nothing when the name or the stylesheet is missing.
std::optional<char32_t> iconCodepoint(std::string_view iconName);
// The stylesheet the codepoints come from, at its Debian path.
std::string_view iconStylesheetPath();

// The symbol drawn in black on transparent, `pointSize` points square at `scale` pixels per point; nothing for a
// name outside the table or a glyph the font lacks.
std::optional<Bitmap> renderSymbol(std::string_view symbolName, double pointSize, double scale);
// An icon of the font by its own name, drawn the same way (the status bar's glyphs).
std::optional<Bitmap> renderIcon(std::string_view iconName, double pointSize, double scale, bool knockedOut = false);

}  // namespace platform::gfx
