#pragma once

// A horizontal slider: a thin track filled in the tint colour up to a round white thumb. Dragging the thumb (or a
// touch on the track, which moves the thumb there first) changes the value and sends value-changed on every move
// when continuous, else once at the end; touch-up-inside follows at the end. setValue never sends anything.
//
// The value stays within [minimumValue, maximumValue]; setting a minimum above the maximum raises the maximum to
// it (and the reverse), and a NaN value is ignored.

#include "platform/ui/UIControl.h"

class UIColor;

class UISlider : public UIControl {
    VT_OBJECT(UISlider, UIControl)
public:
    static constexpr CGFloat kThumbSize = 28;
    static constexpr CGFloat kTrackHeight = 4;
    static constexpr CGFloat kHeight = 31;

    void initWithFrame(CGRect frame) override;

    float value() const { return m_value; }
    void setValue(float value) { setValueAnimated(value, false); }
    void setValueAnimated(float value, bool animated);
    float minimumValue() const { return m_min; }
    void setMinimumValue(float value);
    float maximumValue() const { return m_max; }
    void setMaximumValue(float value);
    bool isContinuous() const { return m_continuous; }
    void setContinuous(bool on) { m_continuous = on; }

    // Null means the tint colour.
    Ref<UIColor> minimumTrackTintColor() const { return m_minTint; }
    void setMinimumTrackTintColor(Ref<UIColor> color);

    // The value a point of the slider stands for (clamped), and the thumb's centre for the current value.
    float valueAtPoint(CGPoint point) const;
    CGPoint thumbCenter() const;
    // The views that draw it (for the renderer, dumps and tests).
    Ref<UIView> trackView() const { return m_track; }
    Ref<UIView> fillView() const { return m_fill; }
    Ref<UIView> thumbView() const { return m_thumb; }

    bool beginTrackingAt(CGPoint point) override;
    bool continueTrackingAt(CGPoint point) override;
    void endTrackingAt(CGPoint point) override;
    CGSize intrinsicContentSize() override;
    void layoutSubviews() override;
    void tintColorDidChange() override;

protected:
    void stateChanged() override;

private:
    void refreshLook();

    float m_value = 0;
    float m_valueAtTouchDown = 0;
    float m_min = 0;
    float m_max = 1;
    bool m_continuous = true;
    Ref<UIColor> m_minTint;
    Ref<UIView> m_track;
    Ref<UIView> m_fill;
    Ref<UIView> m_thumb;
};
