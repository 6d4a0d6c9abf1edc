#include "prefs/cells/ChromaPickerView.h"

#include "prefs/cells/ChromaCodec.h"
#include "prefs/cells/ChromaIndicatorView.h"
#include "prefs/cells/ChromaPickerDelegate.h"

#include "platform/core/Runtime.h"
#include "platform/gfx/CGImage.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIImage.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UIPanGestureRecognizer.h"

VT_REGISTER_CLASS(ChromaPickerView, [](Class c) {
    platform::runtime::addMethod<&ChromaPickerView::handlePanSwipe>(c, "handlePanSwipe:");
})

void ChromaPickerView::setHue(float hue) {
    if (hue == m_hue && m_imageView && m_imageView->image()) return;
    m_hue = hue;
    if (m_indicator)
        m_indicator->setColor(UIColor::colorWithHueSaturationBrightnessAlpha(m_hue, m_value.x, m_value.y, 1));
    updateContent();
}

void ChromaPickerView::setValue(CGPoint value) {
    if (value.x == m_value.x && value.y == m_value.y) return;
    m_value = value;
    chroma::tellUpdateColor(delegate());
    setNeedsLayout();
}

void ChromaPickerView::updateContent() {
    if (!m_imageView) {
        m_imageView = alloc<UIImageView>();
        m_imageView->initWithFrame(bounds());
        m_imageView->setUserInteractionEnabled(false);
        insertSubviewAtIndex(m_imageView, 0);
    }
    CGImageRef square = chroma::createSaturationBrightnessSquareContentImageWithHue(m_hue * 360);
    auto image = UIImage::imageWithCGImage(square);
    CGImageRelease(square);
    m_imageView->setFrame(bounds());
    m_imageView->setImage(image);
}

void ChromaPickerView::layoutSubviews() {
    UIView::layoutSubviews();
    if (m_hue == 0) setHue(0);
    if (!m_indicator) {
        m_indicator = alloc<ChromaIndicatorView>();
        m_indicator->initWithFrame(ChromaIndicatorView::kInitialFrame);
        addSubview(m_indicator);
        m_gesture = alloc<UIPanGestureRecognizer>();
        m_gesture->initWithTargetAction(self(), sel("handlePanSwipe:"));
        addGestureRecognizer(m_gesture);
    }
    const CGRect b = bounds();
    m_indicator->setCenter(CGPointMake(m_value.x * b.width(), b.height() - m_value.y * b.height()));
    m_indicator->setColor(UIColor::colorWithHueSaturationBrightnessAlpha(m_hue, m_value.x, m_value.y, 1));
}

void ChromaPickerView::handlePanSwipe(id sender) {
    auto pan = cast<UIPanGestureRecognizer>(sender);
    const CGRect b = bounds();
    if (!pan || b.width() <= 0 || b.height() <= 0) return;
    const CGPoint touch = pan->locationInView(self<UIView>());
    const float saturation = chroma::pin(0, static_cast<float>(touch.x / b.width()), 1);
    const float brightness = 1 - chroma::pin(0, static_cast<float>(touch.y / b.height()), 1);
    setValue(CGPointMake(saturation, brightness));
}
