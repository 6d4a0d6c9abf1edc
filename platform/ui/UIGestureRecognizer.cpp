#include "platform/ui/UIGestureRecognizer.h"

#include "platform/core/Runtime.h"
#include "platform/ui/UIView.h"

#include <algorithm>

VT_REGISTER_CLASS(UIGestureRecognizer)

void UIGestureRecognizer::initWithTargetAction(const id& target, SEL action) { addTargetAction(target, action); }

void UIGestureRecognizer::addTargetAction(const id& target, SEL action) {
    if (!target || !action) return;
    m_pairs.push_back({target, action});
}

void UIGestureRecognizer::removeTargetAction(const id& target, SEL action) {
    std::erase_if(m_pairs, [&](const Pair& p) {
        auto t = p.target.lock();
        return (!target || t == target) && (!action || p.action == action);
    });
}

void UIGestureRecognizer::setEnabled(bool enabled) {
    if (enabled == m_enabled) return;
    m_enabled = enabled;
    if (!enabled) {
        if (m_state == UIGestureRecognizerStateBegan || m_state == UIGestureRecognizerStateChanged)
            setState(UIGestureRecognizerStateCancelled);
        reset();
    }
}

CGPoint UIGestureRecognizer::locationInView(const Ref<UIView>& view) const {
    CGPoint p = m_lastLocation;
    if (!m_touches.empty()) {
        p = {};
        for (const auto& t : m_touches) {
            p.x += t->windowLocation().x;
            p.y += t->windowLocation().y;
        }
        p.x /= static_cast<CGFloat>(m_touches.size());
        p.y /= static_cast<CGFloat>(m_touches.size());
    }
    return view ? view->convertPointFromView(p, nullptr) : p;
}

void UIGestureRecognizer::touchesBegan(const UITouchSet& touches) {
    for (const auto& t : touches)
        if (std::find(m_touches.begin(), m_touches.end(), t) == m_touches.end()) m_touches.push_back(t);
    m_lastLocation = locationInView(nullptr);
}

void UIGestureRecognizer::touchesMoved(const UITouchSet&) { m_lastLocation = locationInView(nullptr); }
void UIGestureRecognizer::touchesEnded(const UITouchSet&) { m_lastLocation = locationInView(nullptr); }
void UIGestureRecognizer::touchesCancelled(const UITouchSet&) { m_lastLocation = locationInView(nullptr); }

void UIGestureRecognizer::reset() {
    if (!m_touches.empty()) m_lastLocation = locationInView(nullptr);
    m_touches.clear();
    m_state = UIGestureRecognizerStatePossible;
}

bool UIGestureRecognizer::hasRecognized() const {
    return m_state == UIGestureRecognizerStateBegan || m_state == UIGestureRecognizerStateChanged ||
           m_state == UIGestureRecognizerStateEnded;
}

bool UIGestureRecognizer::shouldBegin() {
    if (m_arbiter && !m_arbiter(this)) return false;
    auto me = self<UIGestureRecognizer>();
    SEL should = sel("gestureRecognizerShouldBegin:");
    if (auto d = delegate(); d && d->respondsToSelector(should) && !platform::msgSend<bool>(d.get(), should, me))
        return false;
    auto v = view();
    if (v && !platform::msgSend<bool>(v.get(), should, me)) return false;
    auto touched = touchedView();
    if (touched && touched != v && !platform::msgSend<bool>(touched.get(), should, me)) return false;
    return true;
}

void UIGestureRecognizer::setState(long state) {
    bool starting = m_state == UIGestureRecognizerStatePossible &&
                    (state == UIGestureRecognizerStateBegan || state == UIGestureRecognizerStateEnded);
    if (starting && !shouldBegin()) {
        m_state = UIGestureRecognizerStateFailed;
        return;
    }
    m_state = state;
    if (state == UIGestureRecognizerStateBegan || state == UIGestureRecognizerStateChanged ||
        state == UIGestureRecognizerStateEnded || state == UIGestureRecognizerStateCancelled)
        sendActions();
}

void UIGestureRecognizer::sendActions() {
    auto me = self<UIGestureRecognizer>();
    auto pairs = m_pairs;  // an action may add or remove targets
    for (const auto& p : pairs)
        if (auto target = p.target.lock()) platform::performAction(target.get(), p.action, me);
}
