#pragma once

// The responder chain: views, controllers and the application answer touches and nil-targeted actions.
//
// Touch methods and `traitCollectionDidChange:` are published to the run-time under the device's selectors and the
// platform sends them with platform::msgSend, so an override in a subclass and a hook on the class both act:
//   "touchesBegan:withEvent:"      void touchesBeganWithEvent(UITouchSet touches, id event)   (also Moved/Ended/Cancelled)
//   "traitCollectionDidChange:"    void traitCollectionDidChange(Ref<UITraitCollection> previous)
// `event` is always null in the stand-in; the touches carry everything.

#include "platform/core/Object.h"
#include "platform/ui/UITouch.h"

class UITraitCollection;

class UIResponder : public NSObject {
    VT_OBJECT(UIResponder, NSObject)
public:
    // The next responder: a view's controller when it has one, else its superview; a controller's view's
    // superview; null at the end of the chain.
    virtual Ref<UIResponder> nextResponder() const { return nullptr; }

    // The default implementations pass the touches up the responder chain (through msgSend, so hooks see them).
    virtual void touchesBeganWithEvent(UITouchSet touches, id event);
    virtual void touchesMovedWithEvent(UITouchSet touches, id event);
    virtual void touchesEndedWithEvent(UITouchSet touches, id event);
    virtual void touchesCancelledWithEvent(UITouchSet touches, id event);

    // The traits the receiver lays out and draws with. Views answer their window's (or their override's); the
    // base answers the process's current collection (UITraitCollection::currentTraitCollection()).
    virtual Ref<UITraitCollection> traitCollection() const;
    // Called by the platform, never by super calls, whenever the receiver's traits changed (see UIView.h for
    // the rule of propagation). `previous` is the collection it had before. The base does nothing.
    virtual void traitCollectionDidChange(Ref<UITraitCollection> previous) {}

    // First responder: one per process. becomeFirstResponder answers false when canBecomeFirstResponder is false.
    virtual bool canBecomeFirstResponder() const { return false; }
    virtual bool becomeFirstResponder();
    virtual bool resignFirstResponder();
    bool isFirstResponder() const;
    // The current first responder; null when none (or it was released).
    static Ref<UIResponder> currentFirstResponder();
};
