#include "platform/ui/UIResponder.h"

#include "platform/core/Runtime.h"
#include "platform/ui/UITraitCollection.h"

VT_REGISTER_CLASS(UIResponder, [](Class c) {
    using namespace platform::runtime;
    addMethod<&UIResponder::touchesBeganWithEvent>(c, "touchesBegan:withEvent:");
    addMethod<&UIResponder::touchesMovedWithEvent>(c, "touchesMoved:withEvent:");
    addMethod<&UIResponder::touchesEndedWithEvent>(c, "touchesEnded:withEvent:");
    addMethod<&UIResponder::touchesCancelledWithEvent>(c, "touchesCancelled:withEvent:");
    addMethod<&UIResponder::traitCollectionDidChange>(c, "traitCollectionDidChange:");
})

namespace {
Weak<UIResponder> g_firstResponder;

// Passing up goes through the run-time, so a hook on a responder further up sees the touches too.
void passUp(const UIResponder* self, const char* selector, const UITouchSet& touches, const id& event) {
    if (auto next = self->nextResponder()) platform::msgSend<void>(next.get(), sel(selector), touches, event);
}
}  // namespace

void UIResponder::touchesBeganWithEvent(UITouchSet touches, id event) {
    passUp(this, "touchesBegan:withEvent:", touches, event);
}
void UIResponder::touchesMovedWithEvent(UITouchSet touches, id event) {
    passUp(this, "touchesMoved:withEvent:", touches, event);
}
void UIResponder::touchesEndedWithEvent(UITouchSet touches, id event) {
    passUp(this, "touchesEnded:withEvent:", touches, event);
}
void UIResponder::touchesCancelledWithEvent(UITouchSet touches, id event) {
    passUp(this, "touchesCancelled:withEvent:", touches, event);
}

Ref<UITraitCollection> UIResponder::traitCollection() const { return UITraitCollection::currentTraitCollection(); }

bool UIResponder::becomeFirstResponder() {
    if (!canBecomeFirstResponder()) return false;
    auto current = g_firstResponder.lock();
    if (current.get() == this) return true;
    if (current && !current->resignFirstResponder()) return false;
    g_firstResponder = self<UIResponder>();
    return true;
}

bool UIResponder::resignFirstResponder() {
    if (g_firstResponder.lock().get() == this) g_firstResponder.reset();
    return true;
}

bool UIResponder::isFirstResponder() const { return g_firstResponder.lock().get() == this; }

Ref<UIResponder> UIResponder::currentFirstResponder() { return g_firstResponder.lock(); }
