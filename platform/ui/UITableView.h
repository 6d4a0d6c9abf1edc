#pragma once

// A scrolling list of sections of rows, fed by a data source and a delegate (both weak).
//
// Every callback is sent by selector through platform::msgSend, after respondsToSelector for the optional ones.
// Published members must have exactly these C++ signatures (T = Ref<UITableView>, P = Ref<NSIndexPath>):
//   data source
//   "numberOfSectionsInTableView:"                      long (T)                     optional, default 1
//   "tableView:numberOfRowsInSection:"                  long (T, long)               required
//   "tableView:cellForRowAtIndexPath:"                  Ref<UITableViewCell> (T, P)  required
//   "tableView:titleForHeaderInSection:"                std::string (T, long)        optional; "" = no title
//   "tableView:titleForFooterInSection:"                std::string (T, long)        optional
//   "tableView:canMoveRowAtIndexPath:"                  bool (T, P)                  optional, default true when
//                                                                                    moveRow… is implemented
//   "tableView:moveRowAtIndexPath:toIndexPath:"         void (T, P, P)               optional
//   delegate
//   "tableView:heightForRowAtIndexPath:"                CGFloat (T, P)               optional
//   "tableView:heightForHeaderInSection:"               CGFloat (T, long)            optional
//   "tableView:heightForFooterInSection:"               CGFloat (T, long)            optional
//   "tableView:viewForHeaderInSection:"                 Ref<UIView> (T, long)        optional
//   "tableView:viewForFooterInSection:"                 Ref<UIView> (T, long)        optional
//   "tableView:willDisplayHeaderView:forSection:"       void (T, Ref<UIView>, long)  optional
//   "tableView:willDisplayCell:forRowAtIndexPath:"      void (T, Ref<UITableViewCell>, P)  optional
//   "tableView:editingStyleForRowAtIndexPath:"          long (T, P)                  optional, default delete
//   "tableView:didSelectRowAtIndexPath:"                void (T, P)                  optional
//   "tableView:didDeselectRowAtIndexPath:"              void (T, P)                  optional
//   "tableView:didEndReorderingRowAtIndexPath:"         void (T, P)                  optional
// The delegate is also the scroll view's delegate ("scrollViewDidScroll:").
//
// Rows are laid out lazily: cells exist only for rows inside the visible bounds; cells that leave are kept per
// reuse identifier for dequeueReusableCellWithIdentifier. The data is first loaded when something asks for it (a
// layout pass, a count, a cell, a scroll to a row) and again at every reloadData.
//
// Reordering: in editing mode a row whose cell shows its reorder handle (the data source implements
// moveRow… and the row can move) is dragged by a touch on the handle. On release the row moves in the table's
// own bookkeeping (its cell then answers cellForRowAtIndexPath at the new path), the data source hears
// "tableView:moveRowAtIndexPath:toIndexPath:" when the path changed, then the delegate
// "tableView:didEndReorderingRowAtIndexPath:" with the final path.
//
// Batch updates (beginUpdates / insert / delete / endUpdates, or a single insert / delete) are checked against the
// data source's counts when they end; a batch that does not add up throws NSInternalInconsistencyException.

#include "platform/ui/NSIndexPath.h"
#include "platform/ui/TableUpdateBatch.h"
#include "platform/ui/UIScrollView.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

class UITableViewCell;
class UITableViewHeaderFooterView;
class UIColor;

using UITableViewStyle = long;
inline constexpr UITableViewStyle UITableViewStylePlain = 0;
inline constexpr UITableViewStyle UITableViewStyleGrouped = 1;
inline constexpr UITableViewStyle UITableViewStyleInsetGrouped = 2;

using UITableViewCellSeparatorStyle = long;
inline constexpr UITableViewCellSeparatorStyle UITableViewCellSeparatorStyleNone = 0;
inline constexpr UITableViewCellSeparatorStyle UITableViewCellSeparatorStyleSingleLine = 1;

using UITableViewScrollPosition = long;
inline constexpr UITableViewScrollPosition UITableViewScrollPositionNone = 0;
inline constexpr UITableViewScrollPosition UITableViewScrollPositionTop = 1;
inline constexpr UITableViewScrollPosition UITableViewScrollPositionMiddle = 2;
inline constexpr UITableViewScrollPosition UITableViewScrollPositionBottom = 3;

using UITableViewRowAnimation = long;
inline constexpr UITableViewRowAnimation UITableViewRowAnimationFade = 0;
inline constexpr UITableViewRowAnimation UITableViewRowAnimationNone = 5;
inline constexpr UITableViewRowAnimation UITableViewRowAnimationAutomatic = 100;

inline constexpr CGFloat UITableViewAutomaticDimension = -1;

class UITableView : public UIScrollView {
    VT_OBJECT(UITableView, UIScrollView)
public:
    static constexpr CGFloat kDefaultRowHeight = 44;

    void initWithFrameStyle(CGRect frame, UITableViewStyle style);
    void initWithFrame(CGRect frame) override;

    UITableViewStyle style() const { return m_style; }
    id dataSource() const { return m_dataSource.lock(); }
    void setDataSource(const id& dataSource);

    // Row height for rows the delegate does not size; UITableViewAutomaticDimension measures each cell.
    CGFloat rowHeight() const { return m_rowHeight; }
    void setRowHeight(CGFloat height);
    // The height assumed for automatic rows whose cell was not measured yet; 0 means kDefaultRowHeight.
    CGFloat estimatedRowHeight() const { return m_estimatedRowHeight; }
    void setEstimatedRowHeight(CGFloat height) { m_estimatedRowHeight = height; }
    // Automatic (-1) means the style's default: 28 with a title in a plain table, 38 grouped, and without a
    // title 0 plain, 18 grouped (35 above the first section).
    CGFloat sectionHeaderHeight() const { return m_sectionHeaderHeight; }
    void setSectionHeaderHeight(CGFloat height) { m_sectionHeaderHeight = height; }
    CGFloat sectionFooterHeight() const { return m_sectionFooterHeight; }
    void setSectionFooterHeight(CGFloat height) { m_sectionFooterHeight = height; }

    // Registration by reuse identifier: a later dequeue of that identifier creates an instance of the class
    // (runtime::createInstance, then "initWithStyle:reuseIdentifier:" with style 0) when none is waiting.
    void registerClassForCellReuseIdentifier(Class cellClass, const std::string& identifier);
    void registerClassForHeaderFooterViewReuseIdentifier(Class viewClass, const std::string& identifier);
    // A waiting cell of the identifier (after "prepareForReuse"), a new one of the registered class, or null.
    Ref<UITableViewCell> dequeueReusableCellWithIdentifier(const std::string& identifier);
    // The same, but an identifier without registration and without waiting cell is a RuntimeError.
    Ref<UITableViewCell> dequeueReusableCellWithIdentifierForIndexPath(const std::string& identifier, IndexPath path);
    Ref<UITableViewHeaderFooterView> dequeueReusableHeaderFooterViewWithIdentifier(const std::string& identifier);
    // Cells ever created by the table from registered classes (a test's count of rebuilds).
    std::size_t createdCellCount() const { return m_createdCells; }

    void reloadData();
    long numberOfSections();
    // 0 for a section outside the table.
    long numberOfRowsInSection(long section);

    // The cell shown for a row; null when the row is not visible or does not exist.
    Ref<UITableViewCell> cellForRowAtIndexPath(IndexPath path);
    std::optional<IndexPath> indexPathForCell(const Ref<UITableViewCell>& cell) const;
    // The row under a point in content coordinates, or nothing.
    std::optional<IndexPath> indexPathForRowAtPoint(CGPoint point);
    std::vector<Ref<UITableViewCell>> visibleCells() const;
    std::vector<IndexPath> indexPathsForVisibleRows() const;
    // In content coordinates; zero for a row or section outside the table.
    CGRect rectForRowAtIndexPath(IndexPath path);
    CGRect rectForHeaderInSection(long section);
    // The header view shown for a section, or null.
    Ref<UIView> headerViewForSection(long section) const;

    // Selection. selectRow… and deselectRow… do not call the delegate, as on the device; a tap does.
    void selectRowAtIndexPathAnimatedScrollPosition(IndexPath path, bool animated, UITableViewScrollPosition position);
    void deselectRowAtIndexPathAnimated(IndexPath path, bool animated);
    std::optional<IndexPath> indexPathForSelectedRow() const;
    std::vector<IndexPath> indexPathsForSelectedRows() const;
    bool allowsSelection() const { return m_allowsSelection; }
    void setAllowsSelection(bool on) { m_allowsSelection = on; }
    bool allowsMultipleSelection() const { return m_allowsMultiple; }
    void setAllowsMultipleSelection(bool on) { m_allowsMultiple = on; }
    bool allowsSelectionDuringEditing() const { return m_allowsSelectionDuringEditing; }
    void setAllowsSelectionDuringEditing(bool on) { m_allowsSelectionDuringEditing = on; }

    UITableViewCellSeparatorStyle separatorStyle() const { return m_separatorStyle; }
    void setSeparatorStyle(UITableViewCellSeparatorStyle style);

    bool isEditing() const { return m_editing; }
    void setEditing(bool editing) { setEditingAnimated(editing, false); }
    void setEditingAnimated(bool editing, bool animated);

    Ref<UIView> tableHeaderView() const { return m_tableHeader; }
    void setTableHeaderView(Ref<UIView> view);
    Ref<UIView> tableFooterView() const { return m_tableFooter; }
    void setTableFooterView(Ref<UIView> view);
    // Fills the table's visible bounds behind every row; does not scroll.
    Ref<UIView> backgroundView() const { return m_backgroundView; }
    void setBackgroundView(Ref<UIView> view);

    void beginUpdates();
    // Throws NSInternalInconsistencyException when the batch does not add up (the table keeps its old rows).
    void endUpdates();
    void insertRowsAtIndexPathsWithRowAnimation(const std::vector<IndexPath>& paths, UITableViewRowAnimation animation);
    void deleteRowsAtIndexPathsWithRowAnimation(const std::vector<IndexPath>& paths, UITableViewRowAnimation animation);

    // A row that does not exist is an error, as on the device (NSInternalInconsistencyException).
    void scrollToRowAtIndexPathAtScrollPositionAnimated(IndexPath path, UITableViewScrollPosition position,
                                                        bool animated);

    // The reorder in progress, for tests and the renderer: the path the dragged row came from.
    std::optional<IndexPath> reorderingSourcePath() const;

    void layoutSubviews() override;

protected:
    void contentOffsetDidChange() override;
    bool claimsTouchAt(CGPoint point) override;
    void tapAt(CGPoint point) override;
    void claimedTouchMoved(CGPoint point) override;
    void claimedTouchEnded(CGPoint point) override;
    void claimedTouchCancelled() override;

private:
    struct Section {
        std::string title;
        std::string footerTitle;
        CGFloat headerHeight = 0;
        CGFloat footerHeight = 0;
        std::vector<CGFloat> rowHeights;
        std::vector<bool> measured;
        // Geometry, in content coordinates.
        CGFloat top = 0;
        std::vector<CGFloat> rowTops;
        CGFloat rowsEnd = 0;
        CGFloat end = 0;
    };
    struct Reorder {
        IndexPath source;
        Ref<UITableViewCell> cell;
        CGFloat grabOffset = 0;
    };

    void ensureLoaded();
    void loadModel();
    CGFloat heightForRow(IndexPath path);
    void computeGeometry();
    void updateVisibleCells();
    Ref<UITableViewCell> requestCell(IndexPath path);
    void configureCell(const Ref<UITableViewCell>& cell, IndexPath path);
    void updateHeaders(CGRect visible);
    void recycle(const Ref<UITableViewCell>& cell);
    void applyBatch(const TableUpdateBatch& batch);
    std::vector<long> dataSourceCounts();
    IndexPath destinationFor(CGFloat centerY) const;
    void commitMove(IndexPath from, IndexPath to);
    bool canMoveRow(IndexPath path);
    bool rowExists(IndexPath path) const;
    void tapRow(IndexPath path);
    Ref<NSIndexPath> obj(IndexPath p) const { return NSIndexPath::fromValue(p); }

    UITableViewStyle m_style = UITableViewStylePlain;
    Weak<NSObject> m_dataSource;
    CGFloat m_rowHeight = kDefaultRowHeight;
    CGFloat m_estimatedRowHeight = 0;
    CGFloat m_sectionHeaderHeight = UITableViewAutomaticDimension;
    CGFloat m_sectionFooterHeight = UITableViewAutomaticDimension;
    std::map<std::string, Class> m_cellClasses;
    std::map<std::string, Class> m_headerClasses;
    std::map<std::string, std::vector<Ref<UITableViewCell>>> m_reusable;
    std::map<std::string, std::vector<Ref<UITableViewHeaderFooterView>>> m_reusableHeaders;
    std::size_t m_createdCells = 0;

    bool m_loaded = false;
    bool m_inLayout = false;
    std::vector<Section> m_sections;
    std::map<IndexPath, Ref<UITableViewCell>> m_cells;
    std::map<long, Ref<UIView>> m_headers;
    // Where a row or header view that comes on screen is inserted: below the first subview that is none of them.
    std::size_t rowViewInsertionIndex() const;
    std::vector<IndexPath> m_selected;
    bool m_allowsSelection = true;
    bool m_allowsMultiple = false;
    bool m_allowsSelectionDuringEditing = false;
    UITableViewCellSeparatorStyle m_separatorStyle = UITableViewCellSeparatorStyleSingleLine;
    bool m_editing = false;
    Ref<UIView> m_tableHeader;
    Ref<UIView> m_tableFooter;
    Ref<UIView> m_backgroundView;
    int m_updateDepth = 0;
    TableUpdateBatch m_batch;
    std::optional<Reorder> m_reorder;
};
