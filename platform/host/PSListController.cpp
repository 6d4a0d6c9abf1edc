#include "platform/host/PSListController.h"

#include "platform/core/Runtime.h"
#include "platform/host/NSMutableArray.h"
#include "platform/ui/UIScreen.h"

VT_REGISTER_CLASS_IN(PSListController, "Preferences", [](Class c) {
    using platform::runtime::addMethod;
    addMethod<&PSListController::specifiers>(c, "specifiers");
    addMethod<&PSListController::setSpecifiers>(c, "setSpecifiers:");
    addMethod<&PSListController::setEdgeToEdgeCells>(c, "setEdgeToEdgeCells:");
    addMethod<&PSListController::_isRegularWidth>(c, "_isRegularWidth");
    platform::runtime::addIvar(
        c, "_specifiers", [](NSObject* o) -> id { return static_cast<PSListController*>(o)->m_specifiers; },
        [](NSObject* o, id v) { static_cast<PSListController*>(o)->m_specifiers = cast<NSMutableArray>(v); });
})

Ref<NSMutableArray> PSListController::specifiers() { return m_specifiers; }

void PSListController::setSpecifiers(Ref<NSMutableArray> list) { m_specifiers = std::move(list); }

void PSListController::setEdgeToEdgeCells(bool on) { m_edgeToEdgeCells = on; }

bool PSListController::_isRegularWidth() { return UIScreen::mainScreen()->bounds().size.width >= 700; }

void PSListController::viewDidLoad() {
    UIViewController::viewDidLoad();
    // Through the run-time, so that replacements of either method decide what the page does.
    const bool regular = platform::msgSend<bool>(this, sel("_isRegularWidth"));
    m_regularWidthLayout = regular;
    platform::msgSend<void>(this, sel("setEdgeToEdgeCells:"), !regular);
}
