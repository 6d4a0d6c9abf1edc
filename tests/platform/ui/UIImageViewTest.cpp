#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIImage.h"
#include "platform/harness/Renderer.h"
#include "platform/ui/UIImageView.h"

#include <gtest/gtest.h>

namespace {

Ref<UIImage> solid(int w, int h, PixelRGBA c, CGFloat scale = 1) {
    Bitmap b(w, h);
    for (auto& p : b.pixels) p = packPixel(c);
    return UIImage::imageWithBitmap(std::move(b), scale, "/solid.png");
}

TEST(UIImageView, ContentModesPlaceTheImage) {
    auto view = alloc<UIImageView>();
    view->initWithFrame({{0, 0}, {100, 50}});
    view->setImage(solid(20, 10, {255, 0, 0, 255}));  // 20 × 10, wider than tall
    const CGRect b = view->bounds();
    const std::pair<long, CGRect> cases[] = {
        {UIViewContentModeScaleToFill, {{0, 0}, {100, 50}}},
        {UIViewContentModeScaleAspectFit, {{0, 0}, {100, 50}}},
        {UIViewContentModeScaleAspectFill, {{0, 0}, {100, 50}}},
        {UIViewContentModeCenter, {{40, 20}, {20, 10}}},
        {5, {{40, 0}, {20, 10}}},
        {6, {{40, 40}, {20, 10}}},
        {7, {{0, 20}, {20, 10}}},
        {8, {{80, 20}, {20, 10}}},
        {9, {{0, 0}, {20, 10}}},
        {12, {{80, 40}, {20, 10}}},
    };
    for (auto [mode, expected] : cases) {
        view->setContentMode(mode);
        EXPECT_EQ(view->imageRectForBounds(b), expected) << "mode " << mode;
    }
    view->setFrame({{0, 0}, {60, 60}});
    view->setContentMode(UIViewContentModeScaleAspectFit);
    EXPECT_EQ(view->imageRectForBounds(view->bounds()), (CGRect{{0, 15}, {60, 30}}));
    view->setContentMode(UIViewContentModeScaleAspectFill);
    EXPECT_EQ(view->imageRectForBounds(view->bounds()), (CGRect{{-30, 0}, {120, 60}}));
}

TEST(UIImageView, OwnSizeIsTheImageSizeInPoints) {
    auto view = alloc<UIImageView>();
    view->initWithImage(solid(70, 70, {0, 0, 0, 255}, 2));
    EXPECT_EQ(view->frame(), (CGRect{{0, 0}, {35, 35}}));
    EXPECT_EQ(view->intrinsicContentSize(), (CGSize{35, 35}));
    view->setImage(nullptr);
    EXPECT_EQ(view->intrinsicContentSize(), (CGSize{UIViewNoIntrinsicMetric, UIViewNoIntrinsicMetric}));
    EXPECT_EQ(view->imageRectForBounds(view->bounds()), CGRectZero);
}

TEST(UIImageView, TemplateImagesDrawInTheInheritedTint) {
    auto parent = alloc<UIView>();
    parent->initWithFrame({{0, 0}, {4, 2}});
    parent->setTintColor(UIColor::colorWithRedGreenBlueAlpha(0, 1, 0, 1));
    auto original = alloc<UIImageView>();
    original->initWithFrame({{0, 0}, {2, 2}});
    original->setImage(solid(2, 2, {255, 0, 0, 255}));
    auto tinted = alloc<UIImageView>();
    tinted->initWithFrame({{2, 0}, {2, 2}});
    tinted->setImage(solid(2, 2, {255, 0, 0, 255})->imageWithRenderingMode(UIImageRenderingMode::AlwaysTemplate));
    parent->addSubview(original);
    parent->addSubview(tinted);
    Bitmap b = platform::harness::renderView(parent, {.scale = 1});
    EXPECT_EQ(unpackPixel(b.at(0, 0)), (PixelRGBA{255, 0, 0, 255}));
    EXPECT_EQ(unpackPixel(b.at(3, 1)), (PixelRGBA{0, 255, 0, 255}));
}

}  // namespace
