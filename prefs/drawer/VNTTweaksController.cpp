#include "prefs/drawer/VNTTweaksController.h"

#include "platform/core/Runtime.h"
#include "platform/gfx/UIColor.h"
#include "platform/ui/NSLayoutConstraint.h"
#include "prefs/drawer/VNTTweaksTableView.h"

VT_REGISTER_CLASS(VNTTweaksController)

namespace {
Ref<VNTTweaksTableView> g_tweakTableView;
}  // namespace

Ref<VNTTweaksTableView> VNTTweaksController::tweakTableView() { return g_tweakTableView; }

void VNTTweaksController::viewDidLoad() {
    UIViewController::viewDidLoad();
    auto table = alloc<VNTTweaksTableView>();
    table->initWithFrame(CGRectZero);
    table->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    table->setHidden(false);
    table->setBackgroundColor(UIColor::clearColor());
    // Placed by its constraints, which the mask would otherwise contradict.
    table->setTranslatesAutoresizingMaskIntoConstraints(false);
    g_tweakTableView = table;
    const Ref<UIView> page = view();
    page->addSubview(table);
    NSLayoutConstraint::activateConstraints({
        table->topAnchor().constraintEqualToAnchorConstant(page->topAnchor(), 20),
        table->leadingAnchor().constraintEqualToAnchor(page->leadingAnchor()),
        table->trailingAnchor().constraintEqualToAnchor(page->trailingAnchor()),
        table->bottomAnchor().constraintEqualToAnchorConstant(page->bottomAnchor(), -50),
    });
}
