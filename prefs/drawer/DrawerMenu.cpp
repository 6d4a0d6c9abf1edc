#include "prefs/drawer/DrawerMenu.h"

#include "common/Keys.h"
#include "platform/core/HBPreferences.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIImage.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIImpactFeedbackGenerator.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UITableViewCell.h"
#include "prefs/drawer/VNTDrawerCustomCell.h"

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

void MenuContents::load(std::span<const MenuRow> rows, UIView& owner) {
    preferences = alloc<HBPreferences>();
    preferences->initWithIdentifier(vantile::kDomain);
    themeFlags.bind(*preferences);

    titles.clear();
    subtitles.clear();
    icons.reset();
    const auto theme = themeFlags.current();
    if (theme) icons.emplace();
    for (const MenuRow& row : rows) {
        titles.emplace_back(row.title);
        subtitles.emplace_back(row.subtitle);
        if (icons) icons->push_back(themedImage(theme, "Drawer", row.icon));
    }
    table = makeMenuTable(owner);
}

Ref<VNTDrawerCustomCell> MenuContents::cell(UITableView& tableView, long row, std::string_view reuseIdentifier) const {
    const std::string identifier(reuseIdentifier);
    auto cell = cast<VNTDrawerCustomCell>(tableView.dequeueReusableCellWithIdentifier(identifier));
    if (!cell) {
        cell = alloc<VNTDrawerCustomCell>();
        cell->initWithStyleReuseIdentifier(UITableViewCellStyleDefault, identifier);
    }
    setSelectedBackgroundAppearance();
    cell->setBackgroundColor(UIColor::clearColor());
    const auto index = static_cast<std::size_t>(row);
    if (row >= 0 && index < titles.size()) {
        cell->titleLabel()->setText(titles[index]);
        cell->subtitleLabel()->setText(subtitles[index]);
    }
    cell->iconImage()->setImage(row >= 0 && icons && index < icons->size() ? (*icons)[index] : nullptr);
    return cell;
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
