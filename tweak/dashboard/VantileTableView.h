#pragma once

// The card editor's table: two sections, "Selected Cells" (the item lists' selected cards) and "Available Cells",
// permanently in editing mode so every row shows its drag handle. Dragging is the only edit: each drop moves the
// card's item between or within the lists, renumbers the lists it touched, stores both lists and posts the
// settings-changed Darwin notification.
//
// Creating a table view replaces the process-wide item lists (VantileItemLists) by new ones loaded from the domain.
//
// Published (T = Ref<UITableView>, P = Ref<NSIndexPath>):
//   "initWithFrame:"                                 void(CGRect)
//   "loadVantiles" / "updateIndexes" / "saveToConfig" void()
//   "numberOfSectionsInTableView:"                   long(T)
//   "tableView:numberOfRowsInSection:"               long(T, long)
//   "tableView:titleForHeaderInSection:"             std::string(T, long)
//   "tableView:cellForRowAtIndexPath:"               Ref<UITableViewCell>(T, P)
//   "tableView:heightForRowAtIndexPath:"             CGFloat(T, P)
//   "tableView:canMoveRowAtIndexPath:"               bool(T, P)
//   "tableView:editingStyleForRowAtIndexPath:"       long(T, P)
//   "tableView:moveRowAtIndexPath:toIndexPath:"      void(T, P, P)
//   "tableView:didEndReorderingRowAtIndexPath:"      void(T, P)

#include "tweak/dashboard/VantileItemLists.h"

#include "platform/ui/UIView.h"

#include <string>
#include <string_view>

class NSIndexPath;
class UITableView;
class UITableViewCell;

class VantileTableView : public UIView {
    VT_OBJECT(VantileTableView, UIView)
public:
    static constexpr std::string_view kReuseIdentifier = "VantileCell";
    static constexpr std::string_view kSelectedHeader = "Selected Cells";
    static constexpr std::string_view kAvailableHeader = "Available Cells";
    static constexpr CGFloat kRowHeight = 90;

    void initWithFrame(CGRect frame) override;

    virtual void loadVantiles();
    // The current lists (copies of the references), or new empty lists when there are none.
    static VantileItemLists::List getEnabledVantiles();
    static VantileItemLists::List getDisabledVantiles();
    // Renumbers each list marked dirty so every item's index is its position, then clears the marks.
    virtual void updateIndexes();
    virtual void saveToConfig();

    virtual long numberOfSectionsInTableView(Ref<UITableView> tableView);
    virtual long tableViewNumberOfRowsInSection(Ref<UITableView> tableView, long section);
    virtual std::string tableViewTitleForHeaderInSection(Ref<UITableView> tableView, long section);
    virtual Ref<UITableViewCell> tableViewCellForRowAtIndexPath(Ref<UITableView> tableView, Ref<NSIndexPath> path);
    virtual CGFloat tableViewHeightForRowAtIndexPath(Ref<UITableView> tableView, Ref<NSIndexPath> path);
    virtual bool tableViewCanMoveRowAtIndexPath(Ref<UITableView> tableView, Ref<NSIndexPath> path);
    virtual long tableViewEditingStyleForRowAtIndexPath(Ref<UITableView> tableView, Ref<NSIndexPath> path);
    // The model follows only on the drop (didEndReordering), so a move alone changes nothing.
    virtual void tableViewMoveRowAtIndexPathToIndexPath(Ref<UITableView> tableView, Ref<NSIndexPath> from,
                                                        Ref<NSIndexPath> to);
    virtual void tableViewDidEndReorderingRowAtIndexPath(Ref<UITableView> tableView, Ref<NSIndexPath> path);

    const Ref<UITableView>& vantileTableView() const { return m_tableView; }
    bool enabledDirty() const { return m_enabledDirty; }
    bool disabledDirty() const { return m_disabledDirty; }

private:
    // The rows of a section: the selected list for 0, the available one for 1, none otherwise.
    VantileItemLists::List* listForSection(long section);

    Ref<UITableView> m_tableView;
    bool m_enabledDirty = false;
    bool m_disabledDirty = false;
};
