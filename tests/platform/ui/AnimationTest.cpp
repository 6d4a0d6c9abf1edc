#include "ViewTestSupport.h"
#include "platform/ui/CABasicAnimation.h"
#include "platform/ui/CALayer.h"

#include <cmath>

using namespace vtest;

// The delegate of the begin/commit form and of basic animations.
class AnimationListener : public NSObject {
    VT_OBJECT(AnimationListener, NSObject)
public:
    std::vector<bool> stops;
    std::vector<void*> contexts;
    std::vector<std::string> basicStops;
    // Every did-stop call to any listener, so that a test can prove a released one was never reached.
    static inline std::size_t s_allStops = 0;
    void animationDidStopFinishedContext(id animationID, bool finished, void* context) {
        ++s_allStops;
        stops.push_back(finished);
        contexts.push_back(context);
    }
    void animationDidStopFinished(Ref<CABasicAnimation> anim, bool finished) {
        basicStops.push_back(anim->keyPath() + (finished ? " finished" : " interrupted"));
    }
};
VT_REGISTER_CLASS(AnimationListener, [](Class c) {
    platform::runtime::addMethod<&AnimationListener::animationDidStopFinishedContext>(
        c, "animationDidStop:finished:context:");
    platform::runtime::addMethod<&AnimationListener::animationDidStopFinished>(c, "animationDidStop:finished:");
})

namespace {

class Animations : public ViewTest {
protected:
    void advance(double s) { platform::RunLoop::main().advance(s); }
    platform::AnimationCenter& center() { return platform::AnimationCenter::shared(); }
};

TEST_F(Animations, BlockModelAtOncePresentationOverTimeCompletionAtTheEnd) {
    auto view = makeView(CGRectMake(0, 0, 100, 100));
    std::vector<bool> completions;
    UIView::animateWithDurationAnimationsCompletion(
        0.2,
        [&] {
            view->setAlpha(0);
            view->setFrame(CGRectMake(100, 0, 100, 100));
        },
        [&](bool finished) { completions.push_back(finished); });
    EXPECT_EQ(view->alpha(), 0) << "the model is final at once";
    EXPECT_EQ(view->frame(), CGRectMake(100, 0, 100, 100));
    auto flying = center().inFlight();
    ASSERT_EQ(flying.size(), 2u);
    EXPECT_EQ(flying[0].keyPath, "opacity");
    EXPECT_EQ(flying[0].view, view);
    EXPECT_DOUBLE_EQ(flying[0].duration, 0.2);
    EXPECT_EQ(flying[1].keyPath, "position");
    EXPECT_EQ(view->layer()->animationKeys(), (std::vector<std::string>{"opacity", "position"}));

    advance(0.1);
    // The default curve is symmetric: half the change at half the time.
    EXPECT_NEAR(view->presentationAlpha(), 0.5, 1e-5);  // the clock's resolution
    EXPECT_NEAR(view->presentationFrame().minX(), 50, 1e-3);
    EXPECT_TRUE(completions.empty());
    advance(0.1);
    EXPECT_EQ(completions, (std::vector<bool>{true}));
    EXPECT_EQ(center().inFlightCount(), 0u);
    EXPECT_EQ(view->presentationAlpha(), 0);
}

TEST_F(Animations, CurvesAtAQuarter) {
    struct Case {
        long curve;
        double expected;  // progress at t = 0.25
    };
    const Case cases[] = {{UIViewAnimationCurveLinear, 0.25},
                          {UIViewAnimationCurveEaseIn, 0.0625},
                          {UIViewAnimationCurveEaseOut, 0.4375},
                          {UIViewAnimationCurveEaseInOut, 0.15625}};
    for (const auto& c : cases) EXPECT_NEAR(animationCurveProgress(c.curve, 0.25), c.expected, 1e-12) << c.curve;
    EXPECT_EQ(animationCurveProgress(UIViewAnimationCurveEaseOut, 2), 1) << "clamped";
}

TEST_F(Animations, InterruptionFinishesNoAndStartsFromWhatIsShown) {
    auto view = makeView(CGRectMake(0, 0, 10, 10));
    std::vector<bool> first, second;
    UIView::animateWithDurationAnimationsCompletion(
        0.4, [&] { view->setAlpha(0); }, [&](bool f) { first.push_back(f); });
    advance(0.2);
    double shown = view->presentationAlpha();
    UIView::animateWithDurationAnimationsCompletion(
        0.4, [&] { view->setAlpha(1); }, [&](bool f) { second.push_back(f); });
    ASSERT_EQ(center().inFlightCount(), 1u);
    EXPECT_NEAR(center().inFlight()[0].from[0], shown, 1e-9);
    advance(0.01);
    EXPECT_EQ(first, (std::vector<bool>{false}));
    advance(0.4);
    EXPECT_EQ(second, (std::vector<bool>{true}));
}

TEST_F(Animations, NothingToAnimateOrWithoutAnimationCompletesOnTheNextTurn) {
    auto view = makeView();
    std::vector<bool> done;
    UIView::animateWithDurationAnimationsCompletion(0.3, [] {}, [&](bool f) { done.push_back(f); });
    EXPECT_TRUE(done.empty()) << "never synchronously";
    platform::RunLoop::main().drain();
    EXPECT_EQ(done, (std::vector<bool>{true}));
    UIView::performWithoutAnimation([&] {
        UIView::animateWithDurationAnimations(0.3, [&] { view->setAlpha(0.5); });
    });
    EXPECT_EQ(center().inFlightCount(), 0u);
    EXPECT_EQ(view->presentationAlpha(), 0.5);
}

TEST_F(Animations, BeginCommitWithDelegateAndDidStopSelector) {
    auto view = makeView(CGRectMake(0, 0, 50, 50));
    auto listener = alloc<AnimationListener>();
    int context = 0;
    UIView::beginAnimationsContext(nullptr, &context);
    UIView::setAnimationDuration(0.3);
    UIView::setAnimationCurve(UIViewAnimationCurveEaseOut);
    UIView::setAnimationDelegate(listener);
    UIView::setAnimationDidStopSelector(sel("animationDidStop:finished:context:"));
    view->setCenter({100, 25});
    UIView::commitAnimations();
    ASSERT_EQ(center().inFlightCount(), 1u);
    EXPECT_EQ(center().inFlight()[0].curve, UIViewAnimationCurveEaseOut);
    EXPECT_DOUBLE_EQ(center().inFlight()[0].duration, 0.3);
    advance(0.15);
    // ease-out at half time: 0.75 of the way from 25 to 100
    EXPECT_NEAR(view->presentationFrame().midX(), 25 + 0.75 * 75, 1e-3);
    EXPECT_TRUE(listener->stops.empty());
    advance(0.15);
    EXPECT_EQ(listener->stops, (std::vector<bool>{true}));
    EXPECT_EQ(listener->contexts, (std::vector<void*>{&context}));

    // A released delegate is not called.
    UIView::beginAnimationsContext();
    UIView::setAnimationDelegate(listener);
    UIView::setAnimationDidStopSelector(sel("animationDidStop:finished:context:"));
    view->setAlpha(0.2);
    UIView::commitAnimations();
    Weak<AnimationListener> released = listener;
    listener.reset();
    ASSERT_TRUE(released.expired());
    AnimationListener::s_allStops = 0;
    EXPECT_NO_THROW(advance(1));
    EXPECT_EQ(AnimationListener::s_allStops, 0u) << "a released delegate is never called";
}

TEST_F(Animations, BasicAnimationOnALayerKey) {
    auto view = makeView(CGRectMake(0, 0, 50, 50));
    auto listener = alloc<AnimationListener>();
    auto show = CABasicAnimation::animationWithKeyPath("borderWidth");
    show->setFromValue(0.0);
    show->setToValue(3.0);
    show->setDuration(0.1);
    show->setDelegate(listener);
    view->layer()->addAnimationForKey(show, "Show Border");
    view->layer()->setBorderWidth(3);  // the model is the caller's to set
    EXPECT_EQ(view->layer()->animationKeys(), (std::vector<std::string>{"Show Border"}));
    EXPECT_EQ(view->layer()->animationForKey("Show Border"), show);
    advance(0.05);
    EXPECT_NEAR(*view->layer()->presentationValue("borderWidth"), 1.5, 1e-5);
    EXPECT_EQ(view->layer()->borderWidth(), 3);

    // Replacing under another key runs both; removing interrupts.
    auto hide = CABasicAnimation::animationWithKeyPath("borderWidth");
    hide->setToValue(0.0);
    hide->setDuration(0.1);
    hide->setDelegate(listener);
    view->layer()->addAnimationForKey(hide, "Hide Border");
    view->layer()->removeAnimationForKey("Show Border");
    advance(0.01);
    EXPECT_EQ(listener->basicStops, (std::vector<std::string>{"borderWidth interrupted"}));
    advance(0.1);
    EXPECT_EQ(listener->basicStops, (std::vector<std::string>{"borderWidth interrupted", "borderWidth finished"}));
    EXPECT_TRUE(view->layer()->animationKeys().empty());
    EXPECT_EQ(*view->layer()->presentationValue("borderWidth"), 3) << "back to the model";
    EXPECT_FALSE(view->layer()->presentationValue("noSuchKey").has_value());
}

}  // namespace
