// The slider as a finger and the code move it: range and clamping, tracking, the actions it sends and its look.
#include "platform/core/RunLoop.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/UIColor.h"
#include "platform/harness/TouchDriver.h"
#include "platform/ui/UISlider.h"
#include "platform/ui/UIWindow.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

std::vector<std::string> g_events;

class SliderObserver : public NSObject {
    VT_OBJECT(SliderObserver, NSObject)
public:
    void changed(id sender) { g_events.push_back("changed " + std::to_string(cast<UISlider>(sender)->value())); }
    void released() { g_events.push_back("up"); }
};

}  // namespace

VT_REGISTER_CLASS(SliderObserver, [](Class c) {
    platform::runtime::addMethod<&SliderObserver::changed>(c, "changed:");
    platform::runtime::addMethod<&SliderObserver::released>(c, "released");
})

namespace {

bool sameColour(const Ref<UIColor>& a, const Ref<UIColor>& b) { return a && b && a->isEqual(*b); }

// A slider 228 points wide: its thumb's centre travels 200 points, from x = 14 to x = 214, so a value of the
// range 0…100 sits at 14 + 2 × value.
class SliderTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::resetRunLoop();
        g_events.clear();
        window = alloc<UIWindow>();
        window->initWithFrame(CGRectMake(0, 0, 375, 667));
        slider = alloc<UISlider>();
        slider->initWithFrame(CGRectMake(20, 100, 228, UISlider::kHeight));
        slider->setMaximumValue(100);
        window->addSubview(slider);
        observer = alloc<SliderObserver>();
        slider->addTargetActionForControlEvents(observer, sel("changed:"), UIControlEventValueChanged);
        slider->addTargetActionForControlEvents(observer, sel("released"), UIControlEventTouchUpInside);
    }
    // A point of the track for a value of 0…100, in window coordinates.
    static CGPoint at(double value) { return CGPointMake(20 + 14 + 2 * value, 100 + UISlider::kHeight / 2); }
    std::size_t changes() const {
        std::size_t n = 0;
        for (const auto& e : g_events) n += e.starts_with("changed");
        return n;
    }

    Ref<UIWindow> window;
    Ref<UISlider> slider;
    Ref<SliderObserver> observer;
};

TEST_F(SliderTest, ValuesStayWithinTheRangeWhateverIsSet) {
    struct Case {
        float min, max, set;
        float expectedMin, expectedMax, expectedValue;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Case cases[] = {
        {0, 100, 42, 0, 100, 42},
        {0, 100, 140, 0, 100, 100},       // above the range: the maximum
        {0, 100, -3, 0, 100, 0},          // below: the minimum
        {10, 20, 15, 10, 20, 15},
        {0, 100, nan, 0, 100, 0},         // NaN is ignored, the value stays
        {-50, -10, -30, -50, -10, -30},   // a range below zero
    };
    for (const auto& c : cases) {
        auto s = alloc<UISlider>();
        s->initWithFrame(CGRectMake(0, 0, 200, UISlider::kHeight));
        s->setMaximumValue(c.max);
        s->setMinimumValue(c.min);
        s->setValue(c.set);
        EXPECT_EQ(s->minimumValue(), c.expectedMin) << c.set;
        EXPECT_EQ(s->maximumValue(), c.expectedMax) << c.set;
        EXPECT_EQ(s->value(), c.expectedValue) << c.set;
    }
}

TEST_F(SliderTest, CrossingBoundsMoveTheOtherBoundAndTheValue) {
    slider->setValue(60);
    slider->setMinimumValue(150);  // above the maximum: the maximum follows, the value is pulled up
    EXPECT_EQ(slider->maximumValue(), 150);
    EXPECT_EQ(slider->value(), 150);
    slider->setMaximumValue(-5);  // below the minimum: the minimum follows
    EXPECT_EQ(slider->minimumValue(), -5);
    EXPECT_EQ(slider->value(), -5);
    EXPECT_TRUE(g_events.empty()) << "setting values by code sends nothing";
}

TEST_F(SliderTest, ThumbAndFillSitWhereTheValueLies) {
    struct Case {
        float value;
        CGFloat centreX;  // in the slider, worked out from the 200-point travel
    };
    for (const auto& c : {Case{0, 14}, Case{25, 64}, Case{50, 114}, Case{100, 214}}) {
        slider->setValue(c.value);
        window->layoutIfNeeded();
        EXPECT_DOUBLE_EQ(slider->thumbCenter().x, c.centreX) << c.value;
        EXPECT_DOUBLE_EQ(slider->thumbView()->frame().midX(), c.centreX) << c.value;
        EXPECT_DOUBLE_EQ(slider->fillView()->frame().width(), c.centreX) << c.value;
        EXPECT_DOUBLE_EQ(slider->trackView()->frame().width(), 228);
        EXPECT_NEAR(slider->valueAtPoint(CGPointMake(c.centreX, 10)), c.value, 1e-4);
    }
    // Points beyond the ends of the travel are the ends.
    EXPECT_EQ(slider->valueAtPoint(CGPointMake(-40, 0)), 0);
    EXPECT_EQ(slider->valueAtPoint(CGPointMake(400, 0)), 100);
}

TEST_F(SliderTest, DraggingTheThumbSendsChangesWhileMovingThenTouchUp) {
    platform::TouchDriver(window).drag({at(0), at(20), at(40), at(60)}, 0.3);
    EXPECT_NEAR(slider->value(), 60, 1e-3);
    EXPECT_EQ(changes(), 3u) << "one change per move";
    ASSERT_FALSE(g_events.empty());
    EXPECT_EQ(g_events.back(), "up");
}

TEST_F(SliderTest, ADiscontinuousSliderSendsOneChangeAtTheEnd) {
    slider->setContinuous(false);
    platform::TouchDriver(window).drag({at(0), at(20), at(40), at(70)}, 0.3);
    EXPECT_NEAR(slider->value(), 70, 1e-3);
    EXPECT_EQ(changes(), 1u);
    EXPECT_EQ(g_events.size(), 2u);
    EXPECT_EQ(g_events.back(), "up");

    // A drag that comes back to where it started changed nothing.
    g_events.clear();
    platform::TouchDriver(window).drag({at(70), at(90), at(70)}, 0.3);
    EXPECT_EQ(changes(), 0u);
}

TEST_F(SliderTest, ATapOnTheTrackMovesTheThumbThere) {
    platform::TouchDriver(window).tap(at(80));
    EXPECT_NEAR(slider->value(), 80, 1e-3);
    EXPECT_EQ(changes(), 1u);
    EXPECT_EQ(g_events.back(), "up");
    // A tap on the thumb itself changes nothing.
    g_events.clear();
    platform::TouchDriver(window).tap(at(80));
    EXPECT_EQ(changes(), 0u);
}

TEST_F(SliderTest, ADisabledSliderIgnoresTouchesAndLooksDimmed) {
    slider->setEnabled(false);
    platform::TouchDriver(window).drag({at(0), at(50)}, 0.2);
    EXPECT_EQ(slider->value(), 0);
    EXPECT_TRUE(g_events.empty());
    EXPECT_LT(slider->alpha(), 1);
}

TEST_F(SliderTest, TheFillTakesTheTrackTintElseTheInheritedTint) {
    window->layoutIfNeeded();
    EXPECT_TRUE(sameColour(slider->fillView()->backgroundColor(), UIColor::systemBlueColor())) << "nobody set a tint";
    auto accent = UIColor::colorWithRedGreenBlueAlpha(0.6, 0.2, 0.8, 1);
    window->setTintColor(accent);
    EXPECT_EQ(slider->fillView()->backgroundColor(), accent);
    auto own = UIColor::systemOrangeColor();
    slider->setMinimumTrackTintColor(own);
    EXPECT_EQ(slider->fillView()->backgroundColor(), own);

    // A slider moved under a tinted view takes that tint at the next layout, without a tint change.
    auto other = alloc<UISlider>();
    other->initWithFrame(CGRectMake(0, 300, 200, UISlider::kHeight));
    window->addSubview(other);
    window->layoutIfNeeded();
    EXPECT_EQ(other->fillView()->backgroundColor(), accent);
}

}  // namespace
