// The icon generator's themed rows, diagonal shades and scale rules: how the pane's images are drawn.
#include "assets/generator/IconPainter.h"
#include "assets/generator/IconTable.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace icons;

namespace {

const std::vector<ThemePalette> kTwoThemes{{"Sea", {0, 0, 1}, {0, 1, 0}}, {"Fire", {1, 0, 0}, {1, 1, 0}}};

PixelRGBA pixelAt(const Bitmap& b, int x, int y) { return unpackPixel(b.at(x, y)); }

TEST(ThemedIconTable, ThemedRowsExpandOncePerThemeWithItsGradient) {
    const auto table = parseIconTable("Assets/{theme}/Icons/a.png\tstar\ttheme\t40\n"
                                      "Assets/{theme}/Icons/b.png\tstar\t#102030\n"
                                      "plain.png\tstar\t#FF0000>#0000ff\n",
                                      29, kTwoThemes);
    ASSERT_FALSE(table.error) << *table.error;
    ASSERT_EQ(table.icons.size(), 5u);
    struct Expect {
        const char* file;
        std::optional<Rgb> tile, end;
        double points;
    };
    const std::vector<Expect> expected{
        {"Assets/Sea/Icons/a.png", Rgb{0, 0, 1}, Rgb{0, 1, 0}, 40},
        {"Assets/Fire/Icons/a.png", Rgb{1, 0, 0}, Rgb{1, 1, 0}, 40},
        {"Assets/Sea/Icons/b.png", Rgb{0x10 / 255.0, 0x20 / 255.0, 0x30 / 255.0}, std::nullopt, 29},
        {"Assets/Fire/Icons/b.png", Rgb{0x10 / 255.0, 0x20 / 255.0, 0x30 / 255.0}, std::nullopt, 29},
        {"plain.png", Rgb{1, 0, 0}, Rgb{0, 0, 1}, 29},
    };
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].file);
        EXPECT_EQ(table.icons[i].file, expected[i].file);
        EXPECT_EQ(table.icons[i].tile, expected[i].tile);
        EXPECT_EQ(table.icons[i].tileEnd, expected[i].end);
        EXPECT_EQ(table.icons[i].points, expected[i].points);
        EXPECT_EQ(table.icons[i].line, i < 2 ? 1 : i < 4 ? 2 : 3) << "expanded rows keep their line";
    }
}

TEST(ThemedIconTable, RefusesThemeMarksAndColoursThatDoNotFit) {
    struct Case {
        const char* text;
        std::vector<ThemePalette> themes;
        const char* error;
    };
    const std::vector<Case> cases{
        {"{theme}/a.png\tstar\ttheme\n", {}, "line 1: \"{theme}/a.png\" is themed but the table has no themes"},
        {"a.png\tstar\ttheme\n", kTwoThemes, "line 1: colour \"theme\" needs a file with {theme}"},
        {"a.png\tstar\t#FF0000>\n", kTwoThemes, "line 1: colour \"#FF0000>\" is not #RRGGBB, #RRGGBB>#RRGGBB, theme or none"},
        {"a.png\tstar\t#FF0000>#00FF0\n", kTwoThemes,
         "line 1: colour \"#FF0000>#00FF0\" is not #RRGGBB, #RRGGBB>#RRGGBB, theme or none"},
        {"Sea/a.png\tstar\tnone\n{theme}/a.png\tstar\ttheme\n", kTwoThemes, "line 2: \"Sea/a.png\" named twice"},
    };
    for (const auto& c : cases) {
        const auto table = parseIconTable(c.text, 29, c.themes);
        ASSERT_TRUE(table.error) << c.text;
        EXPECT_EQ(*table.error, c.error);
    }
}

TEST(ThemedIconTable, NamesCarryingAScaleAreDrawnOnceAndWinOverDerivedNames) {
    EXPECT_EQ(scaleInFileName("Icons/toggle@3x.png"), 3);
    EXPECT_EQ(scaleInFileName("x@2x.png"), 2);
    EXPECT_EQ(scaleInFileName("icon.png"), std::nullopt);
    EXPECT_EQ(scaleInFileName("@3x"), std::nullopt);

    const auto table = parseIconTable("i/prefs.png\tstar\tnone\n"
                                      "i/prefs@3x.png\tstar\tnone\n"
                                      "i/toggle@3x.png\tstar\tnone\n",
                                      30);
    ASSERT_FALSE(table.error);
    EXPECT_EQ(plannedOutputs(table), (std::vector<IconOutput>{{0, 1, "i/prefs.png"},
                                                              {0, 2, "i/prefs@2x.png"},
                                                              {1, 3, "i/prefs@3x.png"},
                                                              {2, 3, "i/toggle@3x.png"}}));
}

TEST(ThemedIconPainter, ShadesTheTileFromTheTopLeftToTheBottomRight) {
    const IconSpec item{"a.png", "star", Rgb{0, 0, 1}, 40, 1, Rgb{1, 0, 0}};
    const auto icon = paintIcon(item, 2);
    ASSERT_TRUE(icon);
    const int side = 80;
    ASSERT_EQ(icon->width, side);
    EXPECT_EQ(pixelAt(*icon, 0, 0).a, 0) << "rounded corners";
    // Along the diagonal the red share grows and the blue share falls, as the unit points (0,0) -> (1,1) say.
    const PixelRGBA early = pixelAt(*icon, 10, 10), late = pixelAt(*icon, side - 11, side - 11);
    EXPECT_EQ(early.a, 255);
    EXPECT_EQ(late.a, 255);
    EXPECT_NEAR(early.r, 255 * 10.5 / 80, 8);
    EXPECT_NEAR(late.b, 255 * 10.5 / 80, 8);
    EXPECT_GT(late.r, 200);
    EXPECT_LT(early.r, late.r);
    EXPECT_GT(early.b, late.b);
    // Points on the same anti-diagonal get the same colour.
    const PixelRGBA a = pixelAt(*icon, 12, side / 2), b = pixelAt(*icon, side / 2, 12);
    EXPECT_NEAR(a.r, b.r, 3);
    EXPECT_NEAR(a.b, b.b, 3);
}

}  // namespace
