#include "platform/core/RunLoop.h"
#include "platform/core/Runtime.h"
#include "platform/harness/TouchDriver.h"
#include "platform/ui/UIScrollView.h"
#include "platform/ui/UIWindow.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class ScrollWatcher : public NSObject {
    VT_OBJECT(ScrollWatcher, NSObject)
public:
    std::vector<CGPoint> offsets;
    // Every call to any watcher, so that a test can prove a released one was never reached.
    static inline std::size_t s_allCalls = 0;
    void scrollViewDidScroll(Ref<UIScrollView> view) {
        ++s_allCalls;
        offsets.push_back(view->contentOffset());
    }
};

}  // namespace

VT_REGISTER_CLASS(ScrollWatcher, [](Class c) {
    platform::runtime::addMethod<&ScrollWatcher::scrollViewDidScroll>(c, "scrollViewDidScroll:");
})

namespace {

class ScrollTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::resetRunLoop();
        window = alloc<UIWindow>();
        window->initWithFrame(CGRectMake(0, 0, 375, 667));
        scroll = alloc<UIScrollView>();
        scroll->initWithFrame(CGRectMake(0, 0, 375, 600));
        scroll->setContentSize({375, 1500});
        watcher = alloc<ScrollWatcher>();
        scroll->setDelegate(watcher);
        window->addSubview(scroll);
    }
    Ref<UIWindow> window;
    Ref<UIScrollView> scroll;
    Ref<ScrollWatcher> watcher;
};

TEST_F(ScrollTest, DelegateHearsEveryOffsetChangeOnce) {
    for (CGFloat y : {-420.0, -370.0, -370.0, -90.0, 0.0}) scroll->setContentOffset({0, y});
    // The repeated offset is no change.
    EXPECT_EQ(watcher->offsets, (std::vector<CGPoint>{{0, -420}, {0, -370}, {0, -90}, {0, 0}}));
    EXPECT_EQ(scroll->bounds().origin, CGPointMake(0, 0));
}

TEST_F(ScrollTest, PanMovesTheContentAndSpringsBackInsideItsRange) {
    scroll->setContentInset({100, 0, 0, 0});
    scroll->setContentOffset({0, -100});
    watcher->offsets.clear();
    platform::TouchDriver driver(window);
    driver.down({200, 400});
    driver.move({200, 300});
    EXPECT_TRUE(scroll->isDragging());
    EXPECT_EQ(scroll->contentOffset(), CGPointMake(0, 0));
    driver.move({200, 500});  // past the top: rubber band while the finger holds
    EXPECT_EQ(scroll->contentOffset(), CGPointMake(0, -200));
    driver.up();
    EXPECT_EQ(scroll->contentOffset(), CGPointMake(0, -100));
    EXPECT_EQ(watcher->offsets.front(), CGPointMake(0, 0));
    EXPECT_EQ(watcher->offsets.back(), CGPointMake(0, -100));
    EXPECT_EQ(scroll->maximumContentOffset(), CGPointMake(0, 900));
}

TEST_F(ScrollTest, DisabledScrollingAndReleasedDelegates) {
    scroll->setScrollEnabled(false);
    platform::TouchDriver(window).drag({{200, 400}, {200, 100}}, 0.3);
    EXPECT_EQ(scroll->contentOffset(), CGPointMake(0, 0));
    EXPECT_FALSE(scroll->showsVerticalIndicatorNow());
    scroll->setScrollEnabled(true);
    EXPECT_TRUE(scroll->showsVerticalIndicatorNow());
    scroll->setShowsVerticalScrollIndicator(false);
    EXPECT_FALSE(scroll->showsVerticalIndicatorNow());
    // A released delegate is never called.
    Weak<ScrollWatcher> released = watcher;
    watcher.reset();
    ASSERT_TRUE(released.expired());
    EXPECT_EQ(scroll->delegate(), nullptr);
    ScrollWatcher::s_allCalls = 0;
    EXPECT_NO_THROW(scroll->setContentOffset({0, 50}));
    EXPECT_EQ(scroll->contentOffset(), CGPointMake(0, 50)) << "the offset changed, so a delegate would be told";
    EXPECT_EQ(ScrollWatcher::s_allCalls, 0u) << "a released delegate is never called";
}

}  // namespace
