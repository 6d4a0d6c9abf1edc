#include "platform/host/PSListItemsController.h"

#include "platform/core/NSMutableArray.h"
#include "platform/core/Runtime.h"
#include "platform/host/PSSpecifier.h"
#include "platform/ui/NSIndexPath.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UITableViewCell.h"

VT_REGISTER_CLASS_IN(PSListItemsController, "Preferences")

namespace {

std::optional<Value::Array> listProperty(const PSSpecifier& row, std::string_view key) {
    if (auto p = row.propertyForKey(key); p && p->value())
        if (const auto* array = p->value()->asArray()) return *array;
    return std::nullopt;
}

bool sameValue(const Value& a, const Value& b) {
    if (a == b) return true;
    auto x = a.numberValue();
    auto y = b.numberValue();
    return x && y && !a.isNone() && !b.isNone() && *x == *y;
}

// Each entry row carries its position in the opening row's lists.
constexpr const char* kIndexProperty = "listIndex";

std::optional<std::size_t> entryIndex(const PSSpecifier& entry) {
    if (auto p = entry.propertyForKey(kIndexProperty); p && p->value())
        if (auto i = p->value()->asInteger(); i && *i >= 0) return static_cast<std::size_t>(*i);
    return std::nullopt;
}

}  // namespace

std::optional<std::size_t> PSListItemsController::indexOfValue(const PSSpecifier& row, const Value& value) {
    if (value.isNone()) return std::nullopt;
    auto values = listProperty(row, "validValues");
    if (!values) return std::nullopt;
    for (std::size_t i = 0; i < values->size(); ++i)
        if (sameValue((*values)[i], value)) return i;
    return std::nullopt;
}

std::optional<std::string> PSListItemsController::titleForStoredValue(PSSpecifier& row) {
    auto index = indexOfValue(row, row.performGetter());
    auto titles = listProperty(row, "validTitles");
    if (!index || !titles || *index >= titles->size()) return std::nullopt;
    if (const std::string* title = (*titles)[*index].asString()) return *title;
    return std::nullopt;
}

Ref<NSMutableArray> PSListItemsController::specifiers() {
    if (m_specifiers) return m_specifiers;
    m_specifiers = NSMutableArray::array();
    m_specifiers->addObject(PSSpecifier::groupSpecifierWithName(""));
    auto row = specifier();
    if (!row) return m_specifiers;
    auto titles = listProperty(*row, "validTitles");
    if (!titles) return m_specifiers;
    for (std::size_t i = 0; i < titles->size(); ++i) {
        const std::string* title = (*titles)[i].asString();
        auto entry = PSSpecifier::preferenceSpecifierNamedTargetSetGetDetailCellEdit(
            title ? *title : std::string(), nullptr, nullptr, nullptr, nullptr, PSSpecifier::PSListItemCell, nullptr);
        entry->setPropertyForKey(Property(static_cast<long>(i)), kIndexProperty);
        m_specifiers->addObject(entry);
    }
    return m_specifiers;
}

Ref<UITableViewCell> PSListItemsController::tableViewCellForRowAtIndexPath(Ref<UITableView> table,
                                                                          Ref<NSIndexPath> path) {
    auto cell = PSListController::tableViewCellForRowAtIndexPath(table, path);
    auto entry = specifierAtIndexPath(path->section(), path->row());
    auto row = specifier();
    if (!cell || !entry || !row) return cell;
    const auto current = indexOfValue(*row, row->performGetter());
    const bool checked = current && entryIndex(*entry) == current;
    cell->setAccessoryType(checked ? UITableViewCellAccessoryCheckmark : UITableViewCellAccessoryNone);
    cell->setSelectionStyle(UITableViewCellSelectionStyleDefault);
    return cell;
}

void PSListItemsController::tableViewDidSelectRowAtIndexPath(Ref<UITableView> table, Ref<NSIndexPath> path) {
    if (!path) return;
    if (table) table->deselectRowAtIndexPathAnimated(IndexPath{path->section(), path->row()}, true);
    auto entry = specifierAtIndexPath(path->section(), path->row());
    auto row = specifier();
    if (!entry || !row) return;
    auto values = listProperty(*row, "validValues");
    auto index = entryIndex(*entry);
    if (!values || !index || *index >= values->size()) return;
    row->performSetterWithValue((*values)[*index]);
    // The check mark follows what is stored now.
    if (table) table->reloadData();
}
