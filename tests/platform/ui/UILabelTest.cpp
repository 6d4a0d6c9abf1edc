#include "platform/gfx/TextLayout.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIFont.h"
#include "platform/harness/Renderer.h"
#include "platform/ui/NSLayoutConstraint.h"
#include "platform/ui/UILabel.h"

#include <gtest/gtest.h>

namespace {

Ref<UILabel> makeLabel(const std::string& text, Ref<UIFont> font, long lines, CGRect frame = CGRectZero) {
    auto label = alloc<UILabel>();
    label->initWithFrame(frame);
    label->setFont(std::move(font));
    label->setNumberOfLines(lines);
    label->setText(text);
    return label;
}

TEST(UILabel, DefaultsAreTheDevicesAndNullRestoresThem) {
    auto label = alloc<UILabel>();
    label->init();
    EXPECT_EQ(label->text(), "");
    EXPECT_EQ(label->numberOfLines(), 1);
    EXPECT_EQ(label->font()->pointSize(), 17);
    EXPECT_EQ(label->textColor()->systemName(), std::optional<std::string_view>("labelColor"));
    label->setFont(UIFont::boldSystemFontOfSize(14));
    label->setFont(nullptr);
    EXPECT_EQ(label->font()->pointSize(), 17);
    label->setTextColor(UIColor::whiteColor());
    label->setTextColor(nullptr);
    EXPECT_TRUE(label->textColor()->systemName());
}

TEST(UILabel, OwnSizeIsTheTextsSizeWithTheLineLimit) {
    auto font = UIFont::boldSystemFontOfSize(14);
    struct Case {
        std::string text;
        long lines;
        long expectedLines;
    };
    for (const Case& c : {Case{"", 1, 0}, Case{"Wi-Fi", 1, 1}, Case{"a\nb\nc", 0, 3}, Case{"a\nb\nc", 2, 2},
                          Case{"a\nb\nc", 1, 1}}) {
        auto label = makeLabel(c.text, font, c.lines);
        TextLayout oracle(c.text, *font, 0, c.lines);
        EXPECT_EQ(label->intrinsicContentSize(), oracle.size()) << c.text << " lines " << c.lines;
        EXPECT_EQ(oracle.lineCount(), c.expectedLines) << c.text << " lines " << c.lines;
    }
    EXPECT_EQ(makeLabel("", font, 1)->intrinsicContentSize(), (CGSize{0, 0}));
}

TEST(UILabel, ConstrainedWidthWrapsTwoLineTitlesAndTheLayoutSettlesTheirHeight) {
    auto parent = alloc<UIView>();
    parent->initWithFrame({{0, 0}, {120, 200}});
    auto font = UIFont::boldSystemFontOfSize(14);
    auto title = makeLabel("Touch/Face ID & Passcode", font, 2);
    title->setTranslatesAutoresizingMaskIntoConstraints(false);
    parent->addSubview(title);
    NSLayoutConstraint::activateConstraints({
        title->topAnchor().constraintEqualToAnchorConstant(parent->topAnchor(), 10),
        title->leadingAnchor().constraintEqualToAnchorConstant(parent->leadingAnchor(), 5),
        title->trailingAnchor().constraintEqualToAnchorConstant(parent->trailingAnchor(), -5),
    });
    parent->layoutIfNeeded();
    EXPECT_EQ(title->frame().width(), 110);
    EXPECT_EQ(title->displayedLineCount(), 2);
    EXPECT_FALSE(title->isTruncated());
    EXPECT_EQ(title->frame().height(), TextLayout(title->text(), *font, 110, 2).size().height);
    EXPECT_GT(title->frame().height(), 1.5 * font->lineHeight());
}

TEST(UILabel, TextBeyondTheLineLimitIsCutAtTheTail) {
    auto label = makeLabel("Tap on the gear icon above to get started and adding cells.", UIFont::boldSystemFontOfSize(22),
                           3, {{0, 0}, {150, 200}});
    EXPECT_EQ(label->displayedLineCount(), 3);
    EXPECT_TRUE(label->isTruncated());
    label->setNumberOfLines(0);
    EXPECT_GT(label->displayedLineCount(), 3);
    EXPECT_FALSE(label->isTruncated());
}

TEST(UILabel, DrawsItsTextCentredVerticallyInItsColour) {
    auto label = makeLabel("HHHH", UIFont::boldSystemFontOfSize(12), 1, {{0, 0}, {80, 40}});
    label->setTextAlignment(NSTextAlignmentCenter);
    label->setTextColor(UIColor::colorWithRedGreenBlueAlpha(1, 0, 0, 1));
    Bitmap b = platform::harness::renderView(label, {.scale = 1});
    int top = b.height, bottom = -1, left = b.width, right = -1;
    for (int y = 0; y < b.height; ++y)
        for (int x = 0; x < b.width; ++x) {
            PixelRGBA p = unpackPixel(b.at(x, y));
            if (p.a < 128) continue;
            EXPECT_EQ(p.g, 0);
            top = std::min(top, y), bottom = std::max(bottom, y), left = std::min(left, x), right = std::max(right, x);
        }
    ASSERT_GE(bottom, 0) << "nothing drawn";
    EXPECT_NEAR((top + bottom) / 2.0, 20, 2.5);
    EXPECT_NEAR((left + right) / 2.0, 40, 1.5);
}

}  // namespace
