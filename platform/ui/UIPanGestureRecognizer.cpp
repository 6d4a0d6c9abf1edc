#include "platform/ui/UIPanGestureRecognizer.h"

#include "platform/core/Runtime.h"

#include "platform/ui/UIView.h"

#include <cmath>

VT_REGISTER_CLASS(UIPanGestureRecognizer)

CGPoint UIPanGestureRecognizer::centroid() const { return locationInView(nullptr); }

// Window directions into a view's directions: through the inverse of the linear part of its map to the root.
CGPoint UIPanGestureRecognizer::toViewDirection(CGPoint v, const Ref<UIView>& view) const {
    if (!view) return v;
    CGAffineTransform m = view->transformToRoot();
    CGFloat det = m.a * m.d - m.b * m.c;
    if (det == 0) return v;
    return {(m.d * v.x - m.c * v.y) / det, (-m.b * v.x + m.a * v.y) / det};
}

CGPoint UIPanGestureRecognizer::fromViewDirection(CGPoint v, const Ref<UIView>& view) const {
    if (!view) return v;
    CGAffineTransform m = view->transformToRoot();
    return {m.a * v.x + m.c * v.y, m.b * v.x + m.d * v.y};
}

CGPoint UIPanGestureRecognizer::translationInView(const Ref<UIView>& view) const {
    return toViewDirection({m_raw.x - m_offset.x, m_raw.y - m_offset.y}, view);
}

void UIPanGestureRecognizer::setTranslationInView(CGPoint translation, const Ref<UIView>& view) {
    CGPoint t = fromViewDirection(translation, view);
    m_offset = {m_raw.x - t.x, m_raw.y - t.y};
}

CGPoint UIPanGestureRecognizer::velocityInView(const Ref<UIView>& view) const {
    return toViewDirection(m_velocity, view);
}

void UIPanGestureRecognizer::touchesBegan(const UITouchSet& touches) {
    bool first = m_touches.empty();
    UIGestureRecognizer::touchesBegan(touches);
    if (first) {
        m_start = centroid();
        m_raw = m_offset = m_velocity = {};
    }
}

void UIPanGestureRecognizer::touchesMoved(const UITouchSet& touches) {
    UIGestureRecognizer::touchesMoved(touches);
    long s = state();
    if (s != UIGestureRecognizerStatePossible && s != UIGestureRecognizerStateBegan &&
        s != UIGestureRecognizerStateChanged)
        return;
    CGPoint c = centroid();
    m_raw = {c.x - m_start.x, c.y - m_start.y};
    m_velocity = {};
    for (const auto& t : m_touches) {
        m_velocity.x += t->velocity().x / static_cast<CGFloat>(m_touches.size());
        m_velocity.y += t->velocity().y / static_cast<CGFloat>(m_touches.size());
    }
    if (s == UIGestureRecognizerStatePossible) {
        long n = static_cast<long>(m_touches.size());
        if (n < m_minTouches || n > m_maxTouches) return;
        if (std::hypot(m_raw.x, m_raw.y) >= kHysteresis) setState(UIGestureRecognizerStateBegan);
    } else {
        setState(UIGestureRecognizerStateChanged);
    }
}

void UIPanGestureRecognizer::touchesEnded(const UITouchSet& touches) {
    UIGestureRecognizer::touchesEnded(touches);
    long s = state();
    if (s == UIGestureRecognizerStateBegan || s == UIGestureRecognizerStateChanged)
        setState(UIGestureRecognizerStateEnded);
    else if (s == UIGestureRecognizerStatePossible)
        setState(UIGestureRecognizerStateFailed);
}

void UIPanGestureRecognizer::touchesCancelled(const UITouchSet& touches) {
    UIGestureRecognizer::touchesCancelled(touches);
    long s = state();
    if (s == UIGestureRecognizerStateBegan || s == UIGestureRecognizerStateChanged)
        setState(UIGestureRecognizerStateCancelled);
    else if (s == UIGestureRecognizerStatePossible)
        setState(UIGestureRecognizerStateFailed);
}

void UIPanGestureRecognizer::reset() {
    UIGestureRecognizer::reset();
    // The translation and velocity stay readable after the gesture, as the drawer's release handling reads them.
}
