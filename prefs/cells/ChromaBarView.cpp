#include "prefs/cells/ChromaBarView.h"

#include "prefs/cells/ChromaCodec.h"
#include "prefs/cells/ChromaIndicatorView.h"
#include "prefs/cells/ChromaPickerDelegate.h"

#include "platform/core/Runtime.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIImage.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UIPanGestureRecognizer.h"

namespace chroma {

VT_REGISTER_CLASS(ChromaBarView, [](Class c) {
    platform::runtime::addMethod<&ChromaBarView::handlePanSwipe>(c, "handlePanSwipe:");
})

void ChromaBarView::setBarValue(float value) {
    if (value == m_value && m_imageView && m_imageView->image()) return;
    m_value = value;
    tellUpdateColor(delegate());
    updateContent();
    setNeedsLayout();
}

void ChromaBarView::updateContent() {
    if (!m_imageView) {
        m_imageView = alloc<UIImageView>();
        m_imageView->initWithFrame(bounds());
        m_imageView->setUserInteractionEnabled(false);
        insertSubviewAtIndex(m_imageView, 0);
    }
    m_imageView->setFrame(bounds());
    m_imageView->setImage(makeImage(bounds().size));
}

void ChromaBarView::layoutSubviews() {
    UIView::layoutSubviews();
    if (makesImageAtFirstLayout() && m_value == 0) setBarValue(0);
    if (!m_indicator) {
        m_indicator = alloc<ChromaIndicatorView>();
        m_indicator->initWithFrame(ChromaIndicatorView::kInitialFrame);
        addSubview(m_indicator);
        m_gesture = alloc<UIPanGestureRecognizer>();
        m_gesture->initWithTargetAction(self(), sel("handlePanSwipe:"));
        addGestureRecognizer(m_gesture);
    }
    const CGRect b = bounds();
    m_indicator->setCenter(CGPointMake(m_value * b.width(), b.height() / 2));
    m_indicator->setColor(indicatorColor());
}

void ChromaBarView::handlePanSwipe(id sender) {
    auto pan = cast<UIPanGestureRecognizer>(sender);
    const CGFloat width = bounds().width();
    if (!pan || width <= 0) return;
    const CGPoint touch = pan->locationInView(self<UIView>());
    setBarValue(pin(0, static_cast<float>(touch.x / width), 1));
}

}  // namespace chroma
