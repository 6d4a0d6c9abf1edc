#include "platform/gfx/UIColor.h"

#include "platform/core/Runtime.h"
#include "platform/gfx/Appearance.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

VT_REGISTER_CLASS(UIColor)

namespace {

using platform::RGBA;

constexpr RGBA rgb255(int r, int g, int b, CGFloat a = 1.0) { return {r / 255.0, g / 255.0, b / 255.0, a}; }

struct SystemColor {
    std::string_view name;
    RGBA light;
    RGBA dark;
};

// The device's published light and dark values of the system colours.
const std::array<SystemColor, 17> kSystemColors{{
    {"labelColor", rgb255(0, 0, 0), rgb255(255, 255, 255)},
    {"secondaryLabelColor", rgb255(60, 60, 67, 0.6), rgb255(235, 235, 245, 0.6)},
    {"tertiaryLabelColor", rgb255(60, 60, 67, 0.3), rgb255(235, 235, 245, 0.3)},
    {"systemBackgroundColor", rgb255(255, 255, 255), rgb255(0, 0, 0)},
    {"secondarySystemBackgroundColor", rgb255(242, 242, 247), rgb255(28, 28, 30)},
    {"tertiarySystemBackgroundColor", rgb255(255, 255, 255), rgb255(44, 44, 46)},
    {"systemGroupedBackgroundColor", rgb255(242, 242, 247), rgb255(0, 0, 0)},
    {"secondarySystemGroupedBackgroundColor", rgb255(255, 255, 255), rgb255(28, 28, 30)},
    {"separatorColor", rgb255(60, 60, 67, 0.29), rgb255(84, 84, 88, 0.6)},
    {"systemGrayColor", rgb255(142, 142, 147), rgb255(142, 142, 147)},
    {"systemGreenColor", rgb255(52, 199, 89), rgb255(48, 209, 88)},
    {"systemBlueColor", rgb255(0, 122, 255), rgb255(10, 132, 255)},
    {"systemRedColor", rgb255(255, 59, 48), rgb255(255, 69, 58)},
    {"systemOrangeColor", rgb255(255, 149, 0), rgb255(255, 159, 10)},
    {"systemYellowColor", rgb255(255, 204, 0), rgb255(255, 214, 10)},
    {"systemPinkColor", rgb255(255, 45, 85), rgb255(255, 55, 95)},
    {"systemPurpleColor", rgb255(175, 82, 222), rgb255(191, 90, 242)},
}};

RGBA hsbToRGB(CGFloat hue, CGFloat saturation, CGFloat brightness, CGFloat alpha) {
    // Hue wraps: 1.0 is red again, as UIKit treats it.
    CGFloat h = hue - std::floor(hue);
    CGFloat sector = h * 6.0;
    int i = static_cast<int>(std::floor(sector)) % 6;
    CGFloat f = sector - std::floor(sector);
    CGFloat v = brightness, s = saturation;
    CGFloat p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
    switch (i) {
        case 0: return {v, t, p, alpha};
        case 1: return {q, v, p, alpha};
        case 2: return {p, v, t, alpha};
        case 3: return {p, q, v, alpha};
        case 4: return {t, p, v, alpha};
        default: return {v, p, q, alpha};
    }
}

}  // namespace

Ref<UIColor> UIColor::initWithRedGreenBlueAlpha(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha) {
    m_model = kCGColorSpaceModelRGB;
    m_light = m_dark = {red, green, blue, alpha};
    return self<UIColor>();
}

Ref<UIColor> UIColor::initWithWhiteAlpha(CGFloat white, CGFloat alpha) {
    m_model = kCGColorSpaceModelMonochrome;
    m_light = m_dark = {white, white, white, alpha};
    return self<UIColor>();
}

Ref<UIColor> UIColor::initWithHueSaturationBrightnessAlpha(CGFloat hue, CGFloat saturation, CGFloat brightness,
                                                           CGFloat alpha) {
    m_model = kCGColorSpaceModelRGB;
    m_light = m_dark = hsbToRGB(hue, saturation, brightness, alpha);
    return self<UIColor>();
}

Ref<UIColor> UIColor::colorWithRedGreenBlueAlpha(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha) {
    return alloc<UIColor>()->initWithRedGreenBlueAlpha(red, green, blue, alpha);
}
Ref<UIColor> UIColor::colorWithWhiteAlpha(CGFloat white, CGFloat alpha) {
    return alloc<UIColor>()->initWithWhiteAlpha(white, alpha);
}
Ref<UIColor> UIColor::colorWithHueSaturationBrightnessAlpha(CGFloat hue, CGFloat saturation, CGFloat brightness,
                                                            CGFloat alpha) {
    return alloc<UIColor>()->initWithHueSaturationBrightnessAlpha(hue, saturation, brightness, alpha);
}

Ref<UIColor> UIColor::whiteColor() { return colorWithWhiteAlpha(1, 1); }
Ref<UIColor> UIColor::blackColor() { return colorWithWhiteAlpha(0, 1); }
Ref<UIColor> UIColor::clearColor() { return colorWithWhiteAlpha(0, 0); }
Ref<UIColor> UIColor::grayColor() { return colorWithWhiteAlpha(0.5, 1); }

Ref<UIColor> UIColor::makeDynamic(std::string_view name, RGBA light, RGBA dark) {
    // A new object per call, never a cached singleton: tests count live objects around screens that use these.
    auto color = alloc<UIColor>();
    color->m_model = kCGColorSpaceModelRGB;
    color->m_light = light;
    color->m_dark = dark;
    color->m_dynamic = true;
    color->m_name = name;
    return color;
}

Ref<UIColor> UIColor::systemColorNamed(std::string_view name) {
    for (const auto& entry : kSystemColors)
        if (entry.name == name) return makeDynamic(entry.name, entry.light, entry.dark);
    return nullptr;
}

Ref<UIColor> UIColor::labelColor() { return systemColorNamed("labelColor"); }
Ref<UIColor> UIColor::secondaryLabelColor() { return systemColorNamed("secondaryLabelColor"); }
Ref<UIColor> UIColor::tertiaryLabelColor() { return systemColorNamed("tertiaryLabelColor"); }
Ref<UIColor> UIColor::systemBackgroundColor() { return systemColorNamed("systemBackgroundColor"); }
Ref<UIColor> UIColor::secondarySystemBackgroundColor() { return systemColorNamed("secondarySystemBackgroundColor"); }
Ref<UIColor> UIColor::tertiarySystemBackgroundColor() { return systemColorNamed("tertiarySystemBackgroundColor"); }
Ref<UIColor> UIColor::systemGroupedBackgroundColor() { return systemColorNamed("systemGroupedBackgroundColor"); }
Ref<UIColor> UIColor::secondarySystemGroupedBackgroundColor() {
    return systemColorNamed("secondarySystemGroupedBackgroundColor");
}
Ref<UIColor> UIColor::separatorColor() { return systemColorNamed("separatorColor"); }
Ref<UIColor> UIColor::systemGrayColor() { return systemColorNamed("systemGrayColor"); }
Ref<UIColor> UIColor::systemGreenColor() { return systemColorNamed("systemGreenColor"); }
Ref<UIColor> UIColor::systemBlueColor() { return systemColorNamed("systemBlueColor"); }
Ref<UIColor> UIColor::systemRedColor() { return systemColorNamed("systemRedColor"); }
Ref<UIColor> UIColor::systemOrangeColor() { return systemColorNamed("systemOrangeColor"); }
Ref<UIColor> UIColor::systemYellowColor() { return systemColorNamed("systemYellowColor"); }
Ref<UIColor> UIColor::systemPinkColor() { return systemColorNamed("systemPinkColor"); }
Ref<UIColor> UIColor::systemPurpleColor() { return systemColorNamed("systemPurpleColor"); }

RGBA UIColor::resolvedColorWithStyle(int style) const { return (m_dynamic && style == 2) ? m_dark : m_light; }

RGBA UIColor::rgba() const { return resolvedColorWithStyle(platform::currentInterfaceStyle()); }

Ref<UIColor> UIColor::resolvedColorForStyle(int style) {
    if (!m_dynamic) return self<UIColor>();
    RGBA c = resolvedColorWithStyle(style);
    return colorWithRedGreenBlueAlpha(c.red, c.green, c.blue, c.alpha);
}

bool UIColor::getRedGreenBlueAlpha(CGFloat* red, CGFloat* green, CGFloat* blue, CGFloat* alpha) const {
    RGBA c = rgba();
    if (red) *red = c.red;
    if (green) *green = c.green;
    if (blue) *blue = c.blue;
    if (alpha) *alpha = c.alpha;
    return true;
}

bool UIColor::getHueSaturationBrightnessAlpha(CGFloat* hue, CGFloat* saturation, CGFloat* brightness,
                                              CGFloat* alpha) const {
    RGBA c = rgba();
    CGFloat maxC = std::max({c.red, c.green, c.blue});
    CGFloat minC = std::min({c.red, c.green, c.blue});
    CGFloat delta = maxC - minC;
    CGFloat h = 0;
    if (delta > 0) {
        if (maxC == c.red) h = std::fmod((c.green - c.blue) / delta, 6.0);
        else if (maxC == c.green) h = (c.blue - c.red) / delta + 2;
        else h = (c.red - c.green) / delta + 4;
        h /= 6.0;
        if (h < 0) h += 1.0;
    }
    if (hue) *hue = h;
    if (saturation) *saturation = maxC > 0 ? delta / maxC : 0;
    if (brightness) *brightness = maxC;
    if (alpha) *alpha = c.alpha;
    return true;
}

bool UIColor::getWhiteAlpha(CGFloat* white, CGFloat* alpha) const {
    RGBA c = rgba();
    if (white) *white = (m_model == kCGColorSpaceModelMonochrome && !m_dynamic) ? c.red : (c.red + c.green + c.blue) / 3;
    if (alpha) *alpha = c.alpha;
    return true;
}

Ref<UIColor> UIColor::colorWithAlphaComponent(CGFloat alpha) const {
    auto color = alloc<UIColor>();
    color->m_model = m_model;
    color->m_light = m_light;
    color->m_dark = m_dark;
    color->m_light.alpha = alpha;
    color->m_dark.alpha = alpha;
    color->m_dynamic = m_dynamic;
    return color;
}

CGColorRef UIColor::CGColor() const {
    RGBA c = rgba();
    if (model() == kCGColorSpaceModelMonochrome) return CGColorCreateGenericGray(c.red, c.alpha);
    return CGColorCreateSRGB(c.red, c.green, c.blue, c.alpha);
}

bool UIColor::isEqual(const UIColor& other) const {
    return m_dynamic == other.m_dynamic && m_model == other.m_model && m_light == other.m_light &&
           (!m_dynamic || (m_dark == other.m_dark && m_name == other.m_name));
}

std::string UIColor::description() const {
    char buffer[128];
    if (m_name) return "<UIColor " + std::string(*m_name) + ">";
    RGBA c = rgba();
    if (model() == kCGColorSpaceModelMonochrome)
        std::snprintf(buffer, sizeof buffer, "<UIColor white %.4g alpha %.4g>", c.red, c.alpha);
    else
        std::snprintf(buffer, sizeof buffer, "<UIColor%s rgba %.4g %.4g %.4g %.4g>", m_dynamic ? " dynamic" : "",
                      c.red, c.green, c.blue, c.alpha);
    return buffer;
}
