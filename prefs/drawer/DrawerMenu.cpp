#include "prefs/drawer/DrawerMenu.h"

#include "platform/gfx/UIColor.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIImpactFeedbackGenerator.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UITableViewCell.h"

#include <string>

namespace vnt::drawer {

void setSelectedBackgroundAppearance() {
    auto selected = alloc<UIView>();
    selected->init();
    selected->setBackgroundColor(UIColor::colorWithRedGreenBlueAlpha(0.59, 0.58, 0.94, 0.5));
    UITableViewCell::appearance()->setSelectedBackgroundView(selected);
}

Ref<UITableView> makeMenuTable(UIView& owner) {
    auto table = alloc<UITableView>();
    table->initWithFrame(CGRectZero);
    table->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    table->setEditing(false);
    table->setSeparatorStyle(UITableViewCellSeparatorStyleNone);
    table->setBackgroundColor(UIColor::clearColor());
    owner.addSubview(table);
    // The zero frame grows with the menu view only from its next size change; start at its size.
    table->setFrame(owner.bounds());
    table->setDataSource(owner.self());
    table->setDelegate(owner.self());
    return table;
}

void lightImpact(Ref<UIImpactFeedbackGenerator>& slot) {
    slot = alloc<UIImpactFeedbackGenerator>();
    slot->initWithStyle(UIImpactFeedbackStyleLight);
    slot->impactOccurred();
}

void openOutsidePage(std::string_view address) {
    UIApplication::sharedApplication()->openURLOptionsCompletionHandler(std::string(address), nullptr);
}

}  // namespace vnt::drawer
