#pragma once

// Draws the icons of a table in the look of the phone's Settings icons: a tile of one colour with continuous
// ("squircle") corners, lit slightly from the top, carrying a white glyph of the icon font; a tile shaded
// diagonally from one colour to another (the pane's themes) the same way; or the glyph alone in black on
// transparent for images the views tint themselves.

#include "assets/generator/IconTable.h"
#include "platform/gfx/Bitmap.h"

#include <optional>
#include <string>

namespace icons {

// The icon font's name of a table glyph: the symbol table's name for a device symbol, else the glyph itself when the
// font has an icon of that name; nothing when neither.
std::optional<std::string> fontIconName(const std::string& glyph);

// The icon at `scale` pixels per point: points × scale pixels square. Nothing when the glyph is unknown.
std::optional<Bitmap> paintIcon(const IconSpec& item, int scale);

// The corner radius of a tile `side` points wide, as the phone rounds its icons.
double tileCornerRadius(double side);

}  // namespace icons
