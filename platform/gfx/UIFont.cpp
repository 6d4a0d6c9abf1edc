#include "platform/gfx/UIFont.h"

#include "platform/core/Runtime.h"
#include "platform/gfx/FontSystem.h"

#include <array>
#include <cmath>
#include <sstream>

VT_REGISTER_CLASS(UIFont)

namespace {

struct NamedFace {
    std::string_view name;
    std::string_view family;
    UIFontWeight weight;
};

// The named faces the add-on may ask for, all drawn with Inter at the nearest weight.
constexpr std::array kNamedFaces = {
    NamedFace{"Helvetica Neue", "Helvetica Neue", UIFontWeightRegular},
    NamedFace{"HelveticaNeue", "Helvetica Neue", UIFontWeightRegular},
    NamedFace{"HelveticaNeue-Bold", "Helvetica Neue", UIFontWeightBold},
    NamedFace{"HelveticaNeue-Medium", "Helvetica Neue", UIFontWeightMedium},
    NamedFace{"HelveticaNeue-Light", "Helvetica Neue", UIFontWeightLight},
    NamedFace{"HelveticaNeue-Thin", "Helvetica Neue", UIFontWeightThin},
    NamedFace{"Helvetica", "Helvetica", UIFontWeightRegular},
    NamedFace{"Helvetica-Bold", "Helvetica", UIFontWeightBold},
    NamedFace{"Inter", "Inter", UIFontWeightRegular},
    NamedFace{"Inter-Bold", "Inter", UIFontWeightBold},
    NamedFace{".SFUI-Regular", ".SF UI", UIFontWeightRegular},
    NamedFace{".SFUI-Bold", ".SF UI", UIFontWeightBold},
};

struct WeightName {
    UIFontWeight weight;
    std::string_view suffix;
    int pango;
};

constexpr std::array kWeights = {
    WeightName{UIFontWeightUltraLight, "Ultralight", 100}, WeightName{UIFontWeightThin, "Thin", 200},
    WeightName{UIFontWeightLight, "Light", 300},           WeightName{UIFontWeightRegular, "Regular", 400},
    WeightName{UIFontWeightMedium, "Medium", 500},         WeightName{UIFontWeightSemibold, "Semibold", 600},
    WeightName{UIFontWeightBold, "Bold", 700},             WeightName{UIFontWeightHeavy, "Heavy", 800},
    WeightName{UIFontWeightBlack, "Black", 900},
};

const WeightName& nearestWeight(UIFontWeight w) {
    const WeightName* best = &kWeights[0];
    for (const auto& candidate : kWeights)
        if (std::fabs(candidate.weight - w) < std::fabs(best->weight - w)) best = &candidate;
    return *best;
}

}  // namespace

Ref<UIFont> UIFont::make(std::string name, std::string family, CGFloat size, UIFontWeight weight) {
    auto font = alloc<UIFont>();
    font->m_fontName = std::move(name);
    font->m_familyName = std::move(family);
    font->m_pointSize = size > 0 ? size : 0;
    font->m_weight = weight;
    return font;
}

Ref<UIFont> UIFont::systemFontOfSize(CGFloat size) { return systemFontOfSizeWeight(size, UIFontWeightRegular); }

Ref<UIFont> UIFont::boldSystemFontOfSize(CGFloat size) { return systemFontOfSizeWeight(size, UIFontWeightBold); }

Ref<UIFont> UIFont::systemFontOfSizeWeight(CGFloat size, UIFontWeight weight) {
    return make(".SFUI-" + std::string(nearestWeight(weight).suffix), ".SF UI", size, weight);
}

Ref<UIFont> UIFont::fontWithNameSize(std::string_view name, CGFloat size) {
    for (const auto& face : kNamedFaces)
        if (face.name == name) return make(std::string(name), std::string(face.family), size, face.weight);
    return nullptr;
}

Ref<UIFont> UIFont::fontWithSize(CGFloat size) const { return make(m_fontName, m_familyName, size, m_weight); }

int UIFont::pangoWeight() const { return nearestWeight(m_weight).pango; }

namespace {

PangoFontMetrics* metricsFor(const UIFont& font) {
    PangoFontDescription* desc = pango_font_description_new();
    pango_font_description_set_family(desc, "Inter");
    pango_font_description_set_weight(desc, static_cast<PangoWeight>(font.pangoWeight()));
    pango_font_description_set_absolute_size(desc, font.pointSize() * PANGO_SCALE);
    PangoFontMetrics* metrics =
        pango_context_get_metrics(platform::gfx::sharedTextContext(), desc, pango_language_from_string("en"));
    pango_font_description_free(desc);
    return metrics;
}

}  // namespace

CGFloat UIFont::ascender() const {
    PangoFontMetrics* m = metricsFor(*this);
    CGFloat v = static_cast<CGFloat>(pango_font_metrics_get_ascent(m)) / PANGO_SCALE;
    pango_font_metrics_unref(m);
    return v;
}

CGFloat UIFont::descender() const {
    PangoFontMetrics* m = metricsFor(*this);
    CGFloat v = -static_cast<CGFloat>(pango_font_metrics_get_descent(m)) / PANGO_SCALE;
    pango_font_metrics_unref(m);
    return v;
}

CGFloat UIFont::lineHeight() const {
    PangoFontMetrics* m = metricsFor(*this);
    int height = pango_font_metrics_get_height(m);
    if (height <= 0) height = pango_font_metrics_get_ascent(m) + pango_font_metrics_get_descent(m);
    pango_font_metrics_unref(m);
    return static_cast<CGFloat>(height) / PANGO_SCALE;
}

std::string UIFont::description() const {
    std::ostringstream os;
    os << "<UIFont " << m_fontName << " " << m_pointSize << "pt weight " << m_weight << ">";
    return os.str();
}
