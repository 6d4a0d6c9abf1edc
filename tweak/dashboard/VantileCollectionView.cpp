#include "tweak/dashboard/VantileCollectionView.h"

#include "tweak/cards/VantileCatalogue.h"
#include "tweak/dashboard/GridPreferences.h"

#include "common/Keys.h"
#include "platform/core/HBPreferences.h"
#include "platform/core/NSTimer.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/UIColor.h"
#include "platform/ui/NSIndexPath.h"
#include "platform/ui/UICollectionView.h"
#include "platform/ui/UICollectionViewCell.h"
#include "platform/ui/UICollectionViewFlowLayout.h"
#include "platform/ui/UIScreen.h"

#include <algorithm>

VT_REGISTER_CLASS(VantileCollectionView, [](Class c) {
    using platform::runtime::addMethod;
    addMethod<&VantileCollectionView::initWithFrame>(c, "initWithFrame:");
    addMethod<&VantileCollectionView::refreshVantileCollectionView>(c, "refreshVantileCollectionView");
    addMethod<&VantileCollectionView::collectionViewNumberOfItemsInSection>(c, "collectionView:numberOfItemsInSection:");
    addMethod<&VantileCollectionView::collectionViewCellForItemAtIndexPath>(c, "collectionView:cellForItemAtIndexPath:");
    addMethod<&VantileCollectionView::collectionViewLayoutSizeForItemAtIndexPath>(
        c, "collectionView:layout:sizeForItemAtIndexPath:");
})

namespace {

struct GridState {
    std::optional<std::vector<std::string>> titles;
    Ref<NSTimer> timer;
    Ref<HBPreferences> preferences;
};

GridState& gridState() {
    static GridState* s = new GridState;  // lives to process end, as the timer does
    return *s;
}

}  // namespace

std::optional<std::vector<std::string>> VantileCollectionView::readStoredTitles() {
    // Every read takes a new preferences object, so the list is the one stored now.
    gridState().preferences = alloc<HBPreferences>();
    gridState().preferences->initWithIdentifier(vantile::kDomain);
    const Value stored = gridState().preferences->objectForKey(vantile::key::vantileEnabledArray);
    const Value::Array* array = stored.asArray();
    if (!array) return std::nullopt;
    std::vector<std::string> titles;
    titles.reserve(array->size());
    for (const Value& v : *array)
        if (const std::string* title = v.asString()) titles.push_back(*title);
    return titles;
}

const std::optional<std::vector<std::string>>& VantileCollectionView::titleList() { return gridState().titles; }

const Ref<NSTimer>& VantileCollectionView::refreshTimer() { return gridState().timer; }

void VantileCollectionView::readTitleList() { gridState().titles = readStoredTitles(); }

void VantileCollectionView::initWithFrame(CGRect frame) {
    UIView::initWithFrame(frame);
    readTitleList();
    gridState().timer = NSTimer::scheduledTimerWithTimeIntervalTargetSelectorUserInfoRepeats(
        kRefreshInterval, self(), sel("refreshVantileCollectionView"), nullptr, true);

    auto layout = alloc<UICollectionViewFlowLayout>();
    m_collectionView = alloc<UICollectionView>();
    m_collectionView->initWithFrameCollectionViewLayout(bounds(), layout);
    m_collectionView->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    m_collectionView->setBackgroundColor(UIColor::clearColor());
    m_collectionView->setShowsHorizontalScrollIndicator(false);
    m_collectionView->setShowsVerticalScrollIndicator(false);
    for (const vantile::CatalogueEntry& entry : vantile::catalogue())
        m_collectionView->registerClassForCellWithReuseIdentifier(objc_getClass(entry.cardClass),
                                                                  std::string(entry.reuseIdentifier));
    m_collectionView->registerClassForCellWithReuseIdentifier(UICollectionViewCell::classObject(),
                                                              std::string(vantile::kOriginalCellIdentifier));

    // 1 horizontal, 0 vertical; anything else keeps the layout's own default, which is vertical.
    const long direction = vantile::dashboard::gridPreferences().vantileFlowDirection;
    if (direction == 1) layout->setScrollDirection(UICollectionViewScrollDirectionHorizontal);
    else if (direction == 0) layout->setScrollDirection(UICollectionViewScrollDirectionVertical);

    addSubview(m_collectionView);
    m_collectionView->setDelegate(self());
    m_collectionView->setDataSource(self());
}

void VantileCollectionView::refreshVantileCollectionView() {
    m_collectionView->reloadData();
    readTitleList();
    fitScrollRangeToScreen();
}

void VantileCollectionView::layoutSubviews() {
    UIView::layoutSubviews();
    fitScrollRangeToScreen();
}

CGFloat VantileCollectionView::overflowBelowScreen() {
    const Ref<UIView> root = window();
    if (!root) return 0;
    const CGRect onScreen = convertRectToView(bounds(), root);
    return std::max<CGFloat>(0, onScreen.maxY() - UIScreen::mainScreen()->bounds().maxY());
}

void VantileCollectionView::fitScrollRangeToScreen() {
    if (!m_collectionView) return;
    UIEdgeInsets inset = m_collectionView->contentInset();
    inset.bottom = overflowBelowScreen();
    m_collectionView->setContentInset(inset);
}

long VantileCollectionView::collectionViewNumberOfItemsInSection(Ref<UICollectionView>, long) {
    const auto& titles = gridState().titles;
    return titles ? static_cast<long>(titles->size()) : 0;
}

Ref<UICollectionViewCell> VantileCollectionView::collectionViewCellForItemAtIndexPath(
    Ref<UICollectionView> collectionView, Ref<NSIndexPath> indexPath) {
    readTitleList();
    const auto& titles = gridState().titles;
    const long row = indexPath->item();
    // A list that shrank since the count was taken has no title here: the item gets the empty cell.
    const std::string_view identifier = titles && row >= 0 && row < static_cast<long>(titles->size())
                                            ? vantile::reuseIdentifierForTitle((*titles)[row])
                                            : vantile::kOriginalCellIdentifier;
    return collectionView->dequeueReusableCellWithReuseIdentifierForIndexPath(std::string(identifier),
                                                                             indexPath->value());
}

CGSize VantileCollectionView::collectionViewLayoutSizeForItemAtIndexPath(Ref<UICollectionView>,
                                                                         Ref<UICollectionViewFlowLayout>,
                                                                         Ref<NSIndexPath>) {
    return CGSize{UIScreen::mainScreen()->bounds().size.width * 0.5 - 10, kItemHeight};
}
