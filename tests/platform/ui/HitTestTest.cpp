#include "ViewTestSupport.h"
#include "platform/ui/CALayer.h"

#include <cmath>

using namespace vtest;

namespace {

class HitTest : public ViewTest {
protected:
    Ref<UIView> child(const Ref<UIView>& parent, long tag, CGRect frame) {
        auto v = makeView(frame);
        v->setTag(tag);
        parent->addSubview(v);
        return v;
    }
    long hitTag(CGPoint p) {
        auto hit = window->hitTest(p);
        return hit ? hit->tag() : -1;
    }
    Ref<UIView> window = makeWindow(CGRectMake(0, 0, 300, 300));
};

TEST_F(HitTest, OverlapHiddenAlphaInteractionAndZPosition) {
    window->setTag(100);
    auto back = child(window, 1, CGRectMake(0, 0, 200, 200));
    auto front = child(window, 2, CGRectMake(100, 100, 200, 200));
    auto inner = child(back, 3, CGRectMake(10, 10, 50, 50));

    struct Step {
        const char* what;
        std::function<void()> change;
        CGPoint point;
        long expected;
    };
    const Step steps[] = {
        {"later sibling on top", [] {}, {150, 150}, 2},
        {"only the back view there", [] {}, {50, 150}, 1},
        {"deepest view", [] {}, {20, 20}, 3},
        {"outside everything but the window", [] {}, {250, 20}, 100},
        {"outside the window", [] {}, {350, 20}, -1},
        {"z-position lifts the back view", [&] { back->layer()->setZPosition(10); }, {150, 150}, 1},
        {"hidden views are skipped", [&] { back->setHidden(true); }, {150, 150}, 2},
        {"nearly transparent views are skipped",
         [&] {
             back->setHidden(false);
             back->setAlpha(0.009);
         },
         {150, 150}, 2},
        {"alpha 0.01 still counts", [&] { back->setAlpha(0.01); }, {150, 150}, 1},
        {"no interaction: the subtree is skipped", [&] { back->setUserInteractionEnabled(false); }, {20, 20}, 100},
    };
    for (const auto& s : steps) {
        s.change();
        EXPECT_EQ(hitTag(s.point), s.expected) << s.what;
    }
}

TEST_F(HitTest, ClippingDecidesWhetherOverhangingSubviewsAreReached) {
    auto box = child(window, 1, CGRectMake(0, 0, 100, 100));
    child(box, 2, CGRectMake(80, 80, 60, 60));  // hangs out of the box
    EXPECT_EQ(hitTag({120, 120}), 2) << "drawn outside the box, so hit there";
    box->setClipsToBounds(true);
    EXPECT_EQ(hitTag({120, 120}), 0) << "clipped away: the window itself";
    EXPECT_EQ(hitTag({90, 90}), 2);
}

TEST_F(HitTest, TransformedViewsAreHitWhereTheyAreDrawn) {
    auto bar = child(window, 1, CGRectMake(100, 140, 100, 20));  // a wide, low bar around (150, 150)
    EXPECT_EQ(hitTag({150, 110}), 0);
    bar->setTransform(CGAffineTransformMakeRotation(M_PI / 2));  // now tall and narrow
    EXPECT_EQ(hitTag({150, 110}), 1);
    EXPECT_EQ(hitTag({110, 150}), 0);
}

}  // namespace
