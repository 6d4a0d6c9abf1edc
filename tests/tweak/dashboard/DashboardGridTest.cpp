// The dashboard: the hint by the stored list, the grid's placement by screen height, its items by exact title,
// the scroll direction, and the refresh that picks up a changed list within a second while reusing cards.
#include "tests/support/DashboardFixture.h"
#include "tests/tweak/cards/CardFixture.h"

#include "tweak/dashboard/GridPreferences.h"
#include "tweak/dashboard/VantileBaseView.h"
#include "tweak/dashboard/VantileCollectionView.h"

#include "platform/core/NSTimer.h"
#include "platform/core/RunLoop.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/UIFont.h"
#include "platform/ui/UICollectionView.h"
#include "platform/ui/UICollectionViewCell.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UIScreen.h"

namespace {

using vantile::testing::CardFixture;
namespace key = vantile::key;
using Titles = std::vector<std::string>;

class DashboardGrid : public CardFixture {
protected:
    // The dashboard as the root page lays it: created by name at the screen's size, inside a window, laid out.
    Ref<VantileBaseView> show() {
        m_root = makeRoot();
        auto base = vantile::testing::makeDashboardView();
        m_root->addSubview(base);
        m_root->layoutIfNeeded();
        return cast<VantileBaseView>(base);
    }
    static Ref<UICollectionView> collection() {
        return VantileBaseView::vantileCollectionView()->vantileSettingsCollectionView();
    }
    // The class names of the visible cells in item order.
    static Titles shownClasses() {
        Titles names;
        for (const auto& cell : collection()->visibleCells()) names.emplace_back(cell->className());
        return names;
    }
    Ref<UIView> m_root;
};

TEST_F(DashboardGrid, HintShowsOnlyWhileTheListWasNeverStored) {
    const std::tuple<const char*, Value, bool> cases[] = {
        {"key absent", Value(), false},
        {"stored empty list", titles({}), true},
        {"stored list", titles({"Wi-Fi"}), true},
    };
    for (const auto& [name, stored, hidden] : cases) {
        SCOPED_TRACE(name);
        store(key::vantileEnabledArray, stored);
        show();
        ASSERT_TRUE(VantileBaseView::firstTimeLabel());
        EXPECT_EQ(VantileBaseView::firstTimeLabel()->isHidden(), hidden);
        const auto* list = stored.asArray();
        EXPECT_EQ(collection()->numberOfItemsInSection(0), list ? static_cast<long>(list->size()) : 0L);
    }
}

TEST_F(DashboardGrid, HintTextFontColourAndPlacement) {
    show();
    const auto& hint = VantileBaseView::firstTimeLabel();
    EXPECT_EQ(hint->text(), "Tap on the gear icon above to get started and adding cells.");
    EXPECT_EQ(hint->font()->pointSize(), 22);
    EXPECT_GT(hint->font()->weight(), UIFontWeightRegular);
    expectColour(hint->textColor(), RGBA{1.0, 0.23, 0.19, 1.0}, "hint colour");
    EXPECT_EQ(hint->numberOfLines(), 3);
    EXPECT_EQ(hint->textAlignment(), NSTextAlignmentCenter);
    // On the 375 × 667 screen: 30 in from each side, centred on 333.5.
    const CGRect f = hint->convertRectToView(hint->bounds(), m_root);
    EXPECT_DOUBLE_EQ(f.origin.x, 30);
    EXPECT_DOUBLE_EQ(f.size.width, 315);
    EXPECT_DOUBLE_EQ(f.origin.y + f.size.height / 2, 333.5);
}

TEST_F(DashboardGrid, GridPlacementByScreenHeight) {
    // Frame of the grid: x 5, y 50, width = screen − 10, height = screen − 50 − bottom margin.
    const std::tuple<const char*, CGFloat, CGFloat, CGFloat> cases[] = {
        {"iphone-8", 375, 667, 40},  {"iphone-8-plus", 414, 736, 40}, {"iphone-x", 375, 812, 75},
        {"iphone-xr", 414, 896, 75}, {"iphone-12", 390, 844, 75},
    };
    for (const auto& [profile, width, height, bottom] : cases) {
        SCOPED_TRACE(profile);
        ASSERT_TRUE(UIScreen::setDeviceProfile(profile));
        auto base = show();
        EXPECT_EQ(base->baseView()->frame().size.width, width);
        EXPECT_EQ(base->baseView()->frame().size.height, height);
        const auto& grid = VantileBaseView::vantileCollectionView();
        const CGRect f = grid->convertRectToView(grid->bounds(), m_root);
        EXPECT_DOUBLE_EQ(f.origin.x, 5);
        EXPECT_DOUBLE_EQ(f.origin.y, 50);
        EXPECT_DOUBLE_EQ(f.size.width, width - 10);
        EXPECT_DOUBLE_EQ(f.size.height, height - 50 - bottom);
        EXPECT_EQ(collection()->frame().size.width, width - 10) << "the collection fills the grid";
        EXPECT_EQ(collection()->frame().size.height, height - 50 - bottom);
    }
    EXPECT_EQ(VantileBaseView::gridBottomMarginForScreenHeight(568), 40);
    EXPECT_EQ(VantileBaseView::gridBottomMarginForScreenHeight(926), 75);
}

TEST_F(DashboardGrid, ItemsFollowTheListByExactTitleTwoToARow) {
    store(key::vantileEnabledArray,
          titles({"Wi-Fi", "Sounds and Haptics", "Battery", "Tweaks", "wi-fi", "Touch/Face ID & Passcode"}));
    show();
    ASSERT_EQ(collection()->numberOfItemsInSection(0), 6);
    const Titles expected{"WifiCell", "UICollectionViewCell", "BatteryCell",
                          "TweaksCell", "UICollectionViewCell", "PasscodeCell"};
    EXPECT_EQ(shownClasses(), expected);
    // Item 177.5 × 120 (375 × 0.5 − 10); two fill the 365-point grid with the layout's 10-point gap.
    const CGRect frames[] = {{{0, 0}, {177.5, 120}},   {{187.5, 0}, {177.5, 120}},   {{0, 130}, {177.5, 120}},
                             {{187.5, 130}, {177.5, 120}}, {{0, 260}, {177.5, 120}}, {{187.5, 260}, {177.5, 120}}};
    for (long i = 0; i < 6; ++i) {
        const CGRect f = collection()->frameForItemAtIndexPath(IndexPath{0, i});
        EXPECT_EQ(f.origin.x, frames[i].origin.x) << i;
        EXPECT_EQ(f.origin.y, frames[i].origin.y) << i;
        EXPECT_EQ(f.size.width, frames[i].size.width) << i;
        EXPECT_EQ(f.size.height, frames[i].size.height) << i;
    }
    auto empty = collection()->cellForItemAtIndexPath(IndexPath{0, 1});
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->reuseIdentifier(), "OriginalCell");
    EXPECT_TRUE(empty->contentView()->subviews().empty());
}

TEST_F(DashboardGrid, ScrollDirectionFromTheBoundSetting) {
    const std::pair<long, long> cases[] = {{1, UICollectionViewScrollDirectionHorizontal},
                                           {0, UICollectionViewScrollDirectionVertical},
                                           {2, UICollectionViewScrollDirectionVertical},
                                           {-1, UICollectionViewScrollDirectionVertical}};
    for (const auto& [stored, direction] : cases) {
        SCOPED_TRACE(stored);
        store(key::vantileFlowDirection, stored);
        ASSERT_EQ(vantile::dashboard::gridPreferences().vantileFlowDirection, stored);
        show();
        EXPECT_EQ(collection()->collectionViewLayout()->scrollDirection(), direction);
    }
}

TEST_F(DashboardGrid, ChangedListShowsWithinOneSecondAndCardsAreReused) {
    store(key::vantileEnabledArray, titles({"Wi-Fi", "Battery"}));
    show();
    const Titles before{"WifiCell", "BatteryCell"};
    ASSERT_EQ(shownClasses(), before);
    const auto firstCells = collection()->visibleCells();
    const std::size_t built = collection()->createdCellCount();

    platform::RunLoop::main().advance(1.0);
    m_root->layoutIfNeeded();
    EXPECT_EQ(collection()->visibleCells(), firstCells) << "a reload hands out the same card objects";
    EXPECT_EQ(collection()->createdCellCount(), built);

    store(key::vantileEnabledArray, titles({"Battery", "Wi-Fi", "General"}));
    platform::RunLoop::main().advance(0.5);
    m_root->layoutIfNeeded();
    EXPECT_EQ(shownClasses(), before) << "nothing polls between ticks";
    platform::RunLoop::main().advance(0.5);
    m_root->layoutIfNeeded();
    const Titles after{"BatteryCell", "WifiCell", "GeneralCell"};
    EXPECT_EQ(shownClasses(), after);
    EXPECT_EQ(collection()->createdCellCount(), built + 1) << "only the General card is new";
}

TEST_F(DashboardGrid, CardsDroppedFromTheListLeaveTheGridAtTheNextTick) {
    store(key::vantileEnabledArray, titles({"Wi-Fi", "Battery", "General"}));
    show();
    ASSERT_EQ(collection()->visibleCells().size(), 3u);
    const auto battery = collection()->cellForItemAtIndexPath(IndexPath{0, 1});
    store(key::vantileEnabledArray, titles({"Battery"}));
    platform::RunLoop::main().advance(1.0);
    m_root->layoutIfNeeded();
    EXPECT_EQ(shownClasses(), Titles{"BatteryCell"});
    EXPECT_EQ(collection()->cellForItemAtIndexPath(IndexPath{0, 0}), battery) << "the kept card is the same object";
    // Only the shown card is still in the view; the other two wait detached in their queues.
    long cardsInView = 0;
    for (const auto& v : collection()->subviews())
        if (cast<UICollectionViewCell>(v)) ++cardsInView;
    EXPECT_EQ(cardsInView, 1);
}

TEST_F(DashboardGrid, RefreshTimerRepeatsEverySecondAndIsNeverStopped) {
    show();
    const Ref<NSTimer> timer = VantileCollectionView::refreshTimer();
    ASSERT_TRUE(timer);
    EXPECT_EQ(timer->timeInterval(), 1.0);
    EXPECT_TRUE(timer->repeats());
    EXPECT_EQ(timer->target(), VantileBaseView::vantileCollectionView());
    // The page goes away; the grid keeps firing, held by its timer.
    m_root.reset();
    platform::RunLoop::main().advance(3.0);
    EXPECT_TRUE(timer->isValid());
    EXPECT_EQ(timer->fireCount(), 3u);
}

TEST_F(DashboardGrid, EveryCellRequestReadsTheListAgain) {
    store(key::vantileEnabledArray, titles({"Wi-Fi"}));
    show();
    // Changed between the count and the cell request, the stored list decides the cell.
    store(key::vantileEnabledArray, titles({"General"}));
    auto grid = VantileBaseView::vantileCollectionView();
    auto cell = platform::msgSend<Ref<UICollectionViewCell>, Ref<UICollectionView>, Ref<NSIndexPath>>(
        grid.get(), sel("collectionView:cellForItemAtIndexPath:"), collection(),
        NSIndexPath::indexPathForItemInSection(0, 0));
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->className(), "GeneralCell");
    ASSERT_TRUE(VantileCollectionView::titleList());
    EXPECT_EQ(*VantileCollectionView::titleList(), Titles{"General"});
}

}  // namespace
