#include "platform/gfx/Painter.h"
#include "platform/gfx/TextLayout.h"
#include "platform/gfx/UIFont.h"

#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>
#include <pango/pangocairo.h>
#include <pango/pangofc-fontmap.h>

#include <cmath>

namespace {

// An independent measurement: a font map of its own that knows only Inter's regular file, laid out with Pango's
// plain defaults apart from the resolution and the unhinted metrics that make one Pango point one unit.
struct OracleResult {
    CGSize size;
    int lines;
};

OracleResult oracle(const std::string& text, double size, double width = 0) {
    static PangoFontMap* map = [] {
        FcConfig* config = FcConfigCreate();
        FcConfigAppFontAddFile(config, reinterpret_cast<const FcChar8*>("/usr/share/fonts/opentype/inter/Inter-Regular.otf"));
        PangoFontMap* m = pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT);
        pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(m), config);
        FcConfigDestroy(config);
        return m;
    }();
    PangoContext* context = pango_font_map_create_context(map);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    pango_cairo_context_set_font_options(context, options);
    cairo_font_options_destroy(options);
    pango_context_set_round_glyph_positions(context, FALSE);
    PangoLayout* layout = pango_layout_new(context);
    PangoFontDescription* desc = pango_font_description_from_string("Inter");
    pango_font_description_set_absolute_size(desc, size * PANGO_SCALE);
    pango_layout_set_font_description(layout, desc);
    pango_layout_set_text(layout, text.c_str(), -1);
    if (width > 0) {
        pango_layout_set_width(layout, static_cast<int>(width * PANGO_SCALE));
        pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    }
    const int lines = pango_layout_get_line_count(layout);
    PangoRectangle logical;
    pango_layout_get_extents(layout, nullptr, &logical);
    pango_font_description_free(desc);
    g_object_unref(layout);
    g_object_unref(context);
    return {{std::ceil(logical.width / double(PANGO_SCALE)), std::ceil(logical.height / double(PANGO_SCALE))}, lines};
}

TEST(TextLayout, SingleLineSizesMatchAnIndependentPangoLayout) {
    for (const std::string text : {"Wi-Fi", "Bluetooth", "Sounds & Haptics", "Touch/Face ID & Passcode", "W"}) {
        for (double size : {8.0, 14.0, 22.0}) {
            TextLayout layout(text, *UIFont::systemFontOfSize(size));
            EXPECT_EQ(layout.size(), oracle(text, size).size) << text << " at " << size;
            EXPECT_EQ(layout.lineCount(), 1);
            EXPECT_FALSE(layout.isTruncated());
        }
    }
}

TEST(TextLayout, BoldTextIsWiderThanRegular) {
    TextLayout regular("Control Center", *UIFont::systemFontOfSize(14));
    TextLayout bold("Control Center", *UIFont::boldSystemFontOfSize(14));
    EXPECT_GT(bold.size().width, regular.size().width);
    EXPECT_EQ(bold.size().height, regular.size().height);
}

TEST(TextLayout, LineCountsAndTruncation) {
    auto font = UIFont::systemFontOfSize(14);
    const std::string longText = "Tap on the gear icon above to get started and adding cells.";
    const int wrapped = oracle(longText, 14, 100).lines;
    ASSERT_GT(wrapped, 3);
    struct Case {
        std::string text;
        CGFloat width;
        long limit;
        long lines;
        bool truncated;
    };
    const Case cases[] = {
        {"", 0, 0, 0, false},
        {"one", 0, 0, 1, false},
        {"one\ntwo\nthree", 0, 0, 3, false},
        {"one\ntwo\nthree", 0, 2, 2, true},
        {"one\ntwo", 0, 2, 2, false},
        {longText, 100, 0, wrapped, false},
        {longText, 100, wrapped, wrapped, false},
        {longText, 100, 3, 3, true},
        {longText, 100, 1, 1, true},
        {longText, 1000, 2, 1, false},
    };
    for (const auto& c : cases) {
        TextLayout layout(c.text, *font, c.width, c.limit, TextAlignment::Center);
        EXPECT_EQ(layout.lineCount(), c.lines) << c.text << " width " << c.width << " limit " << c.limit;
        EXPECT_EQ(layout.isTruncated(), c.truncated) << c.text << " width " << c.width << " limit " << c.limit;
        if (c.width > 0) {
            EXPECT_LE(layout.size().width, c.width) << c.text;
        }
    }
}

TEST(TextLayout, HeightGrowsByWholeLinesAndEmptyTextHasNoSize) {
    auto font = UIFont::systemFontOfSize(17);
    TextLayout one("a", *font), three("a\nb\nc", *font), two("a\nb\nc", *font, 0, 2);
    EXPECT_NEAR(three.size().height, 3 * font->lineHeight(), 1.0);
    EXPECT_NEAR(two.size().height, 2 * font->lineHeight(), 1.0);
    EXPECT_EQ(TextLayout("", *font).size(), (CGSize{0, 0}));
}

TEST(TextLayout, DrawsInkInsideItsBoxInTheGivenColour) {
    auto font = UIFont::boldSystemFontOfSize(20);
    TextLayout layout("HH", *font);
    Painter painter(64, 32);
    painter.drawText(layout, {4, 2}, PaintColor{1, 0, 0, 1});
    const Bitmap& b = painter.bitmap();
    int inked = 0, outside = 0;
    for (int y = 0; y < b.height; ++y)
        for (int x = 0; x < b.width; ++x) {
            PixelRGBA p = unpackPixel(b.at(x, y));
            if (p.a == 0) continue;
            EXPECT_EQ(p.g, 0);
            EXPECT_EQ(p.b, 0);
            const bool inside = x >= 4 && x < 4 + layout.size().width && y >= 2 && y < 2 + layout.size().height;
            (inside ? inked : outside)++;
        }
    EXPECT_GT(inked, 40);
    EXPECT_EQ(outside, 0);
}

TEST(TextLayout, EmojiDrawInColour) {
    TextLayout layout("\xF0\x9F\x92\x9C", *UIFont::systemFontOfSize(20));  // purple heart
    Painter painter(40, 40);
    painter.drawText(layout, {0, 0}, PaintColor::black());
    const Bitmap& b = painter.bitmap();
    bool purple = false;
    for (auto px : b.pixels) {
        PixelRGBA p = unpackPixel(px);
        if (p.a > 200 && p.r > 80 && p.b > 120 && p.g < p.r) purple = true;
    }
    EXPECT_TRUE(purple) << "the emoji face did not draw (Noto Color Emoji missing from the configuration?)";
}

}  // namespace
