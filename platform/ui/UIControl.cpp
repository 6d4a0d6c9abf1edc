#include "platform/ui/UIControl.h"

#include "platform/ui/UIApplication.h"

#include <algorithm>

VT_REGISTER_CLASS(UIControl, [](Class c) {
    platform::runtime::addMethod<&UIControl::sendActionsForControlEvents>(c, "sendActionsForControlEvents:");
})

void UIControl::addTargetActionForControlEvents(const id& target, SEL action, UIControlEvents events) {
    if (!action || events == 0) return;
    for (const auto& p : m_pairs) {
        bool sameTarget = target ? (!p.nilTarget && p.target.lock() == target) : p.nilTarget;
        if (sameTarget && p.action == action && p.events == events) return;
    }
    m_pairs.push_back({target, target == nullptr, action, events});
}

void UIControl::removeTargetActionForControlEvents(const id& target, SEL action, UIControlEvents events) {
    std::erase_if(m_pairs, [&](Pair& p) {
        if (target && (p.nilTarget || p.target.lock() != target)) return false;
        if (action && p.action != action) return false;
        p.events &= ~events;
        return p.events == 0;
    });
}

void UIControl::sendActionsForControlEvents(UIControlEvents events) {
    // Actions may add or remove pairs; the pairs registered when the event happened are the ones sent.
    auto pairs = m_pairs;
    auto sender = self();
    for (const auto& p : pairs) {
        if (!(p.events & events)) continue;
        if (p.nilTarget) {
            UIApplication::sharedApplication()->sendActionToFromForEvent(p.action, nullptr, sender, nullptr);
            continue;
        }
        // A released target is skipped: performAction answers false for a null target without calling anything.
        auto target = p.target.lock();
        if (target) platform::performAction(target.get(), p.action, sender);
    }
}

std::vector<id> UIControl::allTargets() const {
    std::vector<id> out;
    for (const auto& p : m_pairs) {
        auto t = p.target.lock();
        if (t && std::find(out.begin(), out.end(), t) == out.end()) out.push_back(t);
    }
    return out;
}

std::vector<std::string> UIControl::actionsForTargetForControlEvent(const id& target, UIControlEvents event) const {
    std::vector<std::string> out;
    for (const auto& p : m_pairs) {
        bool sameTarget = target ? (!p.nilTarget && p.target.lock() == target) : p.nilTarget;
        if (sameTarget && (p.events & event)) out.emplace_back(platform::runtime::selectorName(p.action));
    }
    return out;
}

UIControlEvents UIControl::allControlEvents() const {
    UIControlEvents all = 0;
    for (const auto& p : m_pairs) all |= p.events;
    return all;
}

void UIControl::setEnabled(bool enabled) {
    if (m_enabled == enabled) return;
    m_enabled = enabled;
    if (!enabled && m_tracking) cancelTracking();
    stateChanged();
}

void UIControl::setSelected(bool selected) {
    if (m_selected == selected) return;
    m_selected = selected;
    stateChanged();
}

void UIControl::setHighlighted(bool highlighted) {
    if (m_highlighted == highlighted) return;
    m_highlighted = highlighted;
    stateChanged();
}

UIControlState UIControl::state() const {
    UIControlState s = UIControlStateNormal;
    if (m_highlighted) s |= UIControlStateHighlighted;
    if (!m_enabled) s |= UIControlStateDisabled;
    if (m_selected) s |= UIControlStateSelected;
    return s;
}

void UIControl::setContentHorizontalAlignment(UIControlContentHorizontalAlignment a) {
    if (m_hAlign == a) return;
    m_hAlign = a;
    setNeedsLayout();
}

void UIControl::setContentVerticalAlignment(UIControlContentVerticalAlignment a) {
    if (m_vAlign == a) return;
    m_vAlign = a;
    setNeedsLayout();
}

bool UIControl::isInsideForTracking(CGPoint p) const {
    return bounds().insetBy(-kTouchSlack, -kTouchSlack).contains(p);
}

bool UIControl::beginTrackingAt(CGPoint point) {
    m_tracking = true;
    m_touchInside = true;
    setHighlighted(true);
    sendActionsForControlEvents(UIControlEventTouchDown);
    return true;
}

bool UIControl::continueTrackingAt(CGPoint point) {
    m_touchInside = isInsideForTracking(point);
    setHighlighted(m_touchInside);
    if (m_touchInside) sendActionsForControlEvents(UIControlEventTouchDragInside);
    return true;
}

void UIControl::endTrackingAt(CGPoint point) {
    m_tracking = false;
    setHighlighted(false);
    bool inside = isInsideForTracking(point);
    sendActionsForControlEvents(inside ? UIControlEventTouchUpInside : UIControlEventTouchUpOutside);
    if (inside) sendActionsForControlEvents(UIControlEventPrimaryActionTriggered);
}

void UIControl::cancelTracking() {
    m_tracking = false;
    setHighlighted(false);
    sendActionsForControlEvents(UIControlEventTouchCancel);
}

CGPoint UIControl::touchPoint(const UITouchSet& touches) {
    if (touches.empty()) return {};
    return touches.front()->locationInView(self<UIView>());
}

void UIControl::touchesBeganWithEvent(UITouchSet touches, id event) {
    if (!m_enabled) return;
    beginTrackingAt(touchPoint(touches));
}

void UIControl::touchesMovedWithEvent(UITouchSet touches, id event) {
    if (!m_enabled || !m_tracking) return;
    continueTrackingAt(touchPoint(touches));
}

void UIControl::touchesEndedWithEvent(UITouchSet touches, id event) {
    if (!m_enabled || !m_tracking) return;
    endTrackingAt(touchPoint(touches));
}

void UIControl::touchesCancelledWithEvent(UITouchSet touches, id event) {
    if (!m_tracking) return;
    cancelTracking();
}
