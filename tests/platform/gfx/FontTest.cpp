#include "platform/gfx/FontSystem.h"
#include "platform/gfx/UIFont.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

TEST(FontSystem, EveryPinnedFontFileIsInstalled) {
    // Without these files every rendering silently changes face; say which package is missing.
    auto missing = platform::gfx::missingFontFiles();
    std::string names;
    for (const auto& m : missing) names += m.string() + " ";
    ASSERT_TRUE(missing.empty()) << "missing font files (install fonts-inter, fonts-noto-color-emoji, "
                                    "fonts-materialdesignicons-webfont): "
                                 << names;
}

TEST(FontSystem, EveryFamilyNameResolvesToAPinnedFace) {
    auto families = platform::gfx::availableFamilies();
    for (const char* real : {"Inter", "Material Design Icons", "Noto Color Emoji"})
        EXPECT_NE(std::find(families.begin(), families.end(), real), families.end()) << real;
    // Names of faces this machine may or may not have all come out as Inter, never as a machine font.
    for (const char* asked : {"Helvetica Neue", "Helvetica", "Arial", "DejaVu Sans", "sans-serif", "Inter"}) {
        PangoFontDescription* desc = pango_font_description_from_string(asked);
        pango_font_description_set_absolute_size(desc, 12 * PANGO_SCALE);
        PangoFont* font = pango_font_map_load_font(platform::gfx::fontMap(), platform::gfx::sharedTextContext(), desc);
        ASSERT_TRUE(font) << asked;
        PangoFontDescription* got = pango_font_describe(font);
        EXPECT_STREQ(pango_font_description_get_family(got), "Inter") << asked;
        pango_font_description_free(got);
        pango_font_description_free(desc);
        g_object_unref(font);
    }
}

TEST(UIFont, FactoriesGiveSizeWeightAndName) {
    struct Case {
        Ref<UIFont> font;
        CGFloat size;
        UIFontWeight weight;
        int pangoWeight;
        std::string name;
    };
    const Case cases[] = {
        {UIFont::systemFontOfSize(8), 8, UIFontWeightRegular, 400, ".SFUI-Regular"},
        {UIFont::boldSystemFontOfSize(14), 14, UIFontWeightBold, 700, ".SFUI-Bold"},
        {UIFont::systemFontOfSizeWeight(14, UIFontWeightLight), 14, UIFontWeightLight, 300, ".SFUI-Light"},
        {UIFont::systemFontOfSizeWeight(17, UIFontWeightSemibold), 17, UIFontWeightSemibold, 600,
         ".SFUI-Semibold"},
        {UIFont::fontWithNameSize("Helvetica Neue", 20), 20, UIFontWeightRegular, 400, "Helvetica Neue"},
        {UIFont::fontWithNameSize("HelveticaNeue-Bold", 12), 12, UIFontWeightBold, 700, "HelveticaNeue-Bold"},
        {UIFont::systemFontOfSize(-3), 0, UIFontWeightRegular, 400, ".SFUI-Regular"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(c.font) << c.name;
        EXPECT_EQ(c.font->pointSize(), c.size) << c.name;
        EXPECT_EQ(c.font->weight(), c.weight) << c.name;
        EXPECT_EQ(c.font->pangoWeight(), c.pangoWeight) << c.name;
        EXPECT_EQ(c.font->fontName(), c.name);
    }
}

TEST(UIFont, UnknownNameGivesNothingAndResizingKeepsTheFace) {
    EXPECT_FALSE(UIFont::fontWithNameSize("Comic Sans MS", 12));
    EXPECT_FALSE(UIFont::fontWithNameSize("", 12));
    auto bold = UIFont::boldSystemFontOfSize(14);
    auto big = bold->fontWithSize(15);
    EXPECT_EQ(big->pointSize(), 15);
    EXPECT_EQ(big->weight(), UIFontWeightBold);
    EXPECT_EQ(big->fontName(), bold->fontName());
    EXPECT_EQ(bold->pointSize(), 14);
}

TEST(UIFont, LineMetricsScaleWithSize) {
    auto small = UIFont::systemFontOfSize(10);
    auto large = UIFont::systemFontOfSize(20);
    EXPECT_GT(small->ascender(), 0);
    EXPECT_LT(small->descender(), 0);
    EXPECT_NEAR(large->lineHeight(), 2 * small->lineHeight(), 0.05);
    EXPECT_NEAR(large->ascender(), 2 * small->ascender(), 0.05);
    // Inter's line is a little taller than its size.
    EXPECT_GT(small->lineHeight(), 10);
    EXPECT_LT(small->lineHeight(), 14);
}

}  // namespace
