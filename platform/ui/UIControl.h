#pragma once

// A view that sends target-action messages for control events.
//
// Targets are weak: a released target is skipped, never called. Several target-action pairs may be registered for
// one event; they are sent in the order they were added, each through platform::performAction with the control as
// sender (so an action may take the sender or nothing). A pair is registered once: adding the same target, action
// and event again does nothing. A nil target sends the action up the responder chain through UIApplication.
//
// Touches arrive through the responder's touch methods (the touch driver delivers them) and are turned into
// tracking calls in the control's own coordinates; a disabled control ignores them.

#include "platform/core/Runtime.h"
#include "platform/ui/UIView.h"

#include <vector>

using UIControlEvents = unsigned long;
inline constexpr UIControlEvents UIControlEventTouchDown = 1UL << 0;
inline constexpr UIControlEvents UIControlEventTouchDragInside = 1UL << 2;
inline constexpr UIControlEvents UIControlEventTouchUpInside = 1UL << 6;   // 0x40
inline constexpr UIControlEvents UIControlEventTouchUpOutside = 1UL << 7;
inline constexpr UIControlEvents UIControlEventTouchCancel = 1UL << 8;
inline constexpr UIControlEvents UIControlEventValueChanged = 1UL << 12;  // 0x1000
inline constexpr UIControlEvents UIControlEventPrimaryActionTriggered = 1UL << 13;
inline constexpr UIControlEvents UIControlEventEditingChanged = 1UL << 17;
inline constexpr UIControlEvents UIControlEventAllEvents = 0xFFFFFFFFUL;

using UIControlState = unsigned long;
inline constexpr UIControlState UIControlStateNormal = 0;
inline constexpr UIControlState UIControlStateHighlighted = 1UL << 0;
inline constexpr UIControlState UIControlStateDisabled = 1UL << 1;
inline constexpr UIControlState UIControlStateSelected = 1UL << 2;

using UIControlContentHorizontalAlignment = long;
inline constexpr UIControlContentHorizontalAlignment UIControlContentHorizontalAlignmentCenter = 0;
inline constexpr UIControlContentHorizontalAlignment UIControlContentHorizontalAlignmentLeft = 1;
inline constexpr UIControlContentHorizontalAlignment UIControlContentHorizontalAlignmentRight = 2;
inline constexpr UIControlContentHorizontalAlignment UIControlContentHorizontalAlignmentFill = 3;

using UIControlContentVerticalAlignment = long;
inline constexpr UIControlContentVerticalAlignment UIControlContentVerticalAlignmentCenter = 0;
inline constexpr UIControlContentVerticalAlignment UIControlContentVerticalAlignmentFill = 3;

class UIControl : public UIView {
    VT_OBJECT(UIControl, UIView)
public:
    void addTargetActionForControlEvents(const id& target, SEL action, UIControlEvents events);
    // Removes the pairs of `target` (all targets when nil) for `action` (all actions when null) and the events.
    void removeTargetActionForControlEvents(const id& target, SEL action, UIControlEvents events);
    // Sends the actions of every pair registered for any of `events`, in registration order.
    void sendActionsForControlEvents(UIControlEvents events);
    // Live targets in registration order, each once.
    std::vector<id> allTargets() const;
    // Names of the actions registered for `target` and exactly one event, in order; empty when none.
    std::vector<std::string> actionsForTargetForControlEvent(const id& target, UIControlEvents event) const;
    UIControlEvents allControlEvents() const;

    bool isEnabled() const { return m_enabled; }
    virtual void setEnabled(bool enabled);
    bool isSelected() const { return m_selected; }
    virtual void setSelected(bool selected);
    bool isHighlighted() const { return m_highlighted; }
    virtual void setHighlighted(bool highlighted);
    // The state bits of the flags above.
    UIControlState state() const;
    bool isTracking() const { return m_tracking; }

    UIControlContentHorizontalAlignment contentHorizontalAlignment() const { return m_hAlign; }
    void setContentHorizontalAlignment(UIControlContentHorizontalAlignment a);
    UIControlContentVerticalAlignment contentVerticalAlignment() const { return m_vAlign; }
    void setContentVerticalAlignment(UIControlContentVerticalAlignment a);

    // Tracking, in the control's coordinates. The defaults highlight while the touch is inside and send
    // touch-down, touch-up-inside / touch-up-outside and touch-cancel. Subclasses override and call up.
    virtual bool beginTrackingAt(CGPoint point);
    virtual bool continueTrackingAt(CGPoint point);
    virtual void endTrackingAt(CGPoint point);
    virtual void cancelTracking();

    // Touch delivery from the responder chain.
    void touchesBeganWithEvent(UITouchSet touches, id event) override;
    void touchesMovedWithEvent(UITouchSet touches, id event) override;
    void touchesEndedWithEvent(UITouchSet touches, id event) override;
    void touchesCancelledWithEvent(UITouchSet touches, id event) override;

protected:
    // Called after a state flag changed; subclasses refresh their look.
    virtual void stateChanged() { setNeedsLayout(); }
    // Extra slack around the bounds inside which a moving touch still counts as inside, as on the device.
    static constexpr CGFloat kTouchSlack = 70;

private:
    struct Pair {
        Weak<NSObject> target;
        bool nilTarget;
        SEL action;
        UIControlEvents events;
    };
    CGPoint touchPoint(const UITouchSet& touches);
    bool isInsideForTracking(CGPoint p) const;

    std::vector<Pair> m_pairs;
    bool m_enabled = true;
    bool m_selected = false;
    bool m_highlighted = false;
    bool m_tracking = false;
    bool m_touchInside = false;
    UIControlContentHorizontalAlignment m_hAlign = UIControlContentHorizontalAlignmentCenter;
    UIControlContentVerticalAlignment m_vAlign = UIControlContentVerticalAlignmentCenter;
};
