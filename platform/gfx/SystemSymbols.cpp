#include "platform/gfx/SystemSymbols.h"

#include "platform/gfx/FontSystem.h"
#include "platform/gfx/Painter.h"

#include <cairo.h>

#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>

namespace platform::gfx {

const std::vector<SymbolEntry>& symbolTable() {
    static const std::vector<SymbolEntry> table = {
        {"gear", "settings"},
        {"magnifyingglass", "magnify"},
        {"magnifyingglass.circle.fill", "magnify", true},
        {"timer", "timer"},
        {"square.stack.fill", "layers"},
        {"sidebar.left", "view-quilt"},
        {"circle.grid.3x3.fill", "apps"},
        {"person.crop.circle", "account-circle"},
        {"list.bullet.indent", "format-indent-increase"},
        {"rectangle.grid.1x2.fill", "view-agenda"},
        {"ellipsis.circle.fill", "dots-horizontal", true},
        {"ellipsis", "dots-horizontal"},
        {"smiley", "emoticon"},
        {"chevron.right", "chevron-right"},
        {"chevron.down", "chevron-down"},
        {"chevron.left", "chevron-left"},
        {"chevron.up", "chevron-up"},
        {"xmark", "close"},
        {"xmark.circle.fill", "close", true},
        {"checkmark", "check"},
        {"checkmark.circle.fill", "check", true},
        {"plus", "plus"},
        {"minus", "minus"},
        {"heart.fill", "heart"},
        {"star.fill", "star"},
        {"wifi", "wifi"},
        {"antenna.radiowaves.left.and.right", "access-point"},
        {"airplane", "airplane"},
        {"bell.fill", "bell"},
        {"moon.fill", "weather-night"},
        {"paintbrush.fill", "brush"},
        {"photo", "image"},
        {"trash", "delete"},
        {"arrow.clockwise", "refresh"},
        {"info.circle", "information-outline"},
        {"link", "link"},
        {"calendar", "calendar"},
        {"battery.100", "battery"},
    };
    return table;
}

const SymbolEntry* findSymbol(std::string_view symbolName) {
    for (const auto& e : symbolTable())
        if (e.symbolName == symbolName) return &e;
    return nullptr;
}

std::string_view iconStylesheetPath() {
    return "/usr/share/fonts-materialdesignicons-webfont/css/materialdesignicons.css";
}

namespace {

// ".mdi-NAME:before { content: "\FXXX"; }" for every icon; read once.
const std::map<std::string, char32_t, std::less<>>& codepoints() {
    static const std::map<std::string, char32_t, std::less<>> table = [] {
        std::map<std::string, char32_t, std::less<>> t;
        std::ifstream in{std::string(iconStylesheetPath())};
        std::stringstream ss;
        ss << in.rdbuf();
        const std::string css = ss.str();
        static const std::regex rule(R"re(\.mdi-([a-z0-9-]+):{1,2}before\s*\{\s*content:\s*"\\([0-9A-Fa-f]+)")re");
        for (auto it = std::sregex_iterator(css.begin(), css.end(), rule); it != std::sregex_iterator(); ++it)
            t.emplace((*it)[1].str(), static_cast<char32_t>(std::stoul((*it)[2].str(), nullptr, 16)));
        return t;
    }();
    return table;
}

std::string utf8(char32_t c) {
    std::string s;
    if (c < 0x80) s += static_cast<char>(c);
    else if (c < 0x800) {
        s += static_cast<char>(0xC0 | (c >> 6));
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        s += static_cast<char>(0xE0 | (c >> 12));
        s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        s += static_cast<char>(0xF0 | (c >> 18));
        s += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    }
    return s;
}

}  // namespace

std::optional<char32_t> iconCodepoint(std::string_view iconName) {
    const auto& t = codepoints();
    auto it = t.find(iconName);
    if (it == t.end()) return std::nullopt;
    return it->second;
}

std::optional<Bitmap> renderIcon(std::string_view iconName, double pointSize, double scale, bool knockedOut) {
    auto cp = iconCodepoint(iconName);
    if (!cp || pointSize <= 0 || scale <= 0) return std::nullopt;
    const int px = static_cast<int>(std::lround(pointSize * scale));
    Painter painter(px, px, scale);
    cairo_t* cr = painter.cairo();

    PangoLayout* layout = pango_layout_new(sharedTextContext());
    PangoFontDescription* desc = pango_font_description_new();
    pango_font_description_set_family(desc, "Material Design Icons");
    // The disc leaves a margin around the glyph that is cut out of it.
    const double glyphSize = knockedOut ? pointSize * 0.62 : pointSize;
    pango_font_description_set_absolute_size(desc, glyphSize * PANGO_SCALE);
    pango_layout_set_font_description(layout, desc);
    pango_font_description_free(desc);
    const std::string text = utf8(*cp);
    pango_layout_set_text(layout, text.data(), static_cast<int>(text.size()));
    PangoRectangle ink, logical;
    pango_layout_get_extents(layout, &ink, &logical);
    if (pango_layout_get_unknown_glyphs_count(layout) > 0 || ink.width <= 0) {
        g_object_unref(layout);
        return std::nullopt;
    }
    // Icon fonts place each glyph in a square em box; centring that box keeps the icons' own optical balance.
    const double boxW = static_cast<double>(logical.width) / PANGO_SCALE;
    const double boxH = static_cast<double>(logical.height) / PANGO_SCALE;
    const double x = (pointSize - boxW) / 2 - static_cast<double>(logical.x) / PANGO_SCALE;
    const double y = (pointSize - boxH) / 2 - static_cast<double>(logical.y) / PANGO_SCALE;

    if (knockedOut) painter.fillEllipse({{0, 0}, {pointSize, pointSize}}, PaintColor::black());
    cairo_save(cr);
    if (knockedOut) cairo_set_operator(cr, CAIRO_OPERATOR_DEST_OUT);
    cairo_set_source_rgba(cr, 0, 0, 0, 1);
    cairo_move_to(cr, x, y);
    pango_cairo_show_layout(cr, layout);
    cairo_restore(cr);
    g_object_unref(layout);
    return painter.bitmap();
}

std::optional<Bitmap> renderSymbol(std::string_view symbolName, double pointSize, double scale) {
    const SymbolEntry* e = findSymbol(symbolName);
    if (!e) return std::nullopt;
    return renderIcon(e->iconName, pointSize, scale, e->knockedOutOfDisc);
}

}  // namespace platform::gfx
