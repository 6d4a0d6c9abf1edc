#pragma once

// The dashboard grid: the selected cards, in the order of the stored selected list, two to a row when it scrolls
// vertically. It keeps itself current by reloading once a second from the stored list; it needs no notification.
//
// The title list, the refresh timer and the preferences object of the last read are process-wide: a new grid
// replaces them, and the timer of an earlier grid keeps firing (it is never stopped, and it keeps its grid alive).
//
// The grid's frame follows the fixed margins of its container, whose top lies under the navigation and search bars;
// on a home-button screen its bottom would then lie below the screen's. So that the last row can be scrolled into
// view, the collection view's bottom content inset is the part of the grid below the screen's bottom (0 when none),
// updated at every layout and every refresh.
//
// Published:
//   "initWithFrame:"                                  void(CGRect)
//   "refreshVantileCollectionView"                    void()
//   "collectionView:numberOfItemsInSection:"          long(Ref<UICollectionView>, long)
//   "collectionView:cellForItemAtIndexPath:"          Ref<UICollectionViewCell>(Ref<UICollectionView>, Ref<NSIndexPath>)
//   "collectionView:layout:sizeForItemAtIndexPath:"   CGSize(Ref<UICollectionView>, Ref<UICollectionViewFlowLayout>,
//                                                            Ref<NSIndexPath>)

#include "platform/ui/UIView.h"

#include <optional>
#include <string>
#include <vector>

class NSIndexPath;
class NSTimer;
class UICollectionView;
class UICollectionViewCell;
class UICollectionViewFlowLayout;

class VantileCollectionView : public UIView {
    VT_OBJECT(VantileCollectionView, UIView)
public:
    static constexpr double kRefreshInterval = 1.0;
    static constexpr CGFloat kItemHeight = 120;

    void initWithFrame(CGRect frame) override;
    void layoutSubviews() override;

    // Reloads the collection, then reads the title list again.
    virtual void refreshVantileCollectionView();

    virtual long collectionViewNumberOfItemsInSection(Ref<UICollectionView> collectionView, long section);
    virtual Ref<UICollectionViewCell> collectionViewCellForItemAtIndexPath(Ref<UICollectionView> collectionView,
                                                                           Ref<NSIndexPath> indexPath);
    virtual CGSize collectionViewLayoutSizeForItemAtIndexPath(Ref<UICollectionView> collectionView,
                                                              Ref<UICollectionViewFlowLayout> layout,
                                                              Ref<NSIndexPath> indexPath);

    const Ref<UICollectionView>& vantileSettingsCollectionView() const { return m_collectionView; }

    // The stored selected list read on a fresh preferences object; nothing when the key is absent (a stored value
    // that is not an array counts as absent; its non-text entries are skipped).
    static std::optional<std::vector<std::string>> readStoredTitles();
    // The process-wide title list as the last read left it.
    static const std::optional<std::vector<std::string>>& titleList();
    // The process-wide refresh timer of the last grid built; null before the first.
    static const Ref<NSTimer>& refreshTimer();
    // How far the grid reaches below the main screen's bottom, in points; 0 when it ends on screen or is in no
    // window.
    CGFloat overflowBelowScreen();

private:
    static void readTitleList();
    void fitScrollRangeToScreen();

    Ref<UICollectionView> m_collectionView;
};
