#include "ViewTestSupport.h"
#include "platform/gfx/UIColor.h"
#include "platform/ui/CAGradientLayer.h"
#include "platform/ui/CAShapeLayer.h"
#include "platform/ui/UIBezierPath.h"

using namespace vtest;

namespace {

class Layers : public ViewTest {};

TEST_F(Layers, RoundedRectByCornersRoundsOnlyThoseCorners) {
    struct Case {
        unsigned long corners;
        CGSize radii;
        // Probes just inside each corner of a 100 x 60 rectangle: top-left, top-right, bottom-left, bottom-right.
        bool inside[4];
    };
    const Case cases[] = {
        {UIRectCornerTopLeft | UIRectCornerTopRight, {30, 30}, {false, false, true, true}},
        {UIRectCornerTopLeft | UIRectCornerBottomLeft, {20, 20}, {false, true, false, true}},
        {UIRectCornerAllCorners, {10, 10}, {false, false, false, false}},
        {0, {30, 30}, {true, true, true, true}},
    };
    const CGPoint probes[4] = {{1, 1}, {99, 1}, {1, 59}, {99, 59}};
    for (const auto& c : cases) {
        auto path = UIBezierPath::bezierPathWithRoundedRectByRoundingCornersCornerRadii(CGRectMake(0, 0, 100, 60),
                                                                                     c.corners, c.radii);
        EXPECT_EQ(path->roundedCorners(), c.corners);
        EXPECT_EQ(path->cornerRadii(), c.radii);
        expectRect(path->bounds(), CGRectMake(0, 0, 100, 60), "bounds");
        EXPECT_TRUE(path->containsPoint({50, 30})) << "centre, corners " << c.corners;
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(path->containsPoint(probes[i]), c.inside[i]) << "corners " << c.corners << " probe " << i;
    }
    auto oval = UIBezierPath::bezierPathWithOvalInRect(CGRectMake(0, 0, 20, 20));
    EXPECT_TRUE(oval->containsPoint({10, 10}));
    EXPECT_FALSE(oval->containsPoint({1, 1}));
}

TEST_F(Layers, SublayersMasksAndGradients) {
    auto view = makeView(CGRectMake(0, 0, 200, 100));
    auto layer = view->layer();
    auto a = CALayer::layer(), b = CALayer::layer();
    layer->addSublayer(a);
    layer->insertSublayerAtIndex(b, 0);  // the theme gradient goes under
    ASSERT_EQ(layer->sublayers().size(), 2u);
    EXPECT_EQ(layer->sublayers()[0], b);
    a->removeFromSuperlayer();
    EXPECT_EQ(layer->sublayers().size(), 1u);
    EXPECT_EQ(a->superlayer(), nullptr);

    auto gradient = CAGradientLayer::layer();
    gradient->setColors({UIColor::whiteColor()->CGColor(), UIColor::blackColor()->CGColor()});
    gradient->setStartPoint({0, 0});
    gradient->setEndPoint({1, 1});
    gradient->setFrame(view->bounds());
    layer->insertSublayerAtIndex(gradient, 0);
    EXPECT_EQ(gradient->frame(), CGRectMake(0, 0, 200, 100));
    EXPECT_EQ(gradient->colors().size(), 2u);

    auto mask = CAShapeLayer::layer();
    mask->setPath(UIBezierPath::bezierPathWithRoundedRectByRoundingCornersCornerRadii(
        view->bounds(), UIRectCornerTopLeft | UIRectCornerTopRight, {30, 30}));
    layer->setMask(mask);
    EXPECT_EQ(cast<CAShapeLayer>(layer->mask())->path()->roundedCorners(), 3u);

    layer->setCornerRadius(15);
    layer->setCornerCurve(kCACornerCurveContinuous);
    layer->setMaskedCorners(kCALayerMinXMinYCorner | kCALayerMinXMaxYCorner | 64);
    EXPECT_EQ(layer->maskedCorners(), 5u) << "only the four corner bits are kept";
    EXPECT_EQ(layer->cornerCurve(), "continuous");
}

TEST_F(Layers, ScreenProfilesAreReadFresh) {
    struct Case {
        const char* name;
        CGSize size;
        CGFloat scale;
    };
    const Case cases[] = {{"iphone-8", {375, 667}, 2}, {"iphone-8-plus", {414, 736}, 3},
                          {"iphone-x", {375, 812}, 3}, {"iphone-xr", {414, 896}, 2},
                          {"iphone-12", {390, 844}, 3}};
    auto screen = UIScreen::mainScreen();
    for (const auto& c : cases) {
        ASSERT_TRUE(UIScreen::setDeviceProfile(c.name));
        EXPECT_EQ(screen->bounds(), (CGRect{{0, 0}, c.size})) << c.name;
        EXPECT_EQ(screen->scale(), c.scale) << c.name;
        EXPECT_EQ(screen->nativeBounds().size, CGSizeMake(c.size.width * c.scale, c.size.height * c.scale));
    }
    EXPECT_FALSE(UIScreen::setDeviceProfile("iphone-3g"));
    EXPECT_EQ(screen->bounds().size, CGSizeMake(390, 844)) << "an unknown name changes nothing";
}

}  // namespace
