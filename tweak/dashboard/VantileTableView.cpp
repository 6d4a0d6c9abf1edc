#include "tweak/dashboard/VantileTableView.h"

#include "tweak/cards/VantileCatalogue.h"
#include "tweak/dashboard/VantileTableViewCustomCell.h"

#include "common/Keys.h"
#include "platform/core/CFNotificationCenter.h"
#include "platform/core/NSBundle.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIImage.h"
#include "platform/ui/NSIndexPath.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UITableViewCell.h"

#include <algorithm>

VT_REGISTER_CLASS(VantileTableView, [](Class c) {
    using platform::runtime::addMethod;
    addMethod<&VantileTableView::initWithFrame>(c, "initWithFrame:");
    addMethod<&VantileTableView::loadVantiles>(c, "loadVantiles");
    addMethod<&VantileTableView::updateIndexes>(c, "updateIndexes");
    addMethod<&VantileTableView::saveToConfig>(c, "saveToConfig");
    addMethod<&VantileTableView::numberOfSectionsInTableView>(c, "numberOfSectionsInTableView:");
    addMethod<&VantileTableView::tableViewNumberOfRowsInSection>(c, "tableView:numberOfRowsInSection:");
    addMethod<&VantileTableView::tableViewTitleForHeaderInSection>(c, "tableView:titleForHeaderInSection:");
    addMethod<&VantileTableView::tableViewCellForRowAtIndexPath>(c, "tableView:cellForRowAtIndexPath:");
    addMethod<&VantileTableView::tableViewHeightForRowAtIndexPath>(c, "tableView:heightForRowAtIndexPath:");
    addMethod<&VantileTableView::tableViewCanMoveRowAtIndexPath>(c, "tableView:canMoveRowAtIndexPath:");
    addMethod<&VantileTableView::tableViewEditingStyleForRowAtIndexPath>(c, "tableView:editingStyleForRowAtIndexPath:");
    addMethod<&VantileTableView::tableViewMoveRowAtIndexPathToIndexPath>(c, "tableView:moveRowAtIndexPath:toIndexPath:");
    addMethod<&VantileTableView::tableViewDidEndReorderingRowAtIndexPath>(c,
                                                                          "tableView:didEndReorderingRowAtIndexPath:");
})

void VantileTableView::initWithFrame(CGRect frame) {
    UIView::initWithFrame(frame);
    m_tableView = alloc<UITableView>();
    m_tableView->initWithFrame(CGRectZero);
    m_tableView->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    m_tableView->setBackgroundColor(UIColor::clearColor());
    m_tableView->setSeparatorStyle(UITableViewCellSeparatorStyleNone);
    m_tableView->setEditing(true);
    m_tableView->setAllowsSelection(true);
    m_tableView->setAllowsMultipleSelection(false);
    addSubview(m_tableView);
    m_tableView->setDataSource(self());
    m_tableView->setDelegate(self());

    m_enabledDirty = m_disabledDirty = false;
    // The reload runs only when loading fell back to the defaults; the table may be gone by then in theory, so it
    // holds the table weakly.
    Weak<UITableView> table = m_tableView;
    VantileItemLists::create([table] {
        if (auto t = table.lock()) t->reloadData();
    });
    platform::msgSend(this, sel("loadVantiles"));
}

void VantileTableView::loadVantiles() {
    if (auto* lists = VantileItemLists::current()) lists->loadVantiles();
}

VantileItemLists::List VantileTableView::getEnabledVantiles() { return VantileItemLists::getEnabledVantiles(); }

VantileItemLists::List VantileTableView::getDisabledVantiles() { return VantileItemLists::getDisabledVantiles(); }

void VantileTableView::updateIndexes() {
    auto* lists = VantileItemLists::current();
    if (!lists) return;
    auto renumber = [](VantileItemLists::List& list) {
        for (std::size_t i = 0; i < list.size(); ++i) list[i]->setIndex(static_cast<std::int32_t>(i));
    };
    if (m_enabledDirty) renumber(lists->enabledItems());
    if (m_disabledDirty) renumber(lists->disabledItems());
    m_enabledDirty = m_disabledDirty = false;
}

void VantileTableView::saveToConfig() {
    if (auto* lists = VantileItemLists::current()) lists->saveToConfig();
}

VantileItemLists::List* VantileTableView::listForSection(long section) {
    auto* lists = VantileItemLists::current();
    if (!lists) return nullptr;
    if (section == 0) return &lists->enabledItems();
    if (section == 1) return &lists->disabledItems();
    return nullptr;
}

long VantileTableView::numberOfSectionsInTableView(Ref<UITableView>) { return 2; }

long VantileTableView::tableViewNumberOfRowsInSection(Ref<UITableView>, long section) {
    const auto* list = listForSection(section);
    return list ? static_cast<long>(list->size()) : 0;
}

std::string VantileTableView::tableViewTitleForHeaderInSection(Ref<UITableView>, long section) {
    std::string_view text;
    if (section == 0) text = kSelectedHeader;
    else if (section == 1) text = kAvailableHeader;
    else return "";
    // The host's own table decides the wording; an untranslated host shows the text as written.
    std::string shown = NSBundle::mainBundle()->localizedStringForKeyValueTable(text, "", std::nullopt);
    return shown.empty() ? std::string(text) : shown;
}

Ref<UITableViewCell> VantileTableView::tableViewCellForRowAtIndexPath(Ref<UITableView> tableView,
                                                                      Ref<NSIndexPath> path) {
    auto cell = cast<VantileTableViewCustomCell>(
        tableView->dequeueReusableCellWithIdentifier(std::string(kReuseIdentifier)));
    if (!cell) {
        cell = alloc<VantileTableViewCustomCell>();
        cell->initWithStyleReuseIdentifier(UITableViewCellStyleDefault, std::string(kReuseIdentifier));
    }
    const auto* list = listForSection(path->section());
    const long row = path->row();
    if (!list || row < 0 || row >= static_cast<long>(list->size())) return cell;
    const Ref<VantileItems>& item = (*list)[static_cast<std::size_t>(row)];
    cell->setVantileItems(item);
    cell->titleLabel()->setText(item->header());
    cell->setBackgroundColor(UIColor::clearColor());
    if (path->section() == 1) cell->setSelected(false);
    if (auto icon = vantile::iconPathForTitle(item->header()))
        cell->iconImage()->setImage(UIImage::imageWithContentsOfFile(*icon));
    return cell;
}

CGFloat VantileTableView::tableViewHeightForRowAtIndexPath(Ref<UITableView>, Ref<NSIndexPath>) { return kRowHeight; }

bool VantileTableView::tableViewCanMoveRowAtIndexPath(Ref<UITableView>, Ref<NSIndexPath>) { return true; }

long VantileTableView::tableViewEditingStyleForRowAtIndexPath(Ref<UITableView>, Ref<NSIndexPath>) {
    return UITableViewCellEditingStyleNone;
}

void VantileTableView::tableViewMoveRowAtIndexPathToIndexPath(Ref<UITableView>, Ref<NSIndexPath>, Ref<NSIndexPath>) {}

void VantileTableView::tableViewDidEndReorderingRowAtIndexPath(Ref<UITableView> tableView, Ref<NSIndexPath> path) {
    auto* lists = VantileItemLists::current();
    if (!lists || !tableView || !path) return;
    // The table has already moved the dragged cell to the drop position, so the cell there names the card.
    auto cell = cast<VantileTableViewCustomCell>(tableView->cellForRowAtIndexPath(path->value()));
    if (!cell || !cell->vantileItems()) return;
    const Ref<VantileItems> item = cell->vantileItems();

    platform::msgSend(tableView.get(), sel("beginUpdates"));
    auto& from = item->isEnabled() ? lists->enabledItems() : lists->disabledItems();
    (item->isEnabled() ? m_enabledDirty : m_disabledDirty) = true;
    const auto at = static_cast<std::size_t>(item->index());
    // The item's index is its position (updateIndexes keeps it so); should it not be, its own entry still goes.
    if (at < from.size() && from[at] == item) from.erase(from.begin() + static_cast<long>(at));
    else if (auto it = std::find(from.begin(), from.end(), item); it != from.end()) from.erase(it);

    const bool selected = path->section() == 0;
    auto& to = selected ? lists->enabledItems() : lists->disabledItems();
    (selected ? m_enabledDirty : m_disabledDirty) = true;
    const auto row = static_cast<std::size_t>(std::clamp<long>(path->row(), 0, static_cast<long>(to.size())));
    to.insert(to.begin() + static_cast<long>(row), item);
    item->setEnabled(selected);
    item->setIndex(static_cast<std::int32_t>(row));
    platform::msgSend(this, sel("updateIndexes"));
    platform::msgSend(tableView.get(), sel("endUpdates"));

    platform::msgSend(this, sel("saveToConfig"));
    CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(),
                                         vantile::notification::settingsChanged, nullptr, nullptr, true);
}
