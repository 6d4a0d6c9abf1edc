#include "platform/gfx/Appearance.h"
#include "platform/gfx/UIColor.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using platform::RGBA;

void expectRGBA(const RGBA& got, const RGBA& want) {
    EXPECT_NEAR(got.red, want.red, 1e-9);
    EXPECT_NEAR(got.green, want.green, 1e-9);
    EXPECT_NEAR(got.blue, want.blue, 1e-9);
    EXPECT_NEAR(got.alpha, want.alpha, 1e-9);
}

std::vector<CGFloat> components(const CGColorRef& color) {
    const CGFloat* c = CGColorGetComponents(color);
    return {c, c + CGColorGetNumberOfComponents(color)};
}

TEST(UIColor, CGColorKeepsTheModelItWasCreatedIn) {
    struct Case {
        const char* what;
        Ref<UIColor> color;
        CGColorSpaceModel model;
        std::vector<CGFloat> components;
    };
    const std::vector<Case> cases = {
        {"rgb", UIColor::colorWithRedGreenBlueAlpha(0.25, 0.5, 0.75, 0.125), kCGColorSpaceModelRGB,
         {0.25, 0.5, 0.75, 0.125}},
        {"white level", UIColor::colorWithWhiteAlpha(0.5, 1), kCGColorSpaceModelMonochrome, {0.5, 1}},
        {"white", UIColor::whiteColor(), kCGColorSpaceModelMonochrome, {1, 1}},
        {"black", UIColor::blackColor(), kCGColorSpaceModelMonochrome, {0, 1}},
        {"clear", UIColor::clearColor(), kCGColorSpaceModelMonochrome, {0, 0}},
        {"hsb", UIColor::colorWithHueSaturationBrightnessAlpha(0, 1, 1, 1), kCGColorSpaceModelRGB, {1, 0, 0, 1}},
        {"mono with alpha", UIColor::colorWithWhiteAlpha(0.2, 1)->colorWithAlphaComponent(0.3),
         kCGColorSpaceModelMonochrome, {0.2, 0.3}},
        {"out of range kept", UIColor::colorWithRedGreenBlueAlpha(1.5, -0.5, 0, 1), kCGColorSpaceModelRGB,
         {1.5, -0.5, 0, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CGColorRef cg = c.color->CGColor();
        EXPECT_EQ(CGColorSpaceGetModel(CGColorGetColorSpace(cg)), c.model);
        EXPECT_EQ(components(cg), c.components);
        EXPECT_EQ(CGColorGetAlpha(cg), c.components.back());
    }
    EXPECT_EQ(CGColorGetComponents(nullptr), nullptr);
    EXPECT_EQ(CGColorSpaceGetModel(CGColorGetColorSpace(nullptr)), kCGColorSpaceModelUnknown);
}

TEST(UIColor, CreatedColorSpacesAreReleasedAndSharedOnesSurviveARelease) {
    std::size_t before = platform::gfx::liveColorSpaceCount();
    CGColorSpaceRef rgb = CGColorSpaceCreateDeviceRGB();
    CGColorSpaceRef gray = CGColorSpaceCreateDeviceGray();
    EXPECT_EQ(CGColorSpaceGetModel(rgb), kCGColorSpaceModelRGB);
    EXPECT_EQ(CGColorSpaceGetModel(gray), kCGColorSpaceModelMonochrome);
    EXPECT_EQ(platform::gfx::liveColorSpaceCount(), before + 2);
    CGColorSpaceRelease(rgb);
    CGColorSpaceRelease(gray);
    CGColorSpaceRelease(nullptr);
    EXPECT_EQ(platform::gfx::liveColorSpaceCount(), before);

    CGColorRef white = UIColor::whiteColor()->CGColor();
    CGColorSpaceRelease(CGColorGetColorSpace(white));
    EXPECT_EQ(CGColorSpaceGetModel(CGColorGetColorSpace(white)), kCGColorSpaceModelMonochrome);
}

TEST(UIColor, DynamicColoursResolveByStyleAndKeepTheirName) {
    auto label = UIColor::labelColor();
    EXPECT_EQ(label->systemName(), "labelColor");
    EXPECT_TRUE(label->isDynamic());
    expectRGBA(label->resolvedColorWithStyle(0), {0, 0, 0, 1});
    expectRGBA(label->resolvedColorWithStyle(1), {0, 0, 0, 1});
    expectRGBA(label->resolvedColorWithStyle(2), {1, 1, 1, 1});

    auto background = UIColor::secondarySystemBackgroundColor();
    expectRGBA(background->resolvedColorWithStyle(1), {242 / 255.0, 242 / 255.0, 247 / 255.0, 1});
    expectRGBA(background->resolvedColorWithStyle(2), {28 / 255.0, 28 / 255.0, 30 / 255.0, 1});

    {
        platform::ScopedInterfaceStyle dark(2);
        EXPECT_EQ(components(label->CGColor()), (std::vector<CGFloat>{1, 1, 1, 1}));
        CGFloat r = -1, a = -1;
        EXPECT_TRUE(label->getRedGreenBlueAlpha(&r, nullptr, nullptr, &a));
        EXPECT_EQ(r, 1);
        EXPECT_EQ(a, 1);
    }
    EXPECT_EQ(platform::currentInterfaceStyle(), 1);
    EXPECT_EQ(components(label->CGColor()), (std::vector<CGFloat>{0, 0, 0, 1}));

    auto faded = label->colorWithAlphaComponent(0.5);
    EXPECT_TRUE(faded->isDynamic());
    EXPECT_FALSE(faded->systemName().has_value());
    expectRGBA(faded->resolvedColorWithStyle(2), {1, 1, 1, 0.5});

    EXPECT_FALSE(UIColor::whiteColor()->systemName().has_value());
    EXPECT_EQ(UIColor::systemColorNamed("noSuchColor"), nullptr);
    EXPECT_TRUE(UIColor::systemBlueColor()->isEqual(*UIColor::systemColorNamed("systemBlueColor")));
    EXPECT_FALSE(UIColor::systemBlueColor()->isEqual(*UIColor::systemRedColor()));
    auto fixedDark = label->resolvedColorForStyle(2);
    EXPECT_FALSE(fixedDark->isDynamic());
    expectRGBA(fixedDark->resolvedColorWithStyle(1), {1, 1, 1, 1});
}

TEST(UIColor, HueSaturationBrightnessConvertLikeThePlatform) {
    struct Case {
        CGFloat h, s, b;
        RGBA rgb;
    };
    const std::vector<Case> cases = {
        {0, 1, 1, {1, 0, 0, 1}},         {1.0 / 6, 1, 1, {1, 1, 0, 1}},   {1.0 / 3, 1, 1, {0, 1, 0, 1}},
        {0.5, 1, 1, {0, 1, 1, 1}},       {2.0 / 3, 1, 1, {0, 0, 1, 1}},   {5.0 / 6, 1, 1, {1, 0, 1, 1}},
        {1, 1, 1, {1, 0, 0, 1}},         {0.25, 0, 0.5, {0.5, 0.5, 0.5, 1}}, {1.0 / 12, 0.5, 0.8, {0.8, 0.6, 0.4, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "h=" << c.h << " s=" << c.s << " b=" << c.b);
        auto color = UIColor::colorWithHueSaturationBrightnessAlpha(c.h, c.s, c.b, 1);
        expectRGBA(color->rgba(), c.rgb);
    }
    // Converting back answers the inputs for every hue below 1 with a saturated, non-black colour.
    for (int i = 0; i < 60; ++i) {
        CGFloat h = i / 60.0, s = 0.3 + (i % 7) * 0.1, b = 0.2 + (i % 5) * 0.2;
        CGFloat h2, s2, b2, a2;
        UIColor::colorWithHueSaturationBrightnessAlpha(h, s, b, 0.25)->getHueSaturationBrightnessAlpha(&h2, &s2, &b2,
                                                                                                        &a2);
        EXPECT_NEAR(h2, h, 1e-9);
        EXPECT_NEAR(s2, s, 1e-9);
        EXPECT_NEAR(b2, b, 1e-9);
        EXPECT_EQ(a2, 0.25);
    }
    CGFloat h = -1, s = -1;
    UIColor::grayColor()->getHueSaturationBrightnessAlpha(&h, &s, nullptr, nullptr);
    EXPECT_EQ(h, 0);
    EXPECT_EQ(s, 0);
}

}  // namespace
