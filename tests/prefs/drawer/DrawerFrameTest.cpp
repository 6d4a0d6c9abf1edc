// The drawer frame on the pane's root page, driven by a finger through the touch driver: drags, flicks, taps,
// clamping, cancellation, and the animation's end.
#include "prefs/drawer/VNTDrawerFrameView.h"
#include "prefs/drawer/VNTDrawerView.h"

#include "platform/core/Runtime.h"
#include "platform/harness/EffectLog.h"
#include "platform/harness/TouchDriver.h"
#include "platform/ui/AnimationCenter.h"
#include "platform/ui/CAGradientLayer.h"
#include "platform/ui/CALayer.h"
#include "platform/ui/UIPanGestureRecognizer.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UITapGestureRecognizer.h"
#include "prefs/pane/VNTPrimraryController.h"
#include "tests/prefs/pane/PaneFixture.h"

#include <optional>
#include <string>
#include <vector>

namespace {

// Hears the drawer's callback, in order.
class DrawerListener : public NSObject {
    VT_OBJECT(DrawerListener, NSObject)
public:
    void drawerFrameViewDidChangeState(id drawer, bool opened) { states.push_back(opened); }
    std::vector<bool> states;
};

}  // namespace

VT_REGISTER_CLASS(DrawerListener, [](Class c) {
    platform::runtime::addMethod<&DrawerListener::drawerFrameViewDidChangeState>(c, "drawerFrameView:didChangeState:");
})

namespace {

class DrawerFrame : public panetest::PaneFixture {
protected:
    void SetUp() override {
        PaneFixture::SetUp();
        storeThemes({"Default"});
        present(makeRoot());
        settle();
        m_drawer = VNTPrimraryController::drawerView();
        ASSERT_TRUE(m_drawer);
        m_screen = UIScreen::mainScreen()->bounds().size;
        platform::clearEffectLog();
    }

    static std::size_t impacts() { return platform::effectsOfKind("impact").size(); }

    // The middle of the handle's part on screen, at the pill's height.
    CGPoint handlePoint() const {
        const CGRect handle = m_drawer->convertRectToView(m_drawer->handleView()->bounds(), m_window);
        return CGPointMake((std::max<CGFloat>(handle.minX(), 0) + std::min(handle.maxX(), m_screen.width)) / 2,
                           handle.midY());
    }

    std::vector<CGPoint> path(CGFloat dx) const {
        std::vector<CGPoint> points;
        const CGPoint from = handlePoint();
        for (int i = 0; i <= 12; ++i) points.push_back(CGPointMake(from.x + dx * i / 12, from.y));
        return points;
    }

    void drag(CGFloat dx, CGFloat velocity) {
        platform::TouchDriver(m_window).drag(path(dx), 0.6, CGPointMake(velocity, 0));
        settle();
    }

    void tapHandle() {
        platform::TouchDriver(m_window).tap(handlePoint());
        settle();
    }

    CGFloat closedX() const { return m_drawer->closedCenter().x; }
    CGFloat openedX() const { return m_drawer->openedCenter().x; }

    Ref<VNTDrawerView> m_drawer;
    CGSize m_screen;
};

TEST_F(DrawerFrame, ReleaseSnapsByTheDirectionOfTheLastMovement) {
    struct Case {
        const char* name;
        bool startOpen;
        CGFloat dx;
        CGFloat velocity;
        bool opened;
    };
    const std::vector<Case> cases{
        {"dragged fully open, flicked on to the left", false, -300, -800, true},
        {"dragged fully open, released at rest", false, -300, 0, false},
        {"a short drag left, flicked left", false, -40, -600, true},
        {"dragged left, last moved right", false, -200, 300, false},
        {"part-way, velocity exactly zero", false, -120, 0, false},
        {"open, flicked right", true, 60, 900, false},
        {"open, dragged right, last moved left", true, 150, -50, true},
        {"open, pushed further left, at rest", true, -80, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_drawer->setOpenedAnimated(c.startOpen, false);
        platform::clearEffectLog();
        drag(c.dx, c.velocity);
        EXPECT_EQ(m_drawer->isOpened(), c.opened);
        EXPECT_EQ(m_drawer->center().x, c.opened ? openedX() : closedX());
        EXPECT_EQ(m_drawer->center().y, m_screen.height / 2);
        // The end of the slide gives one light impact; the recognisers are back.
        EXPECT_EQ(platform::effectsOfKind("impact"), (std::vector<platform::EffectRecord>{{"impact", "", 0}}));
        EXPECT_TRUE(m_drawer->dragRecognizer()->isEnabled());
        EXPECT_TRUE(m_drawer->tapRecognizer()->isEnabled());
    }
}

TEST_F(DrawerFrame, ClampsAtTheOpenedCentreAndADragBackMovesAtOnce) {
    platform::TouchDriver finger(m_window);
    const CGPoint start = handlePoint();
    finger.down(start);
    finger.wait(0.05);
    finger.move(CGPointMake(start.x - 20, start.y));
    EXPECT_EQ(m_drawer->center().x, closedX()) << "the drag begins where the drawer is";
    finger.wait(0.05);
    finger.move(CGPointMake(start.x - 40, start.y));
    EXPECT_EQ(m_drawer->center().x, closedX() - 40) << "follows the finger";
    finger.wait(0.05);
    finger.move(CGPointMake(start.x - 400, start.y));
    EXPECT_EQ(m_drawer->center().x, openedX()) << "stops at the opened centre";
    EXPECT_EQ(m_drawer->dragRecognizer()->translationInView(m_window), CGPointMake(openedX() - closedX(), 0))
        << "the translation reads the clamped distance";
    finger.wait(0.05);
    finger.move(CGPointMake(start.x - 390, start.y));
    EXPECT_EQ(m_drawer->center().x, openedX() + 10) << "the first 10 points back move it";
    finger.up();
    settle();

    // Past the closed end on the other side: held at the closed centre.
    m_drawer->setOpenedAnimated(false, false);
    const CGPoint closedHandle = handlePoint();
    finger.down(closedHandle);
    finger.wait(0.05);
    finger.move(CGPointMake(closedHandle.x + 30, closedHandle.y));
    finger.wait(0.05);
    finger.move(CGPointMake(closedHandle.x + 40, closedHandle.y));
    EXPECT_EQ(m_drawer->center().x, closedX());
    finger.wait(0.05);
    finger.move(CGPointMake(closedHandle.x + 25, closedHandle.y));
    EXPECT_EQ(m_drawer->center().x, closedX() - 15);
    finger.cancel();
}

TEST_F(DrawerFrame, TapTogglesAndTogglingOffKeepsTheTapRecogniserOff) {
    tapHandle();
    EXPECT_TRUE(m_drawer->isOpened());
    EXPECT_EQ(m_drawer->center().x, openedX());
    tapHandle();
    EXPECT_FALSE(m_drawer->isOpened());
    EXPECT_EQ(impacts(), 2u);

    m_drawer->setToggleOnTap(false);
    EXPECT_FALSE(m_drawer->tapRecognizer()->isEnabled());
    tapHandle();
    EXPECT_FALSE(m_drawer->isOpened()) << "a tap does nothing";
    drag(-300, -800);
    EXPECT_TRUE(m_drawer->isOpened());
    EXPECT_FALSE(m_drawer->tapRecognizer()->isEnabled()) << "still off after the animation";
    EXPECT_TRUE(m_drawer->dragRecognizer()->isEnabled());
}

TEST_F(DrawerFrame, WithoutAnimationMovesAtOnceWithoutHapticAndCallsBackAtOnce) {
    auto listener = alloc<DrawerListener>();
    m_drawer->setDelegate(listener);
    m_drawer->setAnimate(false);
    platform::TouchDriver(m_window).tap(handlePoint());
    EXPECT_TRUE(m_drawer->isOpened());
    EXPECT_EQ(m_drawer->presentationFrame(), m_drawer->frame()) << "nothing animates";
    EXPECT_EQ(m_drawer->center().x, openedX());
    EXPECT_EQ(listener->states, std::vector<bool>{true});
    settle();
    EXPECT_EQ(impacts(), 0u);
    EXPECT_EQ(listener->states, std::vector<bool>{true});
}

TEST_F(DrawerFrame, AnimatedMoveRunsItsBlockAndCallsBackWhenItStopsEvenInterrupted) {
    auto listener = alloc<DrawerListener>();
    m_drawer->setDelegate(listener);
    m_drawer->setOpenedAnimated(true, true);
    const auto flying = platform::AnimationCenter::shared().inFlight();
    ASSERT_EQ(flying.size(), 1u);
    EXPECT_EQ(flying[0].view, m_drawer);
    EXPECT_DOUBLE_EQ(flying[0].duration, 0.2f);
    EXPECT_EQ(flying[0].curve, 2);
    EXPECT_FALSE(m_drawer->dragRecognizer()->isEnabled());
    EXPECT_FALSE(m_drawer->tapRecognizer()->isEnabled());
    EXPECT_TRUE(listener->states.empty());

    // Sent back before it arrived: the first move stops unfinished, and its end still restores the gestures,
    // gives its impact and tells the delegate, which reads the state as it is now.
    platform::RunLoop::main().advance(0.1);
    m_drawer->setOpenedAnimated(false, true);
    platform::RunLoop::main().advance(0.01);
    EXPECT_EQ(listener->states, std::vector<bool>{false});
    EXPECT_EQ(impacts(), 1u);
    settle();
    EXPECT_EQ(listener->states, (std::vector<bool>{false, false}));
    EXPECT_EQ(impacts(), 2u);
    EXPECT_EQ(m_drawer->center().x, closedX());
    // A released delegate is not called.
    listener = nullptr;
    tapHandle();
    EXPECT_TRUE(m_drawer->isOpened());
}

TEST_F(DrawerFrame, CancelledDragStaysPartWayUntilTheNextTap) {
    platform::TouchDriver(m_window).dragAndCancel(path(-100), 0.6);
    settle();
    EXPECT_FALSE(m_drawer->isOpened());
    EXPECT_EQ(m_drawer->center().x, closedX() - 100);
    EXPECT_EQ(impacts(), 0u);
    tapHandle();
    EXPECT_TRUE(m_drawer->isOpened());
    EXPECT_EQ(m_drawer->center().x, openedX());
}

TEST_F(DrawerFrame, OnlyOneFingerOnTheHandleMovesIt) {
    // A drag on the open drawer's content, off the handle.
    m_drawer->setOpenedAnimated(true, false);
    const CGPoint onContent = CGPointMake(openedX() + 60, m_screen.height - 30);
    platform::TouchDriver(m_window).drag({onContent, CGPointMake(onContent.x + 100, onContent.y),
                                          CGPointMake(onContent.x + 200, onContent.y)},
                                         0.3, CGPointMake(900, 0));
    settle();
    EXPECT_TRUE(m_drawer->isOpened());
    EXPECT_EQ(m_drawer->center().x, openedX());

    // Two fingers on the handle: neither a drag nor a tap.
    m_drawer->setOpenedAnimated(false, false);
    platform::TouchDriver finger(m_window);
    const CGPoint start = handlePoint();
    finger.down(start, 2);
    finger.wait(0.05);
    finger.move(CGPointMake(start.x - 150, start.y), CGPointMake(-900, 0));
    finger.up();
    settle();
    platform::TouchDriver(m_window).tap(handlePoint(), 1, 2);
    settle();
    EXPECT_FALSE(m_drawer->isOpened());
    EXPECT_EQ(m_drawer->center().x, closedX());
    EXPECT_EQ(impacts(), 0u);
}

TEST_F(DrawerFrame, VerticalAxisPicksItsEndsByY) {
    auto drawer = alloc<VNTDrawerFrameView>();
    drawer->initWithFrame(CGRectMake(0, 0, 200, 300));
    m_window->addSubview(drawer);
    struct Case {
        CGPoint closed, opened, min, max;
        bool vertical;
    };
    const std::vector<Case> cases{
        {{100, 600}, {100, 300}, {100, 300}, {100, 600}, true},
        {{100, 300}, {100, 600}, {100, 300}, {100, 600}, true},
        {{100, 300}, {100, 300}, {100, 300}, {100, 300}, true},
        {{300, 200}, {100, 250}, {100, 250}, {300, 200}, false},
    };
    for (const auto& c : cases) {
        drawer->setClosedCenter(c.closed);
        drawer->setOpenedCenter(c.opened);
        drawer->setOpenedAnimated(false, false);
        const CGPoint grip = drawer->convertPointToView(CGPointMake(15, 150), m_window);
        platform::TouchDriver finger(m_window);
        finger.down(grip);
        finger.wait(0.05);
        finger.move(CGPointMake(grip.x + 12, grip.y + 12));
        EXPECT_EQ(drawer->verticalAxis(), c.vertical);
        EXPECT_EQ(drawer->minPos(), c.min);
        EXPECT_EQ(drawer->maxPos(), c.max);
        finger.cancel();
    }
    drawer->removeFromSuperview();
}

TEST_F(DrawerFrame, PillCarriesTheThemeGradientOnlyWithATheme) {
    auto gradientOf = [](const Ref<UIView>& view) -> Ref<CAGradientLayer> {
        const auto& layers = view->layer()->sublayers();
        return layers.empty() ? nullptr : cast<CAGradientLayer>(layers.front());
    };
    auto themed = alloc<VNTDrawerFrameView>();
    themed->initWithFrame(CGRectMake(0, 0, 300, 600));
    ASSERT_TRUE(gradientOf(themed->pillView()));
    EXPECT_EQ(gradientOf(themed->pillView())->frame(), CGRectMake(0, 0, 8, 50));
    EXPECT_EQ(themed->pillView()->center(), CGPointMake(10, 300));
    EXPECT_EQ(themed->handleView()->frame(), CGRectMake(0, 0, 30, 600));
    EXPECT_EQ(themed->handleView()->gestureRecognizers().size(), 2u) << "both on the handle";
    EXPECT_TRUE(themed->gestureRecognizers().empty()) << "none on the whole view";

    storeThemes({});
    auto plain = alloc<VNTDrawerFrameView>();
    plain->initWithFrame(CGRectMake(0, 0, 300, 600));
    EXPECT_FALSE(gradientOf(plain->pillView()));
}

}  // namespace
