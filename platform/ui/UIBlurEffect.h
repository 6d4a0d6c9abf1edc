#pragma once

// A blur material for a visual-effect view. Only the style is kept; the renderer approximates the material by a
// translucent tint of the style's brightness.

#include "platform/core/Object.h"

using UIBlurEffectStyle = long;
inline constexpr UIBlurEffectStyle UIBlurEffectStyleExtraLight = 0;
inline constexpr UIBlurEffectStyle UIBlurEffectStyleLight = 1;
inline constexpr UIBlurEffectStyle UIBlurEffectStyleDark = 2;
inline constexpr UIBlurEffectStyle UIBlurEffectStyleSystemUltraThinMaterialLight = 11;
inline constexpr UIBlurEffectStyle UIBlurEffectStyleSystemUltraThinMaterialDark = 16;

class UIBlurEffect : public NSObject {
    VT_OBJECT(UIBlurEffect, NSObject)
public:
    static Ref<UIBlurEffect> effectWithStyle(UIBlurEffectStyle style);
    UIBlurEffectStyle style() const { return m_style; }
    // True for the dark styles (2, and 16 to 20, the dark materials).
    bool isDark() const;
    // The tint the renderer lays over the content: grey level and opacity (0…1).
    double tintWhite() const;
    double tintAlpha() const;

private:
    UIBlurEffectStyle m_style = 0;
};
