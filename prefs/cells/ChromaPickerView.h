#pragma once

// The saturation/brightness square of the colour picker: the square of the current hue, saturation growing to the
// right and brightness to the top, with an indicator at the chosen point. Dragging anywhere on it chooses the point
// under the finger, clamped to the square.
//
// Published: "handlePanSwipe:" (void(id)), the pan recogniser's action.

#include "platform/ui/UIView.h"

class ChromaIndicatorView;
class UIImageView;
class UIPanGestureRecognizer;

class ChromaPickerView : public UIView {
    VT_OBJECT(ChromaPickerView, UIView)
public:
    void init() { initWithFrame(CGRectZero); }

    // 0..1 (a fraction of the circle).
    float hue() const { return m_hue; }
    // Does nothing when the hue is unchanged and the square has its image; otherwise recolours the indicator and
    // draws the square anew. The delegate is not told: the hue belongs to the hue bar.
    void setHue(float hue);
    // x saturation, y brightness, each 0..1.
    CGPoint value() const { return m_value; }
    // Does nothing when both are unchanged; otherwise tells the delegate (updateColor) and moves the indicator.
    void setValue(CGPoint value);

    id delegate() const { return m_delegate.lock(); }
    void setDelegate(const id& delegate) { m_delegate = delegate; }
    // Made on the first layout; null before.
    Ref<ChromaIndicatorView> indicator() const { return m_indicator; }
    Ref<UIImageView> imageView() const { return m_imageView; }
    Ref<UIPanGestureRecognizer> gesture() const { return m_gesture; }

    // Sets the square's image for the current hue, making the image view over the bounds on first use.
    void updateContent();
    void layoutSubviews() override;
    void handlePanSwipe(id sender);

private:
    float m_hue = 0;
    CGPoint m_value{0, 0};
    Weak<NSObject> m_delegate;
    Ref<ChromaIndicatorView> m_indicator;
    Ref<UIImageView> m_imageView;
    Ref<UIPanGestureRecognizer> m_gesture;
};
