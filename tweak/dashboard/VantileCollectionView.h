#pragma once

// The dashboard grid: the selected cards, in the order of the stored selected list, two to a row when it scrolls
// vertically. It keeps itself current by reloading once a second from the stored list; it needs no notification.
//
// The title list, the refresh timer and the preferences object of the last read are process-wide: a new grid
// replaces them, and the timer of an earlier grid keeps firing (it is never stopped, and it keeps its grid alive).
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

private:
    static void readTitleList();

    Ref<UICollectionView> m_collectionView;
};
