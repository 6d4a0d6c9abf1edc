#pragma once

// The changelog's list: the add-on's versions as section headers that open and close like an accordion (at most one
// open at a time), an open version listing its notes. The view is its own table's data source and delegate.
//
// Each header carries a chevron image view tagged with its section + kChevronTagBase (added to the header, looked up
// from this view); the header's own tag is its section. Opening turns the chevron by π over 0.4 s and inserts the
// section's rows in one update block, closing turns it back and deletes them in one block, so the table's batch
// check sees exactly the rows its counts say.
//
// Published to the run-time (the table and the header's tap recogniser call these by name):
//   "initWithFrame:", the data source and delegate calls of UITableView.h listed below,
//   "sectionHeaderWasTouched:"                 void (id) the header's tap recogniser
//   "tableViewExpandSection:withImage:"        void (long, Ref<UIImageView>)
//   "tableViewCollapeSection:withImage:"       void (long, Ref<UIImageView>)
//   "updateTableViewRowDisplay:"               void (Ref<NSObject>) an NSMutableArray of NSIndexPath

#include "platform/ui/NSIndexPath.h"
#include "platform/ui/UIView.h"

#include <string>
#include <vector>

class NSMutableArray;
class UIColor;
class UIGestureRecognizer;
class UIImageView;
class UITableView;
class UITableViewCell;
class UITableViewHeaderFooterView;

class VNTChangelogTableView : public UIView {
    VT_OBJECT(VNTChangelogTableView, UIView)
public:
    static constexpr long kChevronTagBase = 6900;
    static constexpr CGFloat kHeaderHeight = 44;
    static constexpr double kChevronTurnDuration = 0.4;
    static constexpr const char* kEmptyText = "Retrieving data.\nPlease wait.";

    // Fills the versions, makes the table (flexible size, clear, no empty rows below the last, rows sized by their
    // content) and starts with no section open.
    void initWithFrame(CGRect frame) override;

    long numberOfSectionsInTableView(Ref<UITableView> tableView);
    // The notes of the open section; 0 for any other section, also one outside the list.
    long tableViewNumberOfRowsInSection(Ref<UITableView> tableView, long section);
    // "" outside the list.
    std::string tableViewTitleForHeaderInSection(Ref<UITableView> tableView, long section);
    CGFloat tableViewHeightForHeaderInSection(Ref<UITableView> tableView, long section);
    void tableViewWillDisplayHeaderViewForSection(Ref<UITableView> tableView, Ref<UIView> view, long section);
    Ref<UITableViewCell> tableViewCellForRowAtIndexPath(Ref<UITableView> tableView, Ref<NSIndexPath> path);
    void tableViewDidSelectRowAtIndexPath(Ref<UITableView> tableView, Ref<NSIndexPath> path);

    void sectionHeaderWasTouched(id sender);
    void tableViewExpandSectionWithImage(long section, Ref<UIImageView> chevron);
    void tableViewCollapeSectionWithImage(long section, Ref<UIImageView> chevron);
    void updateTableViewRowDisplay(Ref<NSObject> paths);

    const std::vector<std::string>& sectionNames() const { return m_sectionNames; }
    void setSectionNames(std::vector<std::string> names) { m_sectionNames = std::move(names); }
    const std::vector<std::vector<std::string>>& sectionItems() const { return m_sectionItems; }
    void setSectionItems(std::vector<std::vector<std::string>> items) { m_sectionItems = std::move(items); }
    Ref<UITableView> tableView() const { return m_tableView; }
    long expandedSectionHeaderNumber() const { return m_expandedSectionHeaderNumber; }
    Ref<UITableViewHeaderFooterView> expandedSectionHeader() const { return m_expandedSectionHeader; }
    Ref<UIColor> headerColor() const { return m_headerColor; }
    void setHeaderColor(Ref<UIColor> colour) { m_headerColor = std::move(colour); }

private:
    // The notes of a section; empty outside the list.
    const std::vector<std::string>& notesOf(long section) const;
    std::vector<IndexPath> rowsOf(long section) const;

    std::vector<std::string> m_sectionNames;
    std::vector<std::vector<std::string>> m_sectionItems;
    Ref<UITableView> m_tableView;
    long m_expandedSectionHeaderNumber = -1;
    Ref<UITableViewHeaderFooterView> m_expandedSectionHeader;
    Ref<UIColor> m_headerColor;
};
