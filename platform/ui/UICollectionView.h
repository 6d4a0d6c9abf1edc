#pragma once

// A scrolling grid of items placed by a flow layout and supplied as cells by a data source (both the data source
// and the delegate are weak).
//
// Callbacks, by selector through platform::msgSend (C = Ref<UICollectionView>, P = Ref<NSIndexPath>):
//   data source
//   "numberOfSectionsInCollectionView:"               long (C)                        optional, default 1
//   "collectionView:numberOfItemsInSection:"          long (C, long)                  required
//   "collectionView:cellForItemAtIndexPath:"          Ref<UICollectionViewCell> (C, P) required
//   delegate
//   "collectionView:layout:sizeForItemAtIndexPath:"   CGSize (C, Ref<UICollectionViewFlowLayout>, P)  optional;
//                                                     the layout's itemSize otherwise
//   "collectionView:didSelectItemAtIndexPath:"        void (C, P)                     optional
//
// Cells exist only for items whose frame meets the visible bounds. A cell that leaves, and every cell at
// reloadData, waits in its reuse identifier's queue, so that the next dequeue of that identifier hands it out again
// (after "prepareForReuse") instead of building a new one. A new cell is made from the class registered for the
// identifier with runtime::createInstance and "initWithFrame:" at its item's frame.

#include "platform/ui/NSIndexPath.h"
#include "platform/ui/UICollectionViewFlowLayout.h"
#include "platform/ui/UIScrollView.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

class UICollectionViewCell;

class UICollectionView : public UIScrollView {
    VT_OBJECT(UICollectionView, UIScrollView)
public:
    // A null layout gets a default flow layout.
    void initWithFrameCollectionViewLayout(CGRect frame, Ref<UICollectionViewFlowLayout> layout);
    void initWithFrame(CGRect frame) override;

    Ref<UICollectionViewFlowLayout> collectionViewLayout() const { return m_layout; }
    void setCollectionViewLayout(Ref<UICollectionViewFlowLayout> layout);

    id dataSource() const { return m_dataSource.lock(); }
    void setDataSource(const id& dataSource);

    void registerClassForCellWithReuseIdentifier(Class cellClass, const std::string& identifier);
    // A waiting cell of the identifier or a new one of its registered class, at the item's frame. An identifier
    // with no registered class is a RuntimeError, as on the device.
    Ref<UICollectionViewCell> dequeueReusableCellWithReuseIdentifierForIndexPath(const std::string& identifier,
                                                                                 IndexPath path);

    void reloadData();
    long numberOfSections();
    // 0 for a section outside the collection.
    long numberOfItemsInSection(long section);

    // The cell shown for an item; null when the item is not visible or does not exist.
    Ref<UICollectionViewCell> cellForItemAtIndexPath(IndexPath path) const;
    std::optional<IndexPath> indexPathForCell(const Ref<UICollectionViewCell>& cell) const;
    std::optional<IndexPath> indexPathForItemAtPoint(CGPoint point) const;
    // Visible cells in item order, and their paths.
    std::vector<Ref<UICollectionViewCell>> visibleCells() const;
    std::vector<IndexPath> indexPathsForVisibleItems() const;
    // The item's frame in content coordinates; zero for an item outside the collection.
    CGRect frameForItemAtIndexPath(IndexPath path);

    // Cells ever built (a count that must not grow on reloads that can reuse).
    std::size_t createdCellCount() const { return m_createdCells; }

    void layoutSubviews() override;

protected:
    void contentOffsetDidChange() override;
    void tapAt(CGPoint point) override;

private:
    void ensureLoaded();
    void loadModel();
    void updateVisibleCells();

    Ref<UICollectionViewFlowLayout> m_layout;
    Weak<NSObject> m_dataSource;
    std::map<std::string, Class> m_classes;
    std::map<std::string, std::vector<Ref<UICollectionViewCell>>> m_reusable;
    std::map<IndexPath, Ref<UICollectionViewCell>> m_cells;
    std::vector<std::vector<CGRect>> m_frames;
    std::size_t m_createdCells = 0;
    bool m_loaded = false;
    bool m_updating = false;
    // The item whose cell is being asked for, so a dequeue knows the frame to build the cell at.
    std::optional<IndexPath> m_requesting;
};
