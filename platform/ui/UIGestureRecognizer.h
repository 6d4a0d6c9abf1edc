#pragma once

// Gesture recognisers. A recogniser attached to a view gets the touches that begin on that view or on any view of
// its subtree (TouchDriver delivers them). When it recognises, it sends each of its target–action pairs in order
// through platform::performAction with itself as the argument (targets are weak: a released target is skipped).
//
// Among the recognisers that see one touch (the hit view's first, then each ancestor's), the first to recognise
// wins: the others fail, unless the delegate of either answers YES to
// "gestureRecognizer:shouldRecognizeSimultaneouslyWithGestureRecognizer:" (published as
// `bool member(Ref<UIGestureRecognizer>, Ref<UIGestureRecognizer>)`). Before it begins, the recogniser asks its
// delegate's "gestureRecognizerShouldBegin:" (`bool member(Ref<UIGestureRecognizer>)`, when it responds) and its
// view's and the touched view's gestureRecognizerShouldBegin. A recogniser that wins with cancelsTouchesInView
// (the default) makes the touched view get touchesCancelled instead of further touches.
//
// A disabled recogniser gets no touches; disabling one mid-gesture cancels it.

#include "platform/core/Object.h"
#include "platform/gfx/Geometry.h"
#include "platform/ui/UITouch.h"

#include <functional>
#include <utility>
#include <vector>

class UIView;

enum UIGestureRecognizerState : long {
    UIGestureRecognizerStatePossible = 0,
    UIGestureRecognizerStateBegan = 1,
    UIGestureRecognizerStateChanged = 2,
    UIGestureRecognizerStateEnded = 3,
    UIGestureRecognizerStateRecognized = 3,
    UIGestureRecognizerStateCancelled = 4,
    UIGestureRecognizerStateFailed = 5,
};

class UIGestureRecognizer : public NSObject {
    VT_OBJECT(UIGestureRecognizer, NSObject)
public:
    // `target` is kept weakly; a null target or selector adds no pair.
    virtual void initWithTargetAction(const id& target, SEL action);
    void addTargetAction(const id& target, SEL action);
    // Removes the pairs of `target` (all pairs when null) with `action` (any action when null).
    void removeTargetAction(const id& target, SEL action);
    std::size_t targetActionCount() const { return m_pairs.size(); }

    long state() const { return m_state; }
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    // Null when not attached (or the view was released).
    Ref<UIView> view() const { return m_view.lock(); }
    Ref<NSObject> delegate() const { return m_delegate.lock(); }
    void setDelegate(const id& delegate) { m_delegate = delegate; }
    bool cancelsTouchesInView() const { return m_cancelsTouches; }
    void setCancelsTouchesInView(bool c) { m_cancelsTouches = c; }

    // The centroid of the tracked touches in `view`'s coordinates (window coordinates for null); the last known
    // location after the touches ended; (0, 0) when it never tracked one.
    CGPoint locationInView(const Ref<UIView>& view) const;
    std::size_t numberOfTouches() const { return m_touches.size(); }

    // ----- for UIView and the touch driver -----
    void attachToView(const Ref<UIView>& view) { m_view = view; }
    // The touch machinery drives these; subclasses implement them and move the state.
    virtual void touchesBegan(const UITouchSet& touches);
    virtual void touchesMoved(const UITouchSet& touches);
    virtual void touchesEnded(const UITouchSet& touches);
    virtual void touchesCancelled(const UITouchSet& touches);
    // Back to Possible with nothing tracked; called after a gesture ended, failed or was cancelled.
    virtual void reset();
    // Sets the state as the machinery allows it, and sends the actions for Began, Changed, Ended and Cancelled.
    // A state that would begin is refused (the recogniser fails instead) when shouldBegin answers NO.
    void setState(long state);
    // Whether the machinery lets this recogniser begin now (another one has already won the touch, or the
    // delegate or a view refuses it).
    bool shouldBegin();
    // Set by the touch machinery for the duration of one touch sequence.
    void setArbiter(std::function<bool(UIGestureRecognizer*)> canBegin) { m_arbiter = std::move(canBegin); }
    void setTouchedView(const Ref<UIView>& view) { m_touchedView = view; }
    Ref<UIView> touchedView() const { return m_touchedView.lock(); }
    const UITouchSet& trackedTouches() const { return m_touches; }
    // True when the recogniser is in Began/Changed/Ended (it has won its touch).
    bool hasRecognized() const;

protected:
    void sendActions();
    UITouchSet m_touches;
    CGPoint m_lastLocation;  // window coordinates

private:
    struct Pair {
        Weak<NSObject> target;
        SEL action;
    };
    std::vector<Pair> m_pairs;
    Weak<UIView> m_view;
    Weak<UIView> m_touchedView;
    Weak<NSObject> m_delegate;
    std::function<bool(UIGestureRecognizer*)> m_arbiter;
    long m_state = UIGestureRecognizerStatePossible;
    bool m_enabled = true;
    bool m_cancelsTouches = true;
};
