#include "platform/host/PSListController.h"

#include "platform/core/DeviceRoot.h"
#include "platform/core/DictionaryFile.h"
#include "platform/core/NSBundle.h"
#include "platform/core/NSMutableArray.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/UIImage.h"
#include "platform/host/HBAppearanceSettings.h"
#include "platform/host/PSBundleErrorController.h"
#include "platform/host/DeviceCapabilities.h"
#include "platform/host/PSSpecifier.h"
#include "platform/host/PSTableCell.h"
#include "platform/ui/NSIndexPath.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UINavigationBar.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UISwitch.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UITableViewCell.h"

#include <algorithm>

VT_REGISTER_CLASS_IN(PSListController, "Preferences", [](Class c) {
    using platform::runtime::addMethod;
    addMethod<&PSListController::specifiers>(c, "specifiers");
    addMethod<&PSListController::bundle>(c, "bundle");
    addMethod<&PSListController::setSpecifiers>(c, "setSpecifiers:");
    addMethod<&PSListController::reloadSpecifiers>(c, "reloadSpecifiers");
    addMethod<&PSListController::reloadSpecifierAtIndexAnimated>(c, "reloadSpecifierAtIndex:animated:");
    addMethod<&PSListController::loadSpecifiersFromPlistNameTarget>(c, "loadSpecifiersFromPlistName:target:");
    addMethod<&PSListController::specifier>(c, "specifier");
    addMethod<&PSListController::setSpecifier>(c, "setSpecifier:");
    addMethod<&PSListController::table>(c, "table");
    addMethod<&PSListController::pushController>(c, "pushController:");
    addMethod<&PSListController::readPreferenceValue>(c, "readPreferenceValue:");
    addMethod<&PSListController::setPreferenceValueSpecifier>(c, "setPreferenceValue:specifier:");
    addMethod<&PSListController::setEdgeToEdgeCells>(c, "setEdgeToEdgeCells:");
    addMethod<&PSListController::_isRegularWidth>(c, "_isRegularWidth");
    addMethod<&PSListController::hb_setAppearanceSettings>(c, "hb_setAppearanceSettings:");
    addMethod<&PSListController::hb_appearanceSettings>(c, "hb_appearanceSettings");
    addMethod<&PSListController::numberOfSectionsInTableView>(c, "numberOfSectionsInTableView:");
    addMethod<&PSListController::tableViewNumberOfRowsInSection>(c, "tableView:numberOfRowsInSection:");
    addMethod<&PSListController::tableViewCellForRowAtIndexPath>(c, "tableView:cellForRowAtIndexPath:");
    addMethod<&PSListController::tableViewTitleForHeaderInSection>(c, "tableView:titleForHeaderInSection:");
    addMethod<&PSListController::tableViewTitleForFooterInSection>(c, "tableView:titleForFooterInSection:");
    addMethod<&PSListController::tableViewHeightForRowAtIndexPath>(c, "tableView:heightForRowAtIndexPath:");
    addMethod<&PSListController::tableViewDidSelectRowAtIndexPath>(c, "tableView:didSelectRowAtIndexPath:");
    platform::runtime::addIvar(
        c, "_specifiers", [](NSObject* o) -> id { return static_cast<PSListController*>(o)->m_specifiers; },
        [](NSObject* o, id v) { static_cast<PSListController*>(o)->m_specifiers = cast<NSMutableArray>(v); });
    // The page's table, as pages that lay views beside it reach it by key.
    platform::runtime::addIvar(
        c, "_table", [](NSObject* o) -> id { return static_cast<PSListController*>(o)->m_table; },
        [](NSObject* o, id v) { static_cast<PSListController*>(o)->m_table = cast<UITableView>(v); });
})

using platform::msgSend;

namespace {

const std::string* stringAt(const Value& item, std::string_view key) {
    const Value* v = item.find(key);
    return v ? v->asString() : nullptr;
}

bool hasCapabilities(const Value& item) {
    const Value* required = item.find("requiredCapabilities");
    if (!required || !required->asArray()) return true;
    for (const Value& capability : *required->asArray())
        if (const std::string* name = capability.asString(); name && !platform::host::DeviceCapabilities::has(*name))
            return false;
    return true;
}

Ref<PSSpecifier> specifierFromItem(const Value& item, const id& target, const std::string& bundlePath) {
    const auto* dict = item.asDictionary();
    if (!dict) return nullptr;
    if (!hasCapabilities(item)) return nullptr;
    long cell = PSSpecifier::PSLinkCell;
    if (const std::string* name = stringAt(item, "cell")) {
        auto type = PSSpecifier::cellTypeFromString(*name);
        if (!type) return nullptr;
        cell = *type;
    }
    const std::string* label = stringAt(item, "label");
    Class detail = nullptr;
    if (const std::string* name = stringAt(item, "detail")) detail = objc_getClass(*name);
    SEL get = nullptr;
    SEL set = nullptr;
    if (const std::string* name = stringAt(item, "get")) get = sel(*name);
    if (const std::string* name = stringAt(item, "set")) set = sel(*name);
    if (item.find("key") && cell != PSSpecifier::PSGroupCell) {
        if (!get) get = sel("readPreferenceValue:");
        if (!set) set = sel("setPreferenceValue:specifier:");
    }
    auto specifier = PSSpecifier::preferenceSpecifierNamedTargetSetGetDetailCellEdit(
        label ? *label : std::string(), cell == PSSpecifier::PSGroupCell ? nullptr : target, set, get, detail, cell,
        nullptr);
    if (const std::string* identifier = stringAt(item, "id")) specifier->setIdentifier(*identifier);
    for (const auto& [key, value] : *dict) specifier->setPropertyForKey(Property(value), key);
    if (const std::string* icon = stringAt(item, "icon")) {
        const std::string folder = bundlePath.empty() ? NSBundle::mainBundle()->bundlePath() : bundlePath;
        // A missing icon file leaves the row without icon, as on the device; UIImage counts the miss.
        if (auto image = UIImage::imageWithContentsOfFile(folder + "/" + *icon))
            specifier->setPropertyForKey(Property(image), "iconImage");
    }
    return specifier;
}

}  // namespace

Ref<NSMutableArray> PSListController::specifiersFromItems(const Value::Array& items, const id& target,
                                                          const std::string& bundlePath) {
    auto list = NSMutableArray::array();
    for (const Value& item : items)
        if (auto specifier = specifierFromItem(item, target, bundlePath)) list->addObject(specifier);
    return list;
}

std::string PSListController::resourceFolder() const {
    if (!m_bundlePath.empty()) return m_bundlePath;
    return NSBundle::bundleForClass(isa())->bundlePath();
}

Ref<NSBundle> PSListController::bundle() const { return NSBundle::bundleWithPath(resourceFolder()); }

Ref<NSMutableArray> PSListController::loadSpecifiersFromPlistNameTarget(std::string name, id target) {
    const std::string folder = resourceFolder();
    const auto plist = platform::dictionaryValueOfFile(folder + "/" + name + ".plist");
    const Value* items = plist.find("items");
    if (!items || !items->asArray()) return NSMutableArray::array();
    auto list = specifiersFromItems(*items->asArray(), target, folder);
    // Labels are keys of the strings table named like the plist; a key the table lacks is shown as written.
    auto bundle = NSBundle::bundleWithPath(folder);
    if (bundle && bundle->pathForResourceOfType(name, "strings")) {
        auto localized = [&](const std::string& text) {
            return text.empty() ? text : bundle->localizedStringForKeyValueTable(text, text, name);
        };
        for (std::size_t i = 0; i < list->count(); ++i)
            if (auto entry = list->objectAtIndexAs<PSSpecifier>(i)) {
                entry->setName(localized(entry->name()));
                if (auto footer = entry->stringProperty("footerText"))
                    entry->setPropertyForKey(Property(localized(*footer)), "footerText");
            }
    }
    return list;
}

Ref<NSMutableArray> PSListController::specifiers() { return m_specifiers; }

void PSListController::setSpecifiers(Ref<NSMutableArray> list) {
    m_specifiers = std::move(list);
    if (m_table) msgSend<void>(this, sel("reloadSpecifiers"));
}

void PSListController::reloadSpecifiers() {
    if (m_table) m_table->reloadData();
}

void PSListController::reloadSpecifierAtIndexAnimated(long index, bool animated) {
    auto path = indexPathForIndex(index);
    if (!path || !m_table) return;
    auto cell = cast<PSTableCell>(m_table->cellForRowAtIndexPath(IndexPath{path->first, path->second}));
    if (cell) msgSend<void>(cell, sel("refreshCellContentsWithSpecifier:"), specifierAtIndexPath(path->first, path->second));
}

void PSListController::setSpecifier(Ref<PSSpecifier> specifier) {
    m_specifier = std::move(specifier);
    if (m_specifier && title().empty()) setTitle(m_specifier->name());
}

Ref<UITableView> PSListController::table() {
    view();
    return m_table;
}

void PSListController::pushController(Ref<UIViewController> controller) {
    // Cephei's pages look like the page that pushed them unless they have settings of their own.
    if (auto page = cast<PSListController>(controller); page && !page->m_appearance)
        page->m_inheritedAppearance = effectiveAppearanceSettings();
    if (auto navigation = navigationController(); navigation && controller)
        navigation->pushViewControllerAnimated(std::move(controller), true);
}

Value PSListController::readPreferenceValue(Ref<PSSpecifier> specifier) {
    return specifier ? PSSpecifier::readPreferenceValue(*specifier) : Value();
}

void PSListController::setPreferenceValueSpecifier(Value value, Ref<PSSpecifier> specifier) {
    if (specifier) PSSpecifier::writePreferenceValue(*specifier, value);
}

void PSListController::setEdgeToEdgeCells(bool on) {
    m_edgeToEdgeCells = on;
    if (m_table) m_table->reloadData();
}


bool PSListController::_isRegularWidth() { return UIScreen::mainScreen()->bounds().size.width >= 700; }

CGFloat PSListController::rowMargin() const {
    if (m_edgeToEdgeCells) return 0;
    return m_regularWidthLayout.value_or(false) ? 20 : 16;
}

void PSListController::loadView() {
    auto root = alloc<UIView>();
    root->initWithFrame(UIScreen::mainScreen()->bounds());
    m_table = alloc<UITableView>();
    m_table->initWithFrameStyle(root->bounds(), UITableViewStyleGrouped);
    m_table->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    m_table->setDataSource(self());
    m_table->setDelegate(self());
    root->addSubview(m_table);
    setView(root);
}

void PSListController::viewDidLoad() {
    UIViewController::viewDidLoad();
    // Through the run-time, so that replacements of either method decide what the page does.
    const bool regular = msgSend<bool>(this, sel("_isRegularWidth"));
    m_regularWidthLayout = regular;
    msgSend<void>(this, sel("setEdgeToEdgeCells:"), !regular);
}

void PSListController::viewWillAppear(bool animated) {
    UIViewController::viewWillAppear(animated);
    applyAppearance();
    updateInsets();
    // Values may have changed on another page (or in another process) while this one was covered.
    if (m_table) {
        if (auto selected = m_table->indexPathForSelectedRow()) m_table->deselectRowAtIndexPathAnimated(*selected, animated);
        m_table->reloadData();
    }
}

void PSListController::viewDidLayoutSubviews() {
    UIViewController::viewDidLayoutSubviews();
    // The tweak's overlay lives inside the table, so the table keeps the view's full size.
    if (m_table && viewIfLoaded()) {
        const CGRect b = viewIfLoaded()->bounds();
        if (m_table->frame().size != b.size) m_table->setFrame(b);
        updateInsets();
    }
}

void PSListController::updateInsets() {
    if (!m_table) return;
    // The list scrolls under the translucent bars but starts below them, as the device's adjusted insets do.
    UIEdgeInsets inset{0, 0, UIScreen::mainScreen()->profile().homeIndicatorHeight, 0};
    if (auto navigation = navigationController(); navigation && !navigation->isNavigationBarHidden())
        inset.top = navigation->navigationBar()->frame().maxY();
    const UIEdgeInsets old = m_table->contentInset();
    if (old == inset) return;
    const bool atTop = m_table->contentOffset().y <= -old.top + 0.5;
    m_table->setContentInset(inset);
    if (atTop) m_table->setContentOffset(CGPointMake(0, -inset.top));
}

// ----- groups -----

void PSListController::rebuildGroups() {
    m_groups.clear();
    m_shown = msgSend<Ref<NSMutableArray>>(this, sel("specifiers"));
    if (!m_shown) return;
    for (std::size_t i = 0; i < m_shown->count(); ++i) {
        auto entry = m_shown->objectAtIndexAs<PSSpecifier>(i);
        if (!entry) continue;
        if (entry->isGroup()) {
            m_groups.push_back(Group{entry, {}});
            continue;
        }
        if (m_groups.empty()) m_groups.push_back(Group{nullptr, {}});
        m_groups.back().rows.push_back(i);
    }
    // Kept custom views of entries that left the list go with them.
    std::erase_if(m_customViews, [&](const auto& kept) {
        for (std::size_t i = 0; i < m_shown->count(); ++i)
            if (m_shown->objectAtIndexAs<PSSpecifier>(i) == kept.first) return false;
        return true;
    });
}

Ref<PSSpecifier> PSListController::specifierAtIndexPath(long section, long row) const {
    if (!m_shown || section < 0 || row < 0 || static_cast<std::size_t>(section) >= m_groups.size()) return nullptr;
    const auto& rows = m_groups[static_cast<std::size_t>(section)].rows;
    if (static_cast<std::size_t>(row) >= rows.size()) return nullptr;
    const std::size_t index = rows[static_cast<std::size_t>(row)];
    return index < m_shown->count() ? m_shown->objectAtIndexAs<PSSpecifier>(index) : nullptr;
}

std::optional<std::pair<long, long>> PSListController::indexPathForIndex(long index) const {
    if (index < 0) return std::nullopt;
    for (std::size_t s = 0; s < m_groups.size(); ++s)
        for (std::size_t r = 0; r < m_groups[s].rows.size(); ++r)
            if (m_groups[s].rows[r] == static_cast<std::size_t>(index))
                return std::pair{static_cast<long>(s), static_cast<long>(r)};
    return std::nullopt;
}

// ----- table -----

long PSListController::numberOfSectionsInTableView(Ref<UITableView>) {
    // The table asks this first at every load, so the groups follow the list the page answers now.
    rebuildGroups();
    return static_cast<long>(m_groups.size());
}

long PSListController::tableViewNumberOfRowsInSection(Ref<UITableView>, long section) {
    if (section < 0 || static_cast<std::size_t>(section) >= m_groups.size()) return 0;
    return static_cast<long>(m_groups[static_cast<std::size_t>(section)].rows.size());
}

namespace {

// The framework's own row class for a cell type.
const char* standardCellClassName(long cellType) {
    switch (cellType) {
    case PSSpecifier::PSSwitchCell: return "PSSwitchTableCell";
    case PSSpecifier::PSSliderCell: return "PSSliderTableCell";
    case PSSpecifier::PSEditTextCell:
    case PSSpecifier::PSSecureEditTextCell: return "PSEditTextCell";
    case PSSpecifier::PSSegmentCell: return "PSSegmentTableCell";
    default: return "PSTableCell";
    }
}

// The row's "cellClass" when it names a table cell class; null otherwise (no such class, or a class that is no
// cell), so the row falls back to its type's standard row.
Class customCellClass(const PSSpecifier& row) {
    auto name = row.stringProperty("cellClass");
    if (!name) return nullptr;
    Class cls = objc_getClass(*name);
    if (!cls || !platform::runtime::isSubclass(cls, objc_getClass("UITableViewCell"))) return nullptr;
    return cls;
}

bool answers(Class cls, std::string_view selector) { return platform::runtime::resolve(cls, sel(selector)).has_value(); }

}  // namespace

Ref<UITableViewCell> PSListController::customViewCell(const Ref<PSSpecifier>& row) {
    // Custom views are made once per entry and kept, as the framework does: their height is asked before the row
    // is shown, and the same object is placed again at every reload.
    for (const auto& [specifier, cell] : m_customViews)
        if (specifier == row) return cell;
    auto cell = cast<UITableViewCell>(platform::runtime::createInstance(customCellClass(*row)));
    if (!cell) return nullptr;
    msgSend<void>(cell, sel("initWithSpecifier:"), row);
    m_customViews.emplace_back(row, cell);
    return cell;
}

Ref<UITableViewCell> PSListController::tableViewCellForRowAtIndexPath(Ref<UITableView> table, Ref<NSIndexPath> path) {
    auto row = specifierAtIndexPath(path->section(), path->row());
    Class cellClass = objc_getClass(standardCellClassName(row ? row->cellType() : PSSpecifier::PSLinkCell));
    Ref<UITableViewCell> cell;
    if (row)
        if (Class custom = customCellClass(*row)) {
            if (answers(custom, "initWithSpecifier:")) cell = customViewCell(row);
            else cellClass = custom;
        }
    if (!cell) {
        const std::string reuse = std::string(platform::runtime::className(cellClass)) + ":" +
                                  std::to_string(row ? row->cellType() : 0);
        cell = table->dequeueReusableCellWithIdentifier(reuse);
        if (cell) {
            if (cell->respondsToSelector(sel("refreshCellContentsWithSpecifier:")))
                msgSend<void>(cell, sel("refreshCellContentsWithSpecifier:"), row);
        } else {
            cell = cast<UITableViewCell>(platform::runtime::createInstance(cellClass));
            const bool value = row && (row->cellType() == PSSpecifier::PSTitleValueCell ||
                                       row->cellType() == PSSpecifier::PSLinkListCell);
            msgSend<void>(cell, sel("initWithStyle:reuseIdentifier:specifier:"),
                          value ? UITableViewCellStyleValue1 : UITableViewCellStyleDefault, reuse, row);
        }
    }
    if (auto ps = cast<PSTableCell>(cell)) {
        const long rows = tableViewNumberOfRowsInSection(table, path->section());
        ps->setGroupInset(rowMargin(), path->row() == 0, path->row() == rows - 1);
    }
    applyAppearanceToCell(cell, row);
    return cell;
}

std::string PSListController::tableViewTitleForHeaderInSection(Ref<UITableView>, long section) {
    if (section < 0 || static_cast<std::size_t>(section) >= m_groups.size()) return {};
    const auto& header = m_groups[static_cast<std::size_t>(section)].header;
    return header ? header->name() : std::string();
}

std::string PSListController::tableViewTitleForFooterInSection(Ref<UITableView>, long section) {
    if (section < 0 || static_cast<std::size_t>(section) >= m_groups.size()) return {};
    const auto& header = m_groups[static_cast<std::size_t>(section)].header;
    return header ? header->stringProperty("footerText").value_or("") : std::string();
}

CGFloat PSListController::tableViewHeightForRowAtIndexPath(Ref<UITableView> table, Ref<NSIndexPath> path) {
    auto row = specifierAtIndexPath(path->section(), path->row());
    if (!row) return UITableView::kDefaultRowHeight;
    if (auto height = row->propertyForKey("height"); height && height->value())
        if (auto h = height->value()->numberValue(); h && *h > 0) return *h;
    if (Class custom = customCellClass(*row);
        custom && answers(custom, "initWithSpecifier:") && answers(custom, "preferredHeightForWidth:"))
        if (auto cell = customViewCell(row)) {
            const CGFloat width = table ? table->bounds().width() : UIScreen::mainScreen()->bounds().width();
            const CGFloat h = msgSend<CGFloat>(cell, sel("preferredHeightForWidth:"), width);
            if (h > 0) return h;
        }
    return UITableView::kDefaultRowHeight;
}

void PSListController::tableViewDidSelectRowAtIndexPath(Ref<UITableView> table, Ref<NSIndexPath> path) {
    if (!path) return;
    if (table) table->deselectRowAtIndexPathAnimated(IndexPath{path->section(), path->row()}, true);
    // The groups may be older than the list when a replacement changed it without reloading; look again.
    if (!specifierAtIndexPath(path->section(), path->row())) rebuildGroups();
    // A tap anywhere on a text row puts its field in editing, as on the device.
    if (table)
        if (auto edit = cast<PSEditTextCell>(table->cellForRowAtIndexPath(IndexPath{path->section(), path->row()})))
            if (auto field = cast<UIResponder>(edit->textField())) field->becomeFirstResponder();
    openRow(specifierAtIndexPath(path->section(), path->row()));
}

Ref<UIViewController> PSListController::openRow(const Ref<PSSpecifier>& row) {
    if (!row) return nullptr;
    if (row->cellType() == PSSpecifier::PSButtonCell) {
        if (auto action = row->stringProperty("action"); action && row->target())
            // As on the device, an action that takes an argument is given the row's specifier.
            if (row->target()->respondsToSelector(sel(*action)))
                platform::performAction(row->target().get(), sel(*action), row);
        return nullptr;
    }
    // A preference bundle's entry opens the bundle's principal class, or the host's error page.
    if (auto pane = platform::host::openPreferenceBundleEntry(row)) {
        msgSend<void>(this, sel("pushController:"), pane);
        return pane;
    }
    Class detail = row->detailControllerClass();
    if (!detail && !row->stringProperty("detail") && row->cellType() == PSSpecifier::PSLinkListCell)
        detail = objc_getClass("PSListItemsController");
    if (!detail)
        if (auto name = row->stringProperty("detail")) {
            detail = objc_getClass(*name);
            if (detail) row->setDetailControllerClass(detail);
        }
    if (!detail) return nullptr;
    auto controller = cast<UIViewController>(platform::runtime::createInstance(detail));
    if (!controller) return nullptr;
    // Not sent by name: "init" is no published selector, and the virtual call reaches subclasses all the same.
    controller->init();
    if (controller->respondsToSelector(sel("setSpecifier:"))) msgSend<void>(controller, sel("setSpecifier:"), row);
    msgSend<void>(this, sel("pushController:"), controller);
    return controller;
}

// ----- appearance settings -----

Ref<HBAppearanceSettings> PSListController::effectiveAppearanceSettings() const {
    return m_appearance ? m_appearance : m_inheritedAppearance;
}

void PSListController::hb_setAppearanceSettings(Ref<HBAppearanceSettings> settings) {
    m_appearance = std::move(settings);
    if (!viewIfLoaded()) return;
    applyAppearance();
    if (m_table) m_table->reloadData();
}

void PSListController::applyAppearance() {
    auto settings = effectiveAppearanceSettings();
    if (auto root = viewIfLoaded()) root->setTintColor(settings ? settings->tintColor() : nullptr);
    if (settings && settings->navigationBarBackgroundColor()) colourNavigationBar();
    else restoreNavigationBar(false);
}

void PSListController::applyAppearanceToCell(const Ref<UITableViewCell>& cell, const Ref<PSSpecifier>& row) const {
    auto settings = effectiveAppearanceSettings();
    if (!cell || !settings) return;
    if (auto separator = settings->tableViewCellSeparatorColor(); separator && cell->separatorView())
        cell->separatorView()->setBackgroundColor(separator);
    auto tint = settings->tintColor();
    if (!tint) return;
    if (row && row->cellType() == PSSpecifier::PSButtonCell) cell->textLabel()->setTextColor(tint);
    // Switches anywhere in the row (the host's and custom rows' own) take the tint unless given an on-colour.
    std::vector<Ref<UIView>> pending{cell};
    while (!pending.empty()) {
        auto view = std::move(pending.back());
        pending.pop_back();
        if (auto toggle = cast<UISwitch>(view); toggle && !toggle->onTintColor()) toggle->setOnTintColor(tint);
        for (const auto& child : view->subviews()) pending.push_back(child);
    }
}

namespace {

// Who coloured a navigation bar and the bar's own colour before. The incoming page appears before the outgoing one
// disappears, so a page gives the colour back only while it is still the one that set it.
struct BarClaim {
    Weak<UINavigationBar> bar;
    const PSListController* owner = nullptr;
    Ref<UIColor> original;
};

std::vector<BarClaim>& barClaims() {
    static auto* claims = new std::vector<BarClaim>();
    std::erase_if(*claims, [](const BarClaim& c) { return c.bar.expired(); });
    return *claims;
}

BarClaim* claimOf(const Ref<UINavigationBar>& bar) {
    for (auto& claim : barClaims())
        if (claim.bar.lock() == bar) return &claim;
    return nullptr;
}

}  // namespace

void PSListController::colourNavigationBar() {
    auto navigation = navigationController();
    if (!navigation) return;
    auto bar = navigation->navigationBar();
    BarClaim* claim = claimOf(bar);
    if (!claim) claim = &barClaims().emplace_back(BarClaim{bar, nullptr, bar->backgroundColor()});
    claim->owner = this;
    bar->setBackgroundColor(effectiveAppearanceSettings()->navigationBarBackgroundColor());
}

void PSListController::restoreNavigationBar(bool onlyOwnClaim) {
    auto navigation = navigationController();
    if (!navigation) return;
    auto bar = navigation->navigationBar();
    auto& claims = barClaims();
    auto claim = std::find_if(claims.begin(), claims.end(), [&](const BarClaim& c) { return c.bar.lock() == bar; });
    if (claim == claims.end() || (onlyOwnClaim && claim->owner != this)) return;
    bar->setBackgroundColor(claim->original);
    claims.erase(claim);
}

void PSListController::viewWillDisappear(bool animated) {
    UIViewController::viewWillDisappear(animated);
    restoreNavigationBar(true);
}
