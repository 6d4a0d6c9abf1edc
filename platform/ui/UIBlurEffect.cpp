#include "platform/ui/UIBlurEffect.h"

#include "platform/core/Runtime.h"

VT_REGISTER_CLASS(UIBlurEffect)

Ref<UIBlurEffect> UIBlurEffect::effectWithStyle(UIBlurEffectStyle style) {
    auto e = alloc<UIBlurEffect>();
    e->m_style = style;
    return e;
}

bool UIBlurEffect::isDark() const { return m_style == UIBlurEffectStyleDark || (m_style >= 16 && m_style <= 20); }

double UIBlurEffect::tintWhite() const { return isDark() ? 0.11 : 0.97; }

double UIBlurEffect::tintAlpha() const {
    // The ultra-thin materials let most of the content through; the older styles are denser.
    if (m_style == 11 || m_style == 16) return 0.55;
    return 0.8;
}
