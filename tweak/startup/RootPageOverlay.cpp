#include "tweak/startup/RootPageOverlay.h"

#include "platform/core/Runtime.h"
#include "platform/gfx/UIColor.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UITraitCollection.h"
#include "platform/ui/UIViewController.h"
#include "tweak/dashboard/VantileBaseView.h"
#include "tweak/startup/RootPageHooks.h"

namespace vantile::rootpage {

Ref<UIColor> overlayColorForStyle(long interfaceStyle) {
    if (interfaceStyle == UIUserInterfaceStyleDark) return UIColor::blackColor();
    return UIColor::colorWithRedGreenBlueAlpha(0.95, 0.95, 0.96, 1.0);
}

namespace {

// The root table stays in place under the overlay: its first row at the top and no scrolling, so the dashboard
// covers exactly the screen and touches cannot move the list behind it.
void pinTable(UITableView& table) {
    table.setScrollEnabled(false);
    // Scrolling to a row the table does not have raises on the device; an empty root list has nothing to pin.
    if (table.numberOfSections() > 0 && table.numberOfRowsInSection(0) > 0)
        table.scrollToRowAtIndexPathAtScrollPositionAnimated(IndexPath{0, 0}, UITableViewScrollPositionTop, false);
}

}  // namespace

void layDashboardOver(UIViewController& root) {
    Ref<UIView> view = root.view();
    // The host's root view holds the table as its first subview; a view without one gets the overlay itself.
    Ref<UIView> host = view->subviews().empty() ? view : view->subviews().front();
    if (auto table = cast<UITableView>(host)) pinTable(*table);

    RootPageState& s = state();
    const CGRect screen = UIScreen::mainScreen()->bounds();
    s.settingBaseView = alloc<UIView>();
    platform::msgSend<void, CGRect>(s.settingBaseView.get(), sel("initWithFrame:"),
                                    CGRect{{0, 0}, {screen.size.width, screen.size.height}});
    host->addSubview(s.settingBaseView);

    // Building the base view builds the hint and the grid inside it.
    s.vantileBaseView = alloc<VantileBaseView>();
    platform::msgSend<void, CGRect>(s.vantileBaseView.get(), sel("initWithFrame:"), s.settingBaseView->bounds());
    s.settingBaseView->addSubview(s.vantileBaseView);
    recolourOverlay(root);
}

void repinTable(UIViewController& root) {
    const auto& overlay = state().settingBaseView;
    auto table = overlay ? cast<UITableView>(overlay->superview()) : nullptr;
    auto view = root.viewIfLoaded();
    if (!table || !view || view->subviews().empty() || view->subviews().front() != table) return;
    pinTable(*table);
}

void recolourOverlay(UIViewController& root) {
    RootPageState& s = state();
    if (!s.settingBaseView) return;
    const Ref<UIColor> colour = overlayColorForStyle(root.traitCollection()->userInterfaceStyle());
    s.settingBaseView->setBackgroundColor(colour);
    if (s.vantileBaseView) s.vantileBaseView->setBackgroundColor(colour);
}

}  // namespace vantile::rootpage
