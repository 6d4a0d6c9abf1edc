#include "platform/gfx/FontSystem.h"

#include <fontconfig/fontconfig.h>
#include <pango/pangofc-fontmap.h>

#include <algorithm>
#include <stdexcept>

#ifndef VANTILE_SOURCE_DIR
#error "VANTILE_SOURCE_DIR must name the source tree, where assets/fonts/fonts.conf lives"
#endif

namespace platform::gfx {

const std::vector<std::filesystem::path>& requiredFontFiles() {
    static const std::vector<std::filesystem::path> files = {
        "/usr/share/fonts/opentype/inter/Inter-Thin.otf",
        "/usr/share/fonts/opentype/inter/Inter-ExtraLight.otf",
        "/usr/share/fonts/opentype/inter/Inter-Light.otf",
        "/usr/share/fonts/opentype/inter/Inter-Regular.otf",
        "/usr/share/fonts/opentype/inter/Inter-Medium.otf",
        "/usr/share/fonts/opentype/inter/Inter-SemiBold.otf",
        "/usr/share/fonts/opentype/inter/Inter-Bold.otf",
        "/usr/share/fonts/opentype/inter/Inter-ExtraBold.otf",
        "/usr/share/fonts/opentype/inter/Inter-Black.otf",
        "/usr/share/fonts/truetype/noto/NotoColorEmoji.ttf",
        "/usr/share/fonts/truetype/materialdesignicons-webfont/materialdesignicons-webfont.ttf",
    };
    return files;
}

std::vector<std::filesystem::path> missingFontFiles() {
    std::vector<std::filesystem::path> missing;
    for (const auto& f : requiredFontFiles())
        if (!std::filesystem::exists(f)) missing.push_back(f);
    return missing;
}

namespace {

FcConfig* loadConfig() {
    const std::string file = VANTILE_SOURCE_DIR "/assets/fonts/fonts.conf";
    FcConfig* config = FcConfigCreate();
    if (!FcConfigParseAndLoad(config, reinterpret_cast<const FcChar8*>(file.c_str()), FcTrue)) {
        FcConfigDestroy(config);
        throw std::runtime_error("cannot load the font configuration " + file);
    }
    // The files are added one by one rather than by folder: fontconfig then reads exactly these faces and has no
    // folder cache to write.
    for (const auto& f : requiredFontFiles()) {
        if (!FcConfigAppFontAddFile(config, reinterpret_cast<const FcChar8*>(f.c_str()))) {
            FcConfigDestroy(config);
            throw std::runtime_error("cannot read the font file " + f.string() + " (is its Debian package installed?)");
        }
    }
    if (!FcConfigBuildFonts(config)) {
        FcConfigDestroy(config);
        throw std::runtime_error("cannot build the fonts of " + file);
    }
    return config;
}

}  // namespace

PangoFontMap* fontMap() {
    static PangoFontMap* map = [] {
        FcConfig* config = loadConfig();
        PangoFontMap* m = pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT);
        if (!m) throw std::runtime_error("Pango has no FreeType font map");
        // The font map takes its own reference; ours is dropped so the configuration lives as long as the map.
        pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(m), config);
        FcConfigDestroy(config);
        pango_cairo_font_map_set_resolution(PANGO_CAIRO_FONT_MAP(m), 72.0);
        return m;
    }();
    return map;
}

PangoContext* sharedTextContext() {
    static PangoContext* context = [] {
        PangoContext* c = pango_font_map_create_context(fontMap());
        cairo_font_options_t* options = cairo_font_options_create();
        cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
        cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
        pango_cairo_context_set_font_options(c, options);
        cairo_font_options_destroy(options);
        pango_cairo_context_set_resolution(c, 72.0);
        pango_context_set_round_glyph_positions(c, FALSE);
        return c;
    }();
    return context;
}

std::vector<std::string> availableFamilies() {
    PangoFontFamily** families = nullptr;
    int count = 0;
    pango_font_map_list_families(fontMap(), &families, &count);
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) names.emplace_back(pango_font_family_get_name(families[i]));
    g_free(families);
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace platform::gfx
