#include "prefs/cells/GridButton.h"

#include "platform/core/Runtime.h"

VT_REGISTER_CLASS(GridButton, [](Class c) {
    using platform::runtime::addMethod;
    addMethod<&GridButton::identifier>(c, "identifier");
    addMethod<&GridButton::setIdentifier>(c, "setIdentifier:");
})

Ref<GridButton> GridButton::button() {
    auto button = alloc<GridButton>();
    button->initWithFrame(CGRectZero);
    return button;
}
