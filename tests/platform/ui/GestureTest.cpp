#include "ViewTestSupport.h"
#include "platform/harness/TouchDriver.h"
#include "platform/ui/UIPanGestureRecognizer.h"
#include "platform/ui/UITapGestureRecognizer.h"

#include <cmath>

using namespace vtest;

// A target that records each action call with the recogniser's state, translation and velocity at that moment.
class GestureTarget : public NSObject {
    VT_OBJECT(GestureTarget, NSObject)
public:
    struct Call {
        long state;
        CGPoint translation, velocity, location;
    };
    std::vector<Call> calls;
    bool resetTranslation = false;
    // Every action call to any target, so that a test can prove a released one was never reached.
    static inline std::size_t s_allCalls = 0;
    void handle(id sender) {
        ++s_allCalls;
        auto r = cast<UIGestureRecognizer>(sender);
        Call c{r->state(), {}, {}, r->locationInView(r->view())};
        if (auto pan = cast<UIPanGestureRecognizer>(sender)) {
            c.translation = pan->translationInView(pan->view());
            c.velocity = pan->velocityInView(pan->view());
            if (resetTranslation) pan->setTranslationInView({0, 0}, pan->view());
        }
        calls.push_back(c);
    }
    std::vector<long> states() const {
        std::vector<long> out;
        for (const auto& c : calls) out.push_back(c.state);
        return out;
    }
};

// A view that logs the touch messages it receives, and optionally refuses recognisers of its ancestors, as a
// control does for its own taps.
class TouchLogView : public UIView {
    VT_OBJECT(TouchLogView, UIView)
public:
    std::vector<std::string> log;
    bool refuseAncestors = false;
    void touchesBeganWithEvent(UITouchSet, id) override { log.push_back("began"); }
    void touchesMovedWithEvent(UITouchSet, id) override { log.push_back("moved"); }
    void touchesEndedWithEvent(UITouchSet, id) override { log.push_back("ended"); }
    void touchesCancelledWithEvent(UITouchSet, id) override { log.push_back("cancelled"); }
    bool gestureRecognizerShouldBegin(Ref<UIGestureRecognizer> r) override {
        return !(refuseAncestors && r->view().get() != this);
    }
};

VT_REGISTER_CLASS(GestureTarget, [](Class c) { platform::runtime::addMethod<&GestureTarget::handle>(c, "handle:"); })
VT_REGISTER_CLASS(TouchLogView)

namespace {

class Gestures : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        window = makeWindow(CGRectMake(0, 0, 300, 600));
        card = makeView(CGRectMake(50, 100, 200, 120));
        window->addSubview(card);
        target = alloc<GestureTarget>();
    }
    template <class R>
    Ref<R> attach(const Ref<UIView>& view) {
        auto r = alloc<R>();
        r->initWithTargetAction(target, sel("handle:"));
        view->addGestureRecognizer(r);
        return r;
    }
    Ref<TestWindow> window;
    Ref<UIView> card;
    Ref<GestureTarget> target;
};

TEST_F(Gestures, TapRecognisesOnceEndedInsideTheSubtreeOnly) {
    auto tap = attach<UITapGestureRecognizer>(card);
    auto inner = makeView(CGRectMake(10, 10, 50, 50));
    card->addSubview(inner);
    platform::TouchDriver touch(window);
    EXPECT_EQ(touch.tap({80, 130}), inner) << "the hit view is the inner one";
    EXPECT_EQ(target->states(), (std::vector<long>{UIGestureRecognizerStateEnded})) << "a subview's touch counts";
    EXPECT_EQ(tap->state(), UIGestureRecognizerStatePossible) << "reset after the gesture";
    EXPECT_EQ(target->calls[0].location, CGPointMake(30, 30));
    touch.tap({10, 10});
    EXPECT_EQ(target->calls.size(), 1u) << "outside the card";
    tap->setEnabled(false);
    touch.tap({80, 130});
    EXPECT_EQ(target->calls.size(), 1u) << "disabled recognisers get nothing";
}

TEST_F(Gestures, TapFailsOnMovementWrongFingersAndReleasedTargets) {
    auto tap = attach<UITapGestureRecognizer>(card);
    platform::TouchDriver touch(window);
    touch.drag({{100, 150}, {100, 165}}, 0.1);
    EXPECT_TRUE(target->calls.empty()) << "moved 15 points: not a tap";
    tap->setNumberOfTouchesRequired(2);
    touch.tap({100, 150});
    EXPECT_TRUE(target->calls.empty()) << "one finger where two are required";
    touch.tap({100, 150}, 1, 2);
    EXPECT_EQ(target->calls.size(), 1u);

    tap->setNumberOfTouchesRequired(1);
    tap->setNumberOfTapsRequired(2);
    touch.tap({100, 150});
    EXPECT_EQ(target->calls.size(), 1u) << "waiting for the second tap";
    touch.wait(0.1);
    touch.tap({102, 151});
    EXPECT_EQ(target->calls.size(), 2u) << "double tap";
    touch.tap({100, 150});
    touch.wait(0.5);
    touch.tap({100, 150});
    EXPECT_EQ(target->calls.size(), 2u) << "too slow: the second tap starts over";

    tap->setNumberOfTapsRequired(1);
    Weak<GestureTarget> released = target;
    target.reset();  // the recogniser holds its target weakly
    ASSERT_TRUE(released.expired());
    GestureTarget::s_allCalls = 0;
    EXPECT_NO_THROW(touch.tap({100, 150}));
    EXPECT_EQ(GestureTarget::s_allCalls, 0u) << "a released target is never called";
}

TEST_F(Gestures, PanStatesTranslationResetAndVelocity) {
    auto pan = attach<UIPanGestureRecognizer>(card);
    platform::TouchDriver touch(window);
    touch.down({100, 150});
    touch.wait(0.1);
    touch.move({104, 150});
    EXPECT_TRUE(target->calls.empty()) << "below the 10-point threshold";
    touch.wait(0.1);
    touch.move({120, 150});
    touch.wait(0.1);
    touch.move({140, 160});
    touch.wait(0.1);
    touch.move({150, 160}, CGPoint{0, 0});
    touch.up();
    ASSERT_EQ(target->states(), (std::vector<long>{UIGestureRecognizerStateBegan, UIGestureRecognizerStateChanged,
                                                   UIGestureRecognizerStateChanged, UIGestureRecognizerStateEnded}));
    EXPECT_EQ(target->calls[0].translation, CGPointMake(20, 0)) << "measured from touch-down";
    EXPECT_EQ(target->calls[1].translation, CGPointMake(40, 10));
    // (140,160) - (120,150) over 0.1 s
    EXPECT_NEAR(target->calls[1].velocity.x, 200, 1e-3);  // the clock's resolution
    EXPECT_NEAR(target->calls[1].velocity.y, 100, 1e-3);
    EXPECT_EQ(target->calls[3].velocity, CGPointMake(0, 0)) << "a zero-velocity release";
    EXPECT_EQ(target->calls[3].translation, CGPointMake(50, 10));
    EXPECT_EQ(pan->state(), UIGestureRecognizerStatePossible);
}

TEST_F(Gestures, TranslationResetMakesEachCallIncremental) {
    attach<UIPanGestureRecognizer>(card);
    target->resetTranslation = true;
    platform::TouchDriver touch(window);
    touch.drag({{100, 150}, {115, 150}, {130, 155}, {131, 160}}, 0.3, CGPoint{-800, 0});
    ASSERT_EQ(target->calls.size(), 4u);
    EXPECT_EQ(target->calls[0].translation, CGPointMake(15, 0));
    EXPECT_EQ(target->calls[1].translation, CGPointMake(15, 5));
    EXPECT_EQ(target->calls[2].translation, CGPointMake(1, 5));
    EXPECT_EQ(target->calls[3].translation, CGPointMake(0, 0)) << "nothing moved since the last reset";
    EXPECT_EQ(target->calls[3].velocity, CGPointMake(-800, 0)) << "the requested final velocity";
}

TEST_F(Gestures, TranslationInARotatedViewUsesItsDirections) {
    auto pan = attach<UIPanGestureRecognizer>(card);
    card->setTransform(CGAffineTransformMakeRotation(M_PI));
    platform::TouchDriver touch(window);
    touch.down({150, 160});
    touch.move({170, 160});
    CGPoint inCard = pan->translationInView(card);
    EXPECT_NEAR(inCard.x, -20, 1e-9);
    EXPECT_NEAR(inCard.y, 0, 1e-9);
    EXPECT_EQ(pan->translationInView(window), CGPointMake(20, 0));
    touch.up();
}

TEST_F(Gestures, CancelAndFailure) {
    attach<UIPanGestureRecognizer>(card);
    platform::TouchDriver touch(window);
    touch.dragAndCancel({{100, 150}, {130, 150}}, 0.1);
    EXPECT_EQ(target->states(), (std::vector<long>{UIGestureRecognizerStateBegan, UIGestureRecognizerStateCancelled}));
    target->calls.clear();
    touch.drag({{100, 150}, {103, 150}}, 0.1);
    EXPECT_TRUE(target->calls.empty()) << "lifted before it began: failed, no action";
}

TEST_F(Gestures, OneRecogniserWinsAndTheViewLosesTheTouch) {
    auto view = alloc<TouchLogView>();
    view->initWithFrame(CGRectMake(0, 0, 100, 100));
    card->addSubview(view);
    auto tap = attach<UITapGestureRecognizer>(card);
    auto pan = attach<UIPanGestureRecognizer>(card);
    platform::TouchDriver touch(window);

    touch.drag({{60, 110}, {90, 110}, {100, 110}}, 0.2);
    EXPECT_EQ(target->states(), (std::vector<long>{UIGestureRecognizerStateBegan, UIGestureRecognizerStateChanged,
                                                   UIGestureRecognizerStateEnded}))
        << "the pan won, the tap failed";
    EXPECT_EQ(view->log, (std::vector<std::string>{"began", "cancelled"}));

    view->log.clear();
    target->calls.clear();
    touch.tap({60, 110});
    EXPECT_EQ(target->states(), (std::vector<long>{UIGestureRecognizerStateEnded}));
    EXPECT_EQ(view->log, (std::vector<std::string>{"began", "cancelled"})) << "recognised at touch-up";

    // No recogniser: the view gets the plain sequence.
    card->removeGestureRecognizer(tap);
    card->removeGestureRecognizer(pan);
    view->log.clear();
    touch.drag({{60, 110}, {70, 110}}, 0.1);
    EXPECT_EQ(view->log, (std::vector<std::string>{"began", "moved", "ended"}));

    // A control-like view keeps its taps from the card's recogniser.
    card->addGestureRecognizer(tap);
    view->refuseAncestors = true;
    view->log.clear();
    target->calls.clear();
    touch.tap({60, 110});
    EXPECT_TRUE(target->calls.empty());
    EXPECT_EQ(view->log, (std::vector<std::string>{"began", "ended"}));
}

}  // namespace
