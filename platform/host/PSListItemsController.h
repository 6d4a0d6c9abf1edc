#pragma once

// The page a link-list row opens: one row per entry of the row's "validTitles", a check mark on the entry whose
// "validValues" value is stored now. Choosing an entry hands its value to the row's setter (which stores it and
// posts the row's notification) and moves the check mark; the page stays open, as on the device.
//
// The two lists are read by position. Titles past the end of "validValues" choose nothing; a row without
// "validTitles" opens an empty page.

#include "platform/core/Value.h"
#include "platform/host/PSListController.h"

#include <optional>
#include <string>

class PSListItemsController : public PSListController {
    VT_OBJECT(PSListItemsController, PSListController)
public:
    // The position of `value` among the row's "validValues" (numbers compare by value, 1 matches 1.0); nothing
    // when it is not there or the row has no such list.
    static std::optional<std::size_t> indexOfValue(const PSSpecifier& row, const Value& value);
    // The title shown for the row's stored value (the "validTitles" entry at its position); nothing when the value
    // matches no entry or has no title.
    static std::optional<std::string> titleForStoredValue(PSSpecifier& row);

    // The entries of the opening row (the specifier given with setSpecifier), made once.
    Ref<NSMutableArray> specifiers() override;
    Ref<UITableViewCell> tableViewCellForRowAtIndexPath(Ref<UITableView> table, Ref<NSIndexPath> path) override;
    void tableViewDidSelectRowAtIndexPath(Ref<UITableView> table, Ref<NSIndexPath> path) override;
};
