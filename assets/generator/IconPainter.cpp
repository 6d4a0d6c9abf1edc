#include "assets/generator/IconPainter.h"

#include "platform/gfx/Painter.h"
#include "platform/gfx/SystemSymbols.h"

#include <algorithm>
#include <cmath>

namespace icons {
namespace {

// The glyph fills this much of the tile, which leaves the margin the phone's icons have around their symbol.
constexpr double kGlyphShare = 0.66;

PaintColor lighter(const Rgb& c, double amount) {
    auto up = [amount](double v) { return std::min(1.0, v + (1.0 - v) * amount); };
    return {up(c.r), up(c.g), up(c.b), 1};
}

}  // namespace

double tileCornerRadius(double side) { return side * 0.2237; }

std::optional<std::string> fontIconName(const std::string& glyph) {
    if (const auto* symbol = platform::gfx::findSymbol(glyph)) return std::string(symbol->iconName);
    if (platform::gfx::iconCodepoint(glyph)) return glyph;
    return std::nullopt;
}

std::optional<Bitmap> paintIcon(const IconSpec& item, int scale) {
    const auto iconName = fontIconName(item.glyph);
    if (!iconName || scale < 1 || !(item.points > 0)) return std::nullopt;
    const auto* symbol = platform::gfx::findSymbol(item.glyph);
    const bool knockedOut = symbol && symbol->knockedOutOfDisc;

    const double side = item.points;
    const int pixels = static_cast<int>(std::lround(side * scale));
    Painter painter(pixels, pixels, scale);
    const CGRect tile{{0, 0}, {side, side}};
    if (item.tile) {
        const PaintColor base{item.tile->r, item.tile->g, item.tile->b, 1};
        painter.save();
        painter.clipToRoundedRect(tile, CornerRadii::uniform(tileCornerRadius(side)), CornerCurve::Continuous);
        if (item.tileEnd)
            painter.fillLinearGradient(tile, {{0, base}, {1, {item.tileEnd->r, item.tileEnd->g, item.tileEnd->b, 1}}},
                                       {0, 0}, {1, 1});
        else
            painter.fillLinearGradient(tile, {{0, lighter(*item.tile, 0.12)}, {1, base}}, {0.5, 0}, {0.5, 1});
        painter.restore();
    }
    const double glyphSide = item.tile ? side * kGlyphShare : side;
    const auto glyph = platform::gfx::renderIcon(*iconName, glyphSide, scale, knockedOut);
    if (!glyph) return std::nullopt;
    const double inset = (side - glyphSide) / 2;
    painter.drawBitmap(*glyph, {{inset, inset}, {glyphSide, glyphSide}}, 1.0,
                       item.tile ? PaintColor::white() : PaintColor::black());
    return painter.takeBitmap();
}

}  // namespace icons
