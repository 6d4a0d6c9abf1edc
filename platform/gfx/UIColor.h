#pragma once

// UIKit colours.
//
// A colour is either fixed, in the model it was created in (RGB from red/green/blue or hue/saturation/brightness,
// monochrome from a white level), or dynamic: one of the named system colours, which resolve to a light or a dark
// value by interface style (0 and 1 light, 2 dark) and stay identifiable by their name ("labelColor"), so a test can
// tell that a label shows the label colour and not merely black. Colours are immutable; every "with" call makes a new
// one. Components are kept as given, not clamped, as UIKit keeps extended-range values.

#include "platform/core/Object.h"
#include "platform/gfx/CGColor.h"

#include <optional>
#include <string>
#include <string_view>

namespace platform {
// One colour's channels in the RGB model.
struct RGBA {
    CGFloat red = 0, green = 0, blue = 0, alpha = 0;
    friend bool operator==(const RGBA&, const RGBA&) = default;
};
}  // namespace platform

class UIColor : public NSObject {
    VT_OBJECT(UIColor, NSObject)
public:
    using RGBA = platform::RGBA;

    // ----- creation -----
    static Ref<UIColor> colorWithRedGreenBlueAlpha(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha);
    // A monochrome colour: its CGColor has the monochrome model and the two components {white, alpha}.
    static Ref<UIColor> colorWithWhiteAlpha(CGFloat white, CGFloat alpha);
    // Hue, saturation and brightness as fractions 0..1 (a hue of 1 is red again); the result is an RGB colour.
    static Ref<UIColor> colorWithHueSaturationBrightnessAlpha(CGFloat hue, CGFloat saturation, CGFloat brightness,
                                                              CGFloat alpha);

    Ref<UIColor> initWithRedGreenBlueAlpha(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha);
    Ref<UIColor> initWithWhiteAlpha(CGFloat white, CGFloat alpha);
    Ref<UIColor> initWithHueSaturationBrightnessAlpha(CGFloat hue, CGFloat saturation, CGFloat brightness,
                                                      CGFloat alpha);

    // ----- fixed colours (monochrome, as UIKit makes them) -----
    static Ref<UIColor> whiteColor();  // white 1, alpha 1
    static Ref<UIColor> blackColor();  // white 0, alpha 1
    static Ref<UIColor> clearColor();  // white 0, alpha 0
    static Ref<UIColor> grayColor();   // white 0.5, alpha 1

    // ----- dynamic system colours: light / dark values of the device -----
    static Ref<UIColor> labelColor();
    static Ref<UIColor> secondaryLabelColor();
    static Ref<UIColor> tertiaryLabelColor();
    static Ref<UIColor> systemBackgroundColor();
    static Ref<UIColor> secondarySystemBackgroundColor();
    static Ref<UIColor> tertiarySystemBackgroundColor();
    static Ref<UIColor> systemGroupedBackgroundColor();
    static Ref<UIColor> secondarySystemGroupedBackgroundColor();
    static Ref<UIColor> separatorColor();
    static Ref<UIColor> systemGrayColor();
    static Ref<UIColor> systemGreenColor();
    static Ref<UIColor> systemBlueColor();
    static Ref<UIColor> systemRedColor();
    static Ref<UIColor> systemOrangeColor();
    static Ref<UIColor> systemYellowColor();
    static Ref<UIColor> systemPinkColor();
    static Ref<UIColor> systemPurpleColor();
    // The system colour of that selector name ("labelColor"); nothing for a name that is not one.
    static Ref<UIColor> systemColorNamed(std::string_view name);

    // ----- reading -----
    // The selector name of a system colour ("labelColor"); nothing for every other colour, including one derived
    // from a system colour with colorWithAlphaComponent.
    std::optional<std::string_view> systemName() const { return m_name; }
    // True for colours whose value depends on the interface style.
    bool isDynamic() const { return m_dynamic; }
    // The model a fixed colour was created in; dynamic colours resolve to RGB.
    CGColorSpaceModel model() const { return m_dynamic ? kCGColorSpaceModelRGB : m_model; }

    // The RGB channels for an interface style (0/1 light, 2 dark). Fixed colours ignore the style; monochrome
    // colours answer white in all three channels.
    RGBA resolvedColorWithStyle(int style) const;
    // The RGB channels for the current interface style (platform/gfx/Appearance.h).
    RGBA rgba() const;
    // A fixed colour with the value of this one for a style; a fixed colour answers itself.
    Ref<UIColor> resolvedColorForStyle(int style);

    // Converts to hue, saturation, brightness (fractions 0..1) and alpha for the current style; a grey has hue and
    // saturation 0. Any out-pointer may be null. Always answers true: every colour here converts.
    bool getHueSaturationBrightnessAlpha(CGFloat* hue, CGFloat* saturation, CGFloat* brightness, CGFloat* alpha) const;
    // The RGB channels for the current style. Any out-pointer may be null. Always answers true.
    bool getRedGreenBlueAlpha(CGFloat* red, CGFloat* green, CGFloat* blue, CGFloat* alpha) const;
    // The white level and alpha for the current style (a colour's RGB mean for an RGB colour). Always true.
    bool getWhiteAlpha(CGFloat* white, CGFloat* alpha) const;
    CGFloat alphaComponent() const { return rgba().alpha; }

    // The same colour with another alpha. A dynamic colour stays dynamic (both its values get the alpha) but no longer
    // answers a system name; a monochrome colour stays monochrome.
    Ref<UIColor> colorWithAlphaComponent(CGFloat alpha) const;

    // The CoreGraphics colour for the current style: the model as created for fixed colours, RGB for dynamic ones.
    CGColorRef CGColor() const;

    // Same kind and same values (dynamic colours: same light and dark values and same name).
    bool isEqual(const UIColor& other) const;
    std::string description() const override;

private:
    static Ref<UIColor> makeDynamic(std::string_view name, RGBA light, RGBA dark);

    CGColorSpaceModel m_model = kCGColorSpaceModelRGB;
    // Fixed colours keep their channels in m_light (monochrome: red = green = blue = white).
    RGBA m_light;
    RGBA m_dark;
    bool m_dynamic = false;
    std::optional<std::string_view> m_name;
};
