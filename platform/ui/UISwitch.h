#pragma once

// The on/off switch: a 51 × 31 rounded track with a white knob. A tap toggles it and sends value-changed, then
// touch-up-inside; setOn never sends anything. A disabled switch ignores touches.
//
// The look is built from two views (track and knob) with corner radii and colours, so every renderer draws it.

#include "platform/ui/UIControl.h"

class UIColor;

class UISwitch : public UIControl {
    VT_OBJECT(UISwitch, UIControl)
public:
    static constexpr CGSize kSize{51, 31};

    // The switch keeps its own size whatever the frame's size.
    void initWithFrame(CGRect frame) override;
    void setFrame(CGRect frame) override;

    bool isOn() const { return m_on; }
    void setOn(bool on) { setOnAnimated(on, false); }
    // The knob moves over the animation time when animated; `isOn` is final at once.
    void setOnAnimated(bool on, bool animated);

    // Null means the system green.
    Ref<UIColor> onTintColor() const { return m_onTint; }
    void setOnTintColor(Ref<UIColor> color);
    Ref<UIColor> thumbTintColor() const { return m_thumbTint; }
    void setThumbTintColor(Ref<UIColor> color);

    // The track's and knob's views (for the renderer, dumps and tests).
    Ref<UIView> trackView() const { return m_track; }
    Ref<UIView> knobView() const { return m_knob; }

    void endTrackingAt(CGPoint point) override;
    CGSize intrinsicContentSize() override { return kSize; }
    void layoutSubviews() override;

protected:
    void stateChanged() override;

private:
    void refreshLook();

    bool m_on = false;
    Ref<UIColor> m_onTint;
    Ref<UIColor> m_thumbTint;
    Ref<UIView> m_track;
    Ref<UIView> m_knob;
};
