// The wheel picker: wheels turned by real drags and flicks come to rest on a row and tell the delegate; code that
// selects tells nobody; only the rows on screen have views.
#include "platform/core/RunLoop.h"
#include "platform/core/Runtime.h"
#include "platform/harness/TouchDriver.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UIPickerView.h"
#include "platform/ui/UIViewControllerForAncestor.h"
#include "platform/ui/UIViewController.h"
#include "platform/ui/UIWindow.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace {

// Two wheels: 100 numbered rows and 3 named ones; records every selection it hears of.
class WheelSource : public NSObject {
    VT_OBJECT(WheelSource, NSObject)
public:
    std::vector<std::pair<long, long>> selections;  // (row, component)
    long rows0 = 100;
    long numberOfComponents(Ref<UIPickerView>) { return 2; }
    long numberOfRows(Ref<UIPickerView>, long component) { return component == 0 ? rows0 : 3; }
    std::string title(Ref<UIPickerView>, long row, long component) {
        static const char* const kNames[] = {"red", "green", "blue"};
        return component == 0 ? std::to_string(row) : kNames[row];
    }
    CGFloat width(Ref<UIPickerView>, long component) { return component == 0 ? 80 : 120; }
    void didSelect(Ref<UIPickerView>, long row, long component) { selections.emplace_back(row, component); }
};

}  // namespace

VT_REGISTER_CLASS(WheelSource, [](Class c) {
    using platform::runtime::addMethod;
    addMethod<&WheelSource::numberOfComponents>(c, "numberOfComponentsInPickerView:");
    addMethod<&WheelSource::numberOfRows>(c, "pickerView:numberOfRowsInComponent:");
    addMethod<&WheelSource::title>(c, "pickerView:titleForRow:forComponent:");
    addMethod<&WheelSource::width>(c, "pickerView:widthForComponent:");
    addMethod<&WheelSource::didSelect>(c, "pickerView:didSelectRow:inComponent:");
})

namespace {

class PickerTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::resetRunLoop();
        window = alloc<UIWindow>();
        window->initWithFrame(CGRectMake(0, 0, 375, 667));
        picker = alloc<UIPickerView>();
        picker->initWithFrame(CGRectMake(0, 100, 375, 216));
        source = alloc<WheelSource>();
        picker->setDataSource(source);
        picker->setDelegate(source);
        window->addSubview(picker);
        window->layoutIfNeeded();
    }
    CGPoint wheelCentre(long component) const {
        const CGRect f = picker->frameForComponent(component);
        return picker->convertPointToView(CGPointMake(f.midX(), f.midY()), window);
    }
    // A finger moves the wheel by `points` (negative: up, bringing later rows) and lifts at `speed`.
    void drag(long component, CGFloat points, CGFloat speed) {
        const CGPoint start = wheelCentre(component);
        std::vector<CGPoint> path;
        for (int i = 0; i <= 8; ++i) path.push_back(CGPointMake(start.x, start.y + points * i / 8));
        platform::TouchDriver(window).drag(path, 0.4, CGPointMake(0, speed));
    }
    void rest() { platform::RunLoop::main().advance(UIPickerView::kMaxGlideSeconds + 0.1); }
    std::string shownTitle(long component) const {
        auto label = cast<UILabel>(picker->viewForRowForComponent(picker->selectedRowInComponent(component), component));
        return label ? label->text() : "(none)";
    }
    Ref<UIWindow> window;
    Ref<UIPickerView> picker;
    Ref<WheelSource> source;
};

TEST_F(PickerTest, WheelsSitSideBySideCentredWithTheDelegatesWidths) {
    ASSERT_EQ(picker->numberOfComponents(), 2);
    const CGFloat total = 80 + UIPickerView::kComponentSpacing + 120;
    EXPECT_EQ(picker->frameForComponent(0), CGRectMake((375 - total) / 2, 0, 80, 216));
    EXPECT_EQ(picker->frameForComponent(1).minX(), (375 - total) / 2 + 80 + UIPickerView::kComponentSpacing);
    EXPECT_EQ(picker->rowSizeForComponent(1), CGSizeMake(120, UIPickerView::kRowHeight));
    const CGRect band = picker->selectionIndicator()->frame();
    EXPECT_EQ(band.midY(), 108) << "the band marks the middle";
    EXPECT_EQ(band.height(), UIPickerView::kRowHeight);
}

TEST_F(PickerTest, ADragComesToRestOnARowAndTellsTheDelegateOnce) {
    struct Case {
        CGFloat points, speed;
        long expectedRow;
    };
    // Slow drags rest where the finger left the wheel; a flick carries it further in the same direction.
    const Case cases[] = {
        {-3 * UIPickerView::kRowHeight, 0, 3},
        {-2.6 * UIPickerView::kRowHeight, 0, 3},
        {-2.4 * UIPickerView::kRowHeight, 0, 2},
        {-2 * UIPickerView::kRowHeight, -800, 2 + std::lround(800 * UIPickerView::kGlideFactor / UIPickerView::kRowHeight)},
        {4 * UIPickerView::kRowHeight, 0, 0},  // past the first row it stops at the first
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.points) + " at " + std::to_string(c.speed));
        picker->selectRowInComponentAnimated(0, 0, false);
        source->selections.clear();
        drag(0, c.points, c.speed);
        EXPECT_TRUE(source->selections.empty()) << "nothing is told before the wheel rests";
        EXPECT_TRUE(picker->isWheelMoving(0));
        rest();
        EXPECT_FALSE(picker->isWheelMoving(0));
        EXPECT_EQ(picker->selectedRowInComponent(0), c.expectedRow);
        EXPECT_EQ(picker->wheelPosition(0), static_cast<double>(c.expectedRow));
        ASSERT_EQ(source->selections.size(), 1u);
        EXPECT_EQ(source->selections[0], std::make_pair(c.expectedRow, 0L));
        EXPECT_EQ(shownTitle(0), std::to_string(c.expectedRow));
    }
}

TEST_F(PickerTest, AFlickStopsAtTheLastRowAndATapTurnsToTheRowTapped) {
    drag(1, -20, -5000);
    rest();
    EXPECT_EQ(picker->selectedRowInComponent(1), 2);
    EXPECT_EQ(shownTitle(1), "blue");
    source->selections.clear();
    // One row above the band.
    platform::TouchDriver(window).tap(CGPointMake(wheelCentre(1).x, wheelCentre(1).y - UIPickerView::kRowHeight));
    rest();
    EXPECT_EQ(picker->selectedRowInComponent(1), 1);
    EXPECT_EQ(source->selections, (std::vector<std::pair<long, long>>{{1, 1}}));
}

TEST_F(PickerTest, CodeSelectsAtOnceClampedAndTellsNobody) {
    const std::pair<long, long> cases[] = {{42, 42}, {-5, 0}, {500, 99}};
    for (const auto& [asked, got] : cases) {
        picker->selectRowInComponentAnimated(asked, 0, true);
        EXPECT_EQ(picker->selectedRowInComponent(0), got) << asked;
    }
    picker->selectRowInComponentAnimated(1, 7, false);  // no such wheel: ignored
    EXPECT_TRUE(source->selections.empty());
    EXPECT_EQ(picker->selectedRowInComponent(7), -1);
}

TEST_F(PickerTest, OnlyRowsOnScreenHaveViewsAndReloadKeepsWhatStillExists) {
    picker->selectRowInComponentAnimated(50, 0, false);
    EXPECT_TRUE(picker->viewForRowForComponent(50, 0));
    EXPECT_TRUE(picker->viewForRowForComponent(52, 0));
    EXPECT_FALSE(picker->viewForRowForComponent(60, 0)) << "beyond the drum's visible half";
    EXPECT_FALSE(picker->viewForRowForComponent(0, 0));
    source->rows0 = 10;
    picker->reloadAllComponents();
    EXPECT_EQ(picker->numberOfRowsInComponent(0), 10);
    EXPECT_EQ(picker->selectedRowInComponent(0), 9) << "a selection past the new end moves to the last row";
    EXPECT_EQ(shownTitle(0), "9");
}

TEST_F(PickerTest, AReleasedPickerIsNeverCalledByItsGlide) {
    drag(0, -60, -900);
    picker->removeFromSuperview();
    picker = nullptr;
    source->selections.clear();
    rest();
    EXPECT_TRUE(source->selections.empty());
}

TEST(ViewControllerForAncestor, AnswersTheControllerThatShowsAView) {
    auto controller = alloc<UIViewController>();
    controller->init();
    auto inner = alloc<UIView>();
    inner->initWithFrame(CGRectZero);
    auto deeper = alloc<UIView>();
    deeper->initWithFrame(CGRectZero);
    inner->addSubview(deeper);
    controller->view()->addSubview(inner);
    EXPECT_EQ(platform::viewControllerForAncestor(deeper), controller);
    EXPECT_EQ(platform::msgSend<Ref<UIViewController>>(deeper, sel("_viewControllerForAncestor")), controller);
    EXPECT_EQ(platform::viewControllerForAncestor(controller->view()), controller);
    deeper->removeFromSuperview();
    EXPECT_FALSE(platform::viewControllerForAncestor(deeper));
    EXPECT_FALSE(platform::viewControllerForAncestor(nullptr));
}

}  // namespace
