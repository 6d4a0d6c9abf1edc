#include "platform/gfx/GraphicsContext.h"
#include "platform/gfx/Painter.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr PaintColor kRed{1, 0, 0, 1};
constexpr PaintColor kBlue{0, 0, 1, 1};
constexpr PaintColor kWhite{1, 1, 1, 1};

int alphaAt(Painter& p, int x, int y) { return unpackPixel(p.bitmap().at(x, y)).a; }
PixelRGBA at(Painter& p, int x, int y) { return unpackPixel(p.bitmap().at(x, y)); }

TEST(Painter, FilledRectCoversExactlyItsPixelsAtEveryScale) {
    for (double scale : {1.0, 2.0, 3.0}) {
        const int n = static_cast<int>(10 * scale);
        Painter p(n, n, scale);
        p.fillRect({{2, 3}, {4, 5}}, kRed);
        for (int y = 0; y < n; ++y)
            for (int x = 0; x < n; ++x) {
                const bool inside = x >= 2 * scale && x < 6 * scale && y >= 3 * scale && y < 8 * scale;
                EXPECT_EQ(at(p, x, y), inside ? (PixelRGBA{255, 0, 0, 255}) : (PixelRGBA{})) << x << "," << y;
            }
    }
}

TEST(Painter, RoundedCornersCutTheCornerPixelsOnly) {
    Painter p(20, 20);
    p.fillRoundedRect({{0, 0}, {20, 20}}, CornerRadii::uniform(6), CornerCurve::Circular, kBlue);
    for (auto [x, y] : {std::pair{0, 0}, {19, 0}, {0, 19}, {19, 19}}) EXPECT_EQ(alphaAt(p, x, y), 0) << x << "," << y;
    for (auto [x, y] : {std::pair{10, 0}, {0, 10}, {19, 10}, {10, 19}, {10, 10}, {6, 0}, {3, 3}})
        EXPECT_EQ(alphaAt(p, x, y), 255) << x << "," << y;
}

TEST(Painter, OnlyTheNamedCornersAreRounded) {
    Painter p(20, 20);
    p.fillRoundedRect({{0, 0}, {20, 20}}, CornerRadii{8, 8, 0, 0}, CornerCurve::Circular, kBlue);
    EXPECT_EQ(alphaAt(p, 0, 0), 0);
    EXPECT_EQ(alphaAt(p, 19, 0), 0);
    EXPECT_EQ(alphaAt(p, 0, 19), 255);
    EXPECT_EQ(alphaAt(p, 19, 19), 255);
}

TEST(Painter, ContinuousCornersBendEarlierButCoverTheDiagonalLikeCircularOnes) {
    Painter circular(100, 100), continuous(100, 100);
    circular.fillRoundedRect({{0, 0}, {100, 100}}, CornerRadii::uniform(20), CornerCurve::Circular, kBlue);
    continuous.fillRoundedRect({{0, 0}, {100, 100}}, CornerRadii::uniform(20), CornerCurve::Continuous, kBlue);
    // Just past the circular arc's end the circular edge is straight, the continuous one still bends away.
    EXPECT_EQ(alphaAt(circular, 22, 0), 255);
    EXPECT_LT(alphaAt(continuous, 22, 0), 255);
    EXPECT_EQ(alphaAt(continuous, 32, 0), 255);
    // On the diagonal both leave the same corner open, within a pixel.
    int circularEdge = 0, continuousEdge = 0;
    while (alphaAt(circular, circularEdge, circularEdge) < 128) ++circularEdge;
    while (alphaAt(continuous, continuousEdge, continuousEdge) < 128) ++continuousEdge;
    EXPECT_NEAR(circularEdge, continuousEdge, 1);
    EXPECT_NEAR(circularEdge, 20 - 20 / std::sqrt(2.0), 1);
    // A pill has no room for the longer bend and falls back to a circle.
    Painter pill(40, 20), pillCircular(40, 20);
    pill.fillRoundedRect({{0, 0}, {40, 20}}, CornerRadii::uniform(10), CornerCurve::Continuous, kBlue);
    pillCircular.fillRoundedRect({{0, 0}, {40, 20}}, CornerRadii::uniform(10), CornerCurve::Circular, kBlue);
    EXPECT_EQ(pill.bitmap(), pillCircular.bitmap());
}

TEST(Painter, BorderLiesInsideTheBounds) {
    Painter p(12, 12);
    p.strokeBorder({{1, 1}, {10, 10}}, CornerRadii{}, CornerCurve::Circular, 2, kRed);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
            const bool outer = x >= 1 && x < 11 && y >= 1 && y < 11;
            const bool inner = x >= 3 && x < 9 && y >= 3 && y < 9;
            EXPECT_EQ(alphaAt(p, x, y), outer && !inner ? 255 : 0) << x << "," << y;
        }
}

TEST(Painter, ClipKeepsAChildInsideItsParent) {
    Painter p(10, 10);
    p.save();
    p.clipToRect({{2, 2}, {4, 4}});
    p.fillRect({{0, 0}, {10, 10}}, kRed);
    p.restore();
    p.fillRect({{8, 8}, {2, 2}}, kBlue);  // the clip ended with restore
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) {
            const int expected = (x >= 2 && x < 6 && y >= 2 && y < 6) || (x >= 8 && y >= 8) ? 255 : 0;
            EXPECT_EQ(alphaAt(p, x, y), expected) << x << "," << y;
        }
}

TEST(Painter, GroupAlphaAppliesOnceToOverlappingContent) {
    Painter p(6, 2);
    p.beginTransparencyLayer();
    p.fillRect({{0, 0}, {4, 2}}, kWhite);
    p.fillRect({{2, 0}, {4, 2}}, kWhite);
    p.endTransparencyLayer(0.5);
    // The overlap is no darker than the rest: the group was composed first, then faded.
    for (int x = 0; x < 6; ++x) EXPECT_EQ(at(p, x, 0), (PixelRGBA{128, 128, 128, 128})) << x;
}

TEST(Painter, MaskedGroupShowsOnlyWhereTheMaskPaints) {
    Painter p(8, 1);
    p.beginTransparencyLayer();
    p.fillRect({{0, 0}, {8, 1}}, kRed);
    p.endTransparencyLayerMasked([](Painter& m) { m.fillRect({{0, 0}, {3, 1}}, PaintColor::black()); });
    for (int x = 0; x < 8; ++x) EXPECT_EQ(alphaAt(p, x, 0), x < 3 ? 255 : 0) << x;
}

TEST(Painter, LinearGradientRunsFromStartToEndPoint) {
    Painter p(256, 4);
    p.fillLinearGradient({{0, 0}, {256, 4}}, {{0, kRed}, {1, kBlue}}, {0, 0.5}, {1, 0.5});
    PixelRGBA first = at(p, 0, 2), middle = at(p, 128, 2), last = at(p, 255, 2);
    EXPECT_GE(first.r, 253);
    EXPECT_LE(first.b, 2);
    EXPECT_LE(last.r, 2);
    EXPECT_GE(last.b, 253);
    EXPECT_NEAR(middle.r, 127, 2);
    EXPECT_NEAR(middle.b, 128, 2);
    EXPECT_EQ(at(p, 10, 0), at(p, 10, 3)) << "a horizontal gradient is constant down a column";
}

TEST(Painter, TemplateImagesTakeTheTintAndKeepTheirAlpha) {
    Bitmap icon(2, 1);
    icon.at(0, 0) = packPixel({255, 0, 0, 255});
    icon.at(1, 0) = packPixel({0, 0, 0, 0});
    Painter tinted(2, 1), original(2, 1);
    tinted.drawBitmap(icon, {{0, 0}, {2, 1}}, 1.0, PaintColor{0, 1, 0, 1});
    original.drawBitmap(icon, {{0, 0}, {2, 1}});
    EXPECT_EQ(at(tinted, 0, 0), (PixelRGBA{0, 255, 0, 255}));
    EXPECT_EQ(at(tinted, 1, 0), (PixelRGBA{}));
    EXPECT_EQ(at(original, 0, 0), (PixelRGBA{255, 0, 0, 255}));
}

TEST(Painter, TransformsMoveWhatIsDrawnAfterThem) {
    Painter p(10, 10);
    p.translate(10, 0);
    p.rotate(M_PI / 2);  // x axis now points down, y axis to the left
    p.fillRect({{0, 0}, {3, 2}}, kRed);
    EXPECT_EQ(alphaAt(p, 8, 0), 255);
    EXPECT_EQ(alphaAt(p, 9, 2), 255);
    EXPECT_EQ(alphaAt(p, 7, 0), 0);
    EXPECT_EQ(alphaAt(p, 9, 3), 0);
}

TEST(Painter, EllipsesAndTheCurrentContextScope) {
    Painter p(20, 20);
    EXPECT_EQ(UIGraphicsGetCurrentContext(), nullptr);
    {
        platform::gfx::CurrentContextScope scope(&p);
        ASSERT_EQ(UIGraphicsGetCurrentContext(), &p);
        UIGraphicsGetCurrentContext()->fillEllipse({{0, 0}, {20, 20}}, kBlue);
    }
    EXPECT_EQ(UIGraphicsGetCurrentContext(), nullptr);
    EXPECT_EQ(alphaAt(p, 10, 10), 255);
    EXPECT_EQ(alphaAt(p, 10, 1), 255);
    EXPECT_EQ(alphaAt(p, 1, 1), 0);
}

}  // namespace

// A blur material softens the edge beneath it, keeps flat areas as they were, and leaves everything outside its
// rectangle alone — also when it is drawn inside a transparency layer, where the backdrop is the canvas below.
TEST(Painter, BlurredBackdropSoftensEdgesInsideItsRectangleOnly) {
    for (bool inLayer : {false, true}) {
        SCOPED_TRACE(inLayer ? "inside a layer" : "on the canvas");
        Painter p(200, 100, 1.0);
        p.fillRect({{0, 0}, {100, 100}}, PaintColor{0, 0, 0, 1});
        p.fillRect({{100, 0}, {100, 100}}, PaintColor{1, 1, 1, 1});
        if (inLayer) p.beginTransparencyLayer();
        p.drawBlurredBackdrop({{50, 0}, {100, 50}}, CornerRadii{}, CornerCurve::Circular, 20);
        if (inLayer) p.endTransparencyLayer(1.0);

        const PixelRGBA nearEdgeDark = at(p, 97, 25), nearEdgeLight = at(p, 103, 25);
        EXPECT_GT(nearEdgeDark.r, 20);
        EXPECT_LT(nearEdgeLight.r, 235);
        EXPECT_LT(nearEdgeDark.r, nearEdgeLight.r);
        EXPECT_EQ(at(p, 55, 25).a, 255);  // the backdrop stays opaque
        EXPECT_EQ(at(p, 97, 75), (PixelRGBA{0, 0, 0, 255}));      // below the rectangle: untouched
        EXPECT_EQ(at(p, 103, 75), (PixelRGBA{255, 255, 255, 255}));
        EXPECT_EQ(at(p, 10, 25), (PixelRGBA{0, 0, 0, 255}));      // left of it: untouched
    }
}

TEST(Painter, BlurredBackdropOfNothingChangesNothing) {
    Painter p(40, 40, 2.0);
    p.fillRect({{0, 0}, {10, 20}}, PaintColor{1, 0, 0, 1});
    const Bitmap before = p.bitmap();
    p.drawBlurredBackdrop({{0, 0}, {0, 20}}, CornerRadii{}, CornerCurve::Circular, 20);
    p.drawBlurredBackdrop({{0, 0}, {20, 20}}, CornerRadii{}, CornerCurve::Circular, 0);
    p.drawBlurredBackdrop({{-50, -50}, {10, 10}}, CornerRadii{}, CornerCurve::Circular, 20);
    EXPECT_EQ(p.bitmap().pixels, before.pixels);
}
