#pragma once

// Fonts as UIKit names them. Every face is drawn with Inter (the project's stand-in for the system face, pinned by
// assets/fonts/fonts.conf); a font keeps the name it was asked for, so a dump shows what the code requested.

#include "platform/core/Object.h"
#include "platform/gfx/Geometry.h"

#include <string>
#include <string_view>

using UIFontWeight = double;
inline constexpr UIFontWeight UIFontWeightUltraLight = -0.8;
inline constexpr UIFontWeight UIFontWeightThin = -0.6;
inline constexpr UIFontWeight UIFontWeightLight = -0.4;
inline constexpr UIFontWeight UIFontWeightRegular = 0.0;
inline constexpr UIFontWeight UIFontWeightMedium = 0.23;
inline constexpr UIFontWeight UIFontWeightSemibold = 0.3;
inline constexpr UIFontWeight UIFontWeightBold = 0.4;
inline constexpr UIFontWeight UIFontWeightHeavy = 0.56;
inline constexpr UIFontWeight UIFontWeightBlack = 0.62;

class UIFont : public NSObject {
    VT_OBJECT(UIFont, NSObject)
public:
    // The system face at `size` points (regular, bold, or any UIFontWeight). Sizes below 0 count as 0.
    static Ref<UIFont> systemFontOfSize(CGFloat size);
    static Ref<UIFont> boldSystemFontOfSize(CGFloat size);
    static Ref<UIFont> systemFontOfSizeWeight(CGFloat size, UIFontWeight weight);
    // A named face: the Helvetica and Helvetica Neue families (with their "-Bold", "-Medium", "-Light" faces),
    // "Inter" and the system names. Nothing for any other name, as on the device.
    static Ref<UIFont> fontWithNameSize(std::string_view name, CGFloat size);

    // The same face at another size.
    Ref<UIFont> fontWithSize(CGFloat size) const;

    CGFloat pointSize() const { return m_pointSize; }
    UIFontWeight weight() const { return m_weight; }
    bool isBold() const { return m_weight >= UIFontWeightSemibold; }
    // The name as asked for (".SFUI-Regular" style for system faces, "HelveticaNeue" for named ones).
    const std::string& fontName() const { return m_fontName; }
    const std::string& familyName() const { return m_familyName; }
    // The face that actually draws the text.
    std::string drawnFamily() const { return "Inter"; }
    // Line metrics of the drawn face at this size, in points.
    CGFloat ascender() const;
    CGFloat descender() const;  // negative, as on the device
    CGFloat lineHeight() const;
    // The Pango weight (100..900) of the drawn face.
    int pangoWeight() const;

    std::string description() const override;

private:
    static Ref<UIFont> make(std::string name, std::string family, CGFloat size, UIFontWeight weight);
    std::string m_fontName;
    std::string m_familyName;
    CGFloat m_pointSize = 0;
    UIFontWeight m_weight = UIFontWeightRegular;
};
