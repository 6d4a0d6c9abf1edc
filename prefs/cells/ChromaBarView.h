#pragma once

// The two bars of the colour picker, the hue bar and the alpha bar, share everything but their value's meaning:
// a value 0..1 across the bar, an image, an indicator at value × width on the middle line, and a pan that sets the
// value under the finger, clamped to the bar. Setting a value that differs (or the first one) tells the delegate
// (updateColor), draws the image and moves the indicator.
//
// Published by each bar: "handlePanSwipe:" (void(id)).

#include "platform/ui/UIView.h"

class ChromaIndicatorView;
class UIColor;
class UIImage;
class UIImageView;
class UIPanGestureRecognizer;

namespace chroma {

class ChromaBarView : public UIView {
    VT_OBJECT(ChromaBarView, UIView)
public:
    id delegate() const { return m_delegate.lock(); }
    void setDelegate(const id& delegate) { m_delegate = delegate; }
    Ref<ChromaIndicatorView> indicator() const { return m_indicator; }
    Ref<UIImageView> imageView() const { return m_imageView; }
    Ref<UIPanGestureRecognizer> gesture() const { return m_gesture; }

    // Sets the bar's image, making the image view over the bounds on first use.
    void updateContent();
    void layoutSubviews() override;
    void handlePanSwipe(id sender);

protected:
    float barValue() const { return m_value; }
    void setBarValue(float value);
    // The image for the current value, drawn at `size` points.
    virtual Ref<UIImage> makeImage(CGSize size) const = 0;
    virtual Ref<UIColor> indicatorColor() const = 0;
    // The hue bar makes its first image from its first layout.
    virtual bool makesImageAtFirstLayout() const { return false; }

private:
    float m_value = 0;
    Weak<NSObject> m_delegate;
    Ref<ChromaIndicatorView> m_indicator;
    Ref<UIImageView> m_imageView;
    Ref<UIPanGestureRecognizer> m_gesture;
};

}  // namespace chroma
