// The icon generator's tables and drawing: what the package installs as the add-on's images.
#include "assets/generator/IconPainter.h"
#include "assets/generator/IconTable.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace icons;

namespace {

TEST(IconTable, ReadsLinesWithDefaultsAndComments) {
    const auto table = parseIconTable("# a comment\n\nwi-fi.png\twifi\t#007AFF\r\n"
                                      "done.png\tcheck\tnone\t30\n"
                                      "Applications/AppStore.app/AppIcon60x60.png\tstore\t#0a84ff\n",
                                      60);
    ASSERT_FALSE(table.error) << *table.error;
    ASSERT_EQ(table.icons.size(), 3u);
    EXPECT_EQ(table.icons[0].file, "wi-fi.png");
    EXPECT_EQ(table.icons[0].glyph, "wifi");
    EXPECT_EQ(table.icons[0].tile, (Rgb{0, 122 / 255.0, 1}));
    EXPECT_EQ(table.icons[0].points, 60);
    EXPECT_EQ(table.icons[0].line, 3);
    EXPECT_FALSE(table.icons[1].tile);
    EXPECT_EQ(table.icons[1].points, 30);
    EXPECT_EQ(table.icons[2].tile, (Rgb{10 / 255.0, 132 / 255.0, 1}));
}

TEST(IconTable, RefusesFaultyLinesNamingTheLine) {
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"a.png\twifi", "line 1: expected"},
        {"a.png\twifi\tblue", "line 1: colour \"blue\""},
        {"a.png\twifi\t#12345", "colour"},
        {"a.png\twifi\t#12345G", "colour"},
        {"a.png\twifi\t#123456\t0", "size \"0\""},
        {"a.png\twifi\t#123456\t12pt", "size"},
        {"# ok\na.png\twifi\t#123456\na.png\tgear\t#123456", "line 3: \"a.png\" named twice"},
        {"/etc/a.png\twifi\t#123456", "no relative .png"},
        {"../a.png\twifi\t#123456", "no relative .png"},
        {"a.jpg\twifi\t#123456", "no relative .png"},
        {"a.png\t\t#123456", "no glyph"},
    };
    for (const auto& c : cases) {
        const auto table = parseIconTable(c.text, 29);
        ASSERT_TRUE(table.error) << c.text;
        EXPECT_NE(table.error->find(c.message), std::string::npos) << c.text << " -> " << *table.error;
    }
}

TEST(IconTable, ScaledNamesPutTheScaleBeforeTheExtension) {
    EXPECT_EQ(scaledFileName("wi-fi.png", 1), "wi-fi.png");
    EXPECT_EQ(scaledFileName("wi-fi.png", 3), "wi-fi@3x.png");
    EXPECT_EQ(scaledFileName("Applications/AppStore.app/AppIcon60x60.png", 2),
              "Applications/AppStore.app/AppIcon60x60@2x.png");
}

PixelRGBA pixel(const Bitmap& b, int x, int y) { return unpackPixel(b.at(x, y)); }

TEST(IconPainter, DrawsAWhiteGlyphOnARoundedTile) {
    const IconSpec item{"wi-fi.png", "wifi", Rgb{0, 122 / 255.0, 1}, 60, 1, std::nullopt};
    for (int scale : {1, 2, 3}) {
        const auto icon = paintIcon(item, scale);
        ASSERT_TRUE(icon);
        const int side = 60 * scale;
        ASSERT_EQ(icon->width, side);
        ASSERT_EQ(icon->height, side);
        // Rounded corners: the very corner is empty, the middle of an edge is the tile's colour.
        EXPECT_EQ(pixel(*icon, 0, 0).a, 0);
        EXPECT_EQ(pixel(*icon, side - 1, side - 1).a, 0);
        const PixelRGBA edge = pixel(*icon, 1, side / 2);
        EXPECT_EQ(edge.a, 255);
        EXPECT_LT(edge.r, 40);
        EXPECT_GT(edge.b, 240);
        // The glyph is white and takes a fair share of the tile.
        int white = 0;
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x) {
                const PixelRGBA p = pixel(*icon, x, y);
                if (p.r > 240 && p.g > 240 && p.b > 240 && p.a == 255) ++white;
            }
        const double share = static_cast<double>(white) / (side * side);
        EXPECT_GT(share, 0.05) << "scale " << scale;
        EXPECT_LT(share, 0.5) << "scale " << scale;
    }
}

TEST(IconPainter, TemplateGlyphsAreBlackOnTransparentAndUnknownGlyphsFail) {
    const auto glyph = paintIcon({"done.png", "check", std::nullopt, 30, 1, std::nullopt}, 2);
    ASSERT_TRUE(glyph);
    int opaque = 0;
    for (std::uint32_t p : glyph->pixels) {
        const PixelRGBA c = unpackPixel(p);
        EXPECT_EQ(c.r + c.g + c.b, 0);
        if (c.a > 128) ++opaque;
    }
    EXPECT_GT(opaque, 0);
    EXPECT_EQ(pixel(*glyph, 0, 0).a, 0);

    // A device symbol resolves through the symbol table, an icon of the font by its own name.
    EXPECT_EQ(fontIconName("gear"), "settings");
    EXPECT_EQ(fontIconName("puzzle"), "puzzle");
    EXPECT_FALSE(fontIconName("no-such-glyph-anywhere"));
    EXPECT_FALSE(paintIcon({"x.png", "no-such-glyph-anywhere", Rgb{}, 29, 1, std::nullopt}, 1));
}

}  // namespace
