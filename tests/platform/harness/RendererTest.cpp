#include "platform/harness/Renderer.h"

#include "platform/core/Clock.h"
#include "platform/core/RunLoop.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/GraphicsContext.h"
#include "platform/gfx/Painter.h"
#include "platform/gfx/UIColor.h"
#include "platform/ui/CAGradientLayer.h"
#include "platform/ui/CALayer.h"
#include "platform/ui/CAShapeLayer.h"
#include "platform/ui/UIBezierPath.h"
#include "platform/ui/UIScreen.h"
#include "tests/support/DashboardFixture.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Renderer fixtures draw at one pixel per point on small canvases so pixels can be named.
class RendererPixels : public ::testing::Test {
protected:
    Ref<UIView> view(CGRect frame, Ref<UIColor> background = nullptr, const Ref<UIView>& parent = nullptr) {
        auto v = alloc<UIView>();
        v->initWithFrame(frame);
        if (background) v->setBackgroundColor(std::move(background));
        if (parent) parent->addSubview(v);
        return v;
    }
    static Ref<UIColor> rgb(double r, double g, double b, double a = 1) {
        return UIColor::colorWithRedGreenBlueAlpha(r, g, b, a);
    }
    static PixelRGBA px(const Bitmap& b, int x, int y) { return unpackPixel(b.at(x, y)); }
    static constexpr PixelRGBA kRed{255, 0, 0, 255}, kBlue{0, 0, 255, 255}, kWhite{255, 255, 255, 255}, kNone{};
};

TEST_F(RendererPixels, ClippingParentKeepsItsChildInsideAndOthersSpill) {
    auto root = view({{0, 0}, {20, 10}}, UIColor::whiteColor());
    auto clipping = view({{0, 0}, {10, 10}}, nullptr, root);
    clipping->setClipsToBounds(true);
    view({{5, 5}, {10, 10}}, rgb(1, 0, 0), clipping);     // half outside its clipping parent
    auto open = view({{10, 0}, {10, 5}}, nullptr, root);
    view({{0, 0}, {10, 10}}, rgb(0, 0, 1), open);         // spills below an unclipped parent
    Bitmap b = platform::harness::renderView(root, {.scale = 1});
    EXPECT_EQ(px(b, 7, 7), kRed);
    EXPECT_EQ(px(b, 9, 9), kRed);
    EXPECT_EQ(px(b, 4, 4), kWhite);
    EXPECT_EQ(px(b, 12, 8), kBlue) << "an unclipped child shows outside its parent";
    EXPECT_EQ(px(b, 10, 7), kBlue) << "the clipped child does not reach past x = 10";
}

TEST_F(RendererPixels, AlphaFadesTheWholeSubtreeOnce) {
    auto root = view({{0, 0}, {4, 1}}, UIColor::whiteColor());
    auto faded = view({{0, 0}, {4, 1}}, rgb(0, 0, 0), root);
    view({{0, 0}, {2, 1}}, rgb(0, 0, 0), faded);  // overlapping black child: no darker than its parent
    faded->setAlpha(0.5);
    Bitmap b = platform::harness::renderView(root, {.scale = 1});
    for (int x = 0; x < 4; ++x) EXPECT_EQ(px(b, x, 0), (PixelRGBA{127, 127, 127, 255})) << x;
    faded->setAlpha(0);
    EXPECT_EQ(px(platform::harness::renderView(root, {.scale = 1}), 0, 0), kWhite);
}

TEST_F(RendererPixels, HiddenViewsAndTheirSubtreesAreSkipped) {
    auto root = view({{0, 0}, {2, 1}}, UIColor::whiteColor());
    auto hidden = view({{0, 0}, {2, 1}}, rgb(1, 0, 0), root);
    view({{1, 0}, {1, 1}}, rgb(0, 0, 1), hidden);
    hidden->setHidden(true);
    Bitmap b = platform::harness::renderView(root, {.scale = 1});
    EXPECT_EQ(px(b, 0, 0), kWhite);
    EXPECT_EQ(px(b, 1, 0), kWhite);
}

TEST_F(RendererPixels, CornersBordersAndMaskedCorners) {
    auto root = view({{0, 0}, {40, 20}});
    auto all = view({{0, 0}, {20, 20}}, rgb(0, 0, 1), root);
    all->layer()->setCornerRadius(8);
    all->layer()->setBorderWidth(2);
    all->layer()->setBorderColor(UIColor::colorWithRedGreenBlueAlpha(1, 0, 0, 1)->CGColor());
    auto top = view({{20, 0}, {20, 20}}, rgb(0, 0, 1), root);
    top->layer()->setCornerRadius(8);
    top->layer()->setMaskedCorners(kCALayerMinXMinYCorner | kCALayerMaxXMinYCorner);
    Bitmap b = platform::harness::renderView(root, {.scale = 1});
    EXPECT_EQ(px(b, 0, 0), kNone);
    EXPECT_EQ(px(b, 19, 19), kNone);
    EXPECT_EQ(px(b, 10, 0), kRed) << "border on the edge";
    EXPECT_EQ(px(b, 10, 1), kRed);
    EXPECT_EQ(px(b, 10, 2), kBlue) << "background inside the border";
    EXPECT_EQ(px(b, 20, 0), kNone);
    EXPECT_EQ(px(b, 39, 0), kNone);
    EXPECT_EQ(px(b, 20, 19), kBlue) << "unmasked corners stay square";
    EXPECT_EQ(px(b, 39, 19), kBlue);
}

TEST_F(RendererPixels, BorderIsDrawnAboveSubviews) {
    auto root = view({{0, 0}, {10, 10}});
    root->layer()->setBorderWidth(1);  // no colour: the device's opaque black
    view({{0, 0}, {10, 10}}, rgb(0, 0, 1), root);
    Bitmap b = platform::harness::renderView(root, {.scale = 1});
    EXPECT_EQ(px(b, 0, 5), (PixelRGBA{0, 0, 0, 255}));
    EXPECT_EQ(px(b, 5, 5), kBlue);
}

TEST_F(RendererPixels, MaskLayerKeepsOnlyItsPath) {
    auto root = view({{0, 0}, {10, 10}}, rgb(1, 0, 0));
    auto mask = CAShapeLayer::layer();
    mask->setFrame({{0, 0}, {10, 10}});
    mask->setPath(UIBezierPath::bezierPathWithRect({{0, 0}, {5, 10}}));
    root->layer()->setMask(mask);
    Bitmap b = platform::harness::renderView(root, {.scale = 1});
    EXPECT_EQ(px(b, 2, 5), kRed);
    EXPECT_EQ(px(b, 7, 5), kNone);
}

TEST_F(RendererPixels, GradientSublayerFillsItsFrameBelowSubviews) {
    auto root = view({{0, 0}, {100, 10}});
    auto gradient = CAGradientLayer::layer();
    gradient->setFrame({{0, 0}, {100, 10}});
    gradient->setColors({UIColor::colorWithRedGreenBlueAlpha(1, 0, 0, 1)->CGColor(),
                         UIColor::colorWithRedGreenBlueAlpha(0, 0, 1, 1)->CGColor()});
    gradient->setStartPoint({0, 0.5});
    gradient->setEndPoint({1, 0.5});
    root->layer()->insertSublayerAtIndex(gradient, 0);
    view({{90, 0}, {10, 10}}, UIColor::whiteColor(), root);
    Bitmap b = platform::harness::renderView(root, {.scale = 1});
    EXPECT_GE(px(b, 0, 5).r, 250);
    EXPECT_NEAR(px(b, 50, 5).r, 127, 3);
    EXPECT_NEAR(px(b, 50, 5).b, 127, 3);
    EXPECT_EQ(px(b, 95, 5), kWhite);
}

TEST_F(RendererPixels, TransformsRotateAroundTheCentre) {
    auto root = view({{0, 0}, {10, 10}});
    auto rotated = view({{0, 0}, {10, 10}}, nullptr, root);
    view({{0, 0}, {5, 10}}, rgb(1, 0, 0), rotated);  // left half
    rotated->setTransform(CGAffineTransformMakeRotation(M_PI));
    Bitmap b = platform::harness::renderView(root, {.scale = 1});
    EXPECT_EQ(px(b, 2, 5).a, 0);
    EXPECT_EQ(px(b, 7, 5), kRed);
}

// A view that draws itself, recording what the renderer handed it.
class SelfDrawingView : public UIView {
public:
    bool drawsContent() const override { return true; }
    void drawRect(CGRect rect) override {
        seenRect = rect;
        Painter* p = UIGraphicsGetCurrentContext();
        sawPainter = p != nullptr;
        if (p) p->fillEllipse(rect, PaintColor{0, 0, 1, 1});
    }
    CGRect seenRect;
    bool sawPainter = false;
};

TEST_F(RendererPixels, ViewsThatDrawThemselvesGetThePainterAndTheirBounds) {
    auto root = view({{0, 0}, {30, 30}}, UIColor::whiteColor());
    auto drawn = alloc<SelfDrawingView>();
    drawn->initWithFrame({{10, 10}, {20, 20}});
    root->addSubview(drawn);
    Bitmap b = platform::harness::renderView(root, {.scale = 1});
    EXPECT_TRUE(drawn->sawPainter);
    EXPECT_EQ(drawn->seenRect, (CGRect{{0, 0}, {20, 20}}));
    EXPECT_EQ(px(b, 20, 20), kBlue);
    EXPECT_EQ(px(b, 10, 10), kWhite) << "the ellipse is in the view's own coordinates";
    EXPECT_EQ(UIGraphicsGetCurrentContext(), nullptr);
}

TEST_F(RendererPixels, AnimationsInFlightDrawTheirValueOfThisInstant) {
    auto root = view({{0, 0}, {20, 1}}, UIColor::whiteColor());
    auto moving = view({{0, 0}, {10, 1}}, rgb(0, 0, 0), root);
    UIView::animateWithDurationAnimations(0.2, [&] {
        moving->setAlpha(0);
        moving->setFrame({{10, 0}, {10, 1}});
    });
    platform::RunLoop::main().advance(0.1);
    Bitmap half = platform::harness::renderView(root, {.scale = 1});
    EXPECT_EQ(px(half, 2, 0), kWhite) << "the view has left its start";
    EXPECT_NEAR(px(half, 10, 0).r, 127, 2) << "half way along and half faded";
    platform::RunLoop::main().advance(0.2);
    Bitmap done = platform::harness::renderView(root, {.scale = 1});
    EXPECT_EQ(px(done, 12, 0), kWhite) << "faded out at the end";
}

TEST(RendererChrome, StatusBarTimeFollowsTheVirtualClock) {
    const double saved = platform::Clock::now();
    const std::pair<double, const char*> cases[] = {
        {9 * 3600 + 41 * 60, "9:41"}, {0, "12:00"}, {12 * 3600 + 5 * 60, "12:05"}, {23 * 3600 + 59 * 60 + 59, "11:59"}};
    for (auto [offset, text] : cases) {
        platform::Clock::setNow(platform::Clock::kStart + offset);
        EXPECT_EQ(platform::harness::statusBarTime(), text);
    }
    platform::Clock::setNow(saved);
}

TEST(RendererChrome, WindowsGetStatusBarAndHomeIndicatorInTheStylesInk) {
    UIScreen::setDeviceProfile("iphone-x");
    for (long style : {1L, 2L}) {
        auto window = vantile::testing::makeWindow(style);
        Bitmap b = platform::harness::renderView(window, {.scale = 1});
        ASSERT_EQ(b.width, 375);
        ASSERT_EQ(b.height, 812);
        const int inkLevel = style == 2 ? 255 : 0;
        auto inkAt = [&](int x0, int y0, int x1, int y1) {
            int n = 0;
            for (int y = y0; y < y1; ++y)
                for (int x = x0; x < x1; ++x) n += unpackPixel(b.at(x, y)).r == inkLevel;
            return n;
        };
        EXPECT_GT(inkAt(20, 5, 100, 40), 20) << "time, style " << style;
        EXPECT_GT(inkAt(280, 5, 370, 40), 40) << "signal, Wi-Fi and battery, style " << style;
        EXPECT_GT(inkAt(120, 795, 255, 805), 300) << "home indicator, style " << style;
        EXPECT_EQ(inkAt(0, 300, 375, 500), 0) << "nothing else on an empty page";
    }
    UIScreen::setDeviceProfile("iphone-8");
    Bitmap b = platform::harness::renderView(vantile::testing::makeWindow(1), {.scale = 1});
    int indicator = 0;
    for (int x = 120; x < 255; ++x) indicator += unpackPixel(b.at(x, 660)).r < 100;
    EXPECT_EQ(indicator, 0) << "no home indicator without a notch";
    UIScreen::resetDeviceProfile();
}

}  // namespace
