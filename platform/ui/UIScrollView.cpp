#include "platform/ui/UIScrollView.h"

#include "platform/core/Runtime.h"


#include <algorithm>
#include <cmath>

VT_REGISTER_CLASS(UIScrollView, [](Class c) {
    platform::runtime::addMethod<&UIScrollView::contentOffset>(c, "contentOffset");
    platform::runtime::addMethod<&UIScrollView::setContentOffset>(c, "setContentOffset:");
})

void UIScrollView::initWithFrame(CGRect frame) {
    UIView::initWithFrame(frame);
    setClipsToBounds(true);
}

void UIScrollView::setContentOffset(CGPoint offset) {
    if (offset == contentOffset()) return;
    CGRect b = bounds();
    b.origin = offset;
    setBounds(b);
    contentOffsetDidChange();
    auto d = delegate();
    if (d && d->respondsToSelector(sel("scrollViewDidScroll:")))
        platform::msgSend<void, Ref<UIScrollView>>(d.get(), sel("scrollViewDidScroll:"), self<UIScrollView>());
}

void UIScrollView::setContentOffsetAnimated(CGPoint offset, bool animated) {
    // The offset is a model value: final at once, as with every animation on the virtual clock.
    setContentOffset(offset);
}

void UIScrollView::setContentSize(CGSize size) {
    if (size == m_contentSize) return;
    m_contentSize = size;
    contentOffsetDidChange();
}

void UIScrollView::setContentInset(UIEdgeInsets inset) {
    if (inset == m_contentInset) return;
    m_contentInset = inset;
    contentOffsetDidChange();
}

void UIScrollView::setScrollEnabled(bool on) {
    m_scrollEnabled = on;
    if (!on && m_touch == Touch::Dragging) m_touch = Touch::None, m_dragging = false;
}

CGPoint UIScrollView::minimumContentOffset() const { return {-m_contentInset.left, -m_contentInset.top}; }

CGPoint UIScrollView::maximumContentOffset() const {
    CGPoint min = minimumContentOffset();
    CGFloat x = m_contentSize.width + m_contentInset.right - bounds().width();
    CGFloat y = m_contentSize.height + m_contentInset.bottom - bounds().height();
    return {std::max(min.x, x), std::max(min.y, y)};
}

bool UIScrollView::canScrollVertically() const {
    return m_alwaysBounceVertical || maximumContentOffset().y > minimumContentOffset().y;
}

bool UIScrollView::canScrollHorizontally() const {
    return m_alwaysBounceHorizontal || maximumContentOffset().x > minimumContentOffset().x;
}

bool UIScrollView::showsVerticalIndicatorNow() const {
    return m_scrollEnabled && m_showsVertical && maximumContentOffset().y > minimumContentOffset().y;
}

CGPoint UIScrollView::clamped(CGPoint o) const {
    CGPoint min = minimumContentOffset(), max = maximumContentOffset();
    return {std::clamp(o.x, min.x, max.x), std::clamp(o.y, min.y, max.y)};
}

CGPoint UIScrollView::touchInSelf(const UITouchSet& touches) {
    if (touches.empty()) return {};
    // Content coordinates, then back to coordinates that do not move with the offset.
    CGPoint p = touches.front()->locationInView(self<UIView>());
    return {p.x - contentOffset().x, p.y - contentOffset().y};
}

void UIScrollView::touchesBeganWithEvent(UITouchSet touches, id event) {
    m_touchStart = touchInSelf(touches);
    m_offsetAtStart = contentOffset();
    CGPoint content{m_touchStart.x + contentOffset().x, m_touchStart.y + contentOffset().y};
    m_touch = claimsTouchAt(content) ? Touch::Claimed : Touch::Pending;
}

void UIScrollView::touchesMovedWithEvent(UITouchSet touches, id event) {
    CGPoint p = touchInSelf(touches);
    if (m_touch == Touch::Claimed) {
        claimedTouchMoved({p.x + contentOffset().x, p.y + contentOffset().y});
        return;
    }
    if (m_touch == Touch::None || !m_scrollEnabled) return;
    CGFloat dx = canScrollHorizontally() ? p.x - m_touchStart.x : 0;
    CGFloat dy = canScrollVertically() ? p.y - m_touchStart.y : 0;
    if (m_touch == Touch::Pending) {
        if (std::hypot(dx, dy) < kPanThreshold) return;
        m_touch = Touch::Dragging;
        m_dragging = true;
        auto d = delegate();
        if (d && d->respondsToSelector(sel("scrollViewWillBeginDragging:")))
            platform::msgSend<void, Ref<UIScrollView>>(d.get(), sel("scrollViewWillBeginDragging:"),
                                                       self<UIScrollView>());
    }
    CGPoint target{m_offsetAtStart.x - dx, m_offsetAtStart.y - dy};
    setContentOffset(m_bounces ? target : clamped(target));
}

void UIScrollView::touchesEndedWithEvent(UITouchSet touches, id event) {
    CGPoint p = touchInSelf(touches);
    Touch was = m_touch;
    m_touch = Touch::None;
    if (was == Touch::Claimed) {
        claimedTouchEnded({p.x + contentOffset().x, p.y + contentOffset().y});
        return;
    }
    if (was == Touch::Pending) {
        tapAt({p.x + contentOffset().x, p.y + contentOffset().y});
        return;
    }
    if (was != Touch::Dragging) return;
    m_dragging = false;
    auto d = delegate();
    if (d && d->respondsToSelector(sel("scrollViewDidEndDragging:willDecelerate:")))
        platform::msgSend<void, Ref<UIScrollView>, bool>(d.get(), sel("scrollViewDidEndDragging:willDecelerate:"),
                                                         self<UIScrollView>(), false);
    setContentOffset(clamped(contentOffset()));
}

void UIScrollView::touchesCancelledWithEvent(UITouchSet touches, id event) {
    Touch was = m_touch;
    m_touch = Touch::None;
    m_dragging = false;
    if (was == Touch::Claimed) claimedTouchCancelled();
    if (was == Touch::Dragging) setContentOffset(clamped(contentOffset()));
}
