#pragma once

// Haptic feedback, recorded in the effect log (kind "impact", value = style) instead of felt.

#include "platform/core/Object.h"

using UIImpactFeedbackStyle = long;
inline constexpr UIImpactFeedbackStyle UIImpactFeedbackStyleLight = 0;
inline constexpr UIImpactFeedbackStyle UIImpactFeedbackStyleMedium = 1;
inline constexpr UIImpactFeedbackStyle UIImpactFeedbackStyleHeavy = 2;

class UIImpactFeedbackGenerator : public NSObject {
    VT_OBJECT(UIImpactFeedbackGenerator, NSObject)
public:
    void initWithStyle(UIImpactFeedbackStyle style) { m_style = style; }
    UIImpactFeedbackStyle style() const { return m_style; }
    // Has no observable effect beyond the record; kept for the callers that prepare first.
    void prepare() {}
    // Appends one "impact" record with the generator's style.
    void impactOccurred();

private:
    UIImpactFeedbackStyle m_style = UIImpactFeedbackStyleMedium;
};
