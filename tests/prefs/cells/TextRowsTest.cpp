// The kit's single-purpose rows: the section header, the text block and the slider row.
#include "prefs/cells/VNTZRVCDescriptionCella.h"
#include "prefs/cells/VNTZRVCHeaderCella.h"
#include "prefs/cells/VNTZRVCSliderCella.h"

#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIFont.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UITextView.h"
#include "tests/prefs/cells/KitFixture.h"

namespace {

using platform::msgSend;

class TextRowsTest : public kittest::KitFixture {};

TEST_F(TextRowsTest, SectionHeaderIsABoldLabelOverTheWholeRow) {
    auto cell = cast<VNTZRVCHeaderCella>(platform::runtime::createInstance(objc_getClass("VNTZRVCHeaderCella")));
    ASSERT_TRUE(cell);
    msgSend<void>(cell, sel("initWithSpecifier:"), specifier({{"header", "Appearance"}, {"label", "Host title"}}));
    EXPECT_EQ(msgSend<CGFloat>(cell, sel("preferredHeightForWidth:"), CGFloat(414)), 40);
    EXPECT_EQ(cell->reuseIdentifier(), "Cell");
    EXPECT_EQ(cell->style(), UITableViewCellStyleDefault);
    auto label = msgSend<Ref<UILabel>>(cell, sel("headerLabel"));
    ASSERT_TRUE(label);
    EXPECT_EQ(label->text(), "Appearance");
    EXPECT_EQ(label->numberOfLines(), 0);
    EXPECT_TRUE(label->font()->isBold());
    EXPECT_EQ(label->font()->pointSize(), 22);
    EXPECT_EQ(label->textAlignment(), NSTextAlignmentLeft);
    ASSERT_TRUE(label->backgroundColor());
    EXPECT_EQ(label->backgroundColor()->rgba().alpha, 0);
    EXPECT_EQ(cell->textLabel()->text(), "") << "the header is the only title";
    // The row is sized by the table after it was made; the label follows it.
    cell->setFrame(CGRectMake(0, 0, 414, 40));
    EXPECT_EQ(label->frame(), CGRectMake(0, 0, 414, 40));
}

TEST_F(TextRowsTest, TextBlockShowsTheFAQUnderAnInvisibleTitle) {
    auto s = specifier({{"header", "FAQ"}}, PSSpecifier::PSStaticTextCell);
    s->setPropertyForKey(Property(300.0), "height");
    auto cell = cast<VNTZRVCDescriptionCella>(makeRow("VNTZRVCDescriptionCella", s));
    ASSERT_TRUE(cell);
    const std::string& text = cell->descriptionTextView()->text();
    EXPECT_EQ(text.size(), 735u);
    EXPECT_EQ(text.substr(0, 48), "Q: Why is it asking me for my name? \nA: It's ask");
    EXPECT_NE(text.find("greeting message with your name E.G Good Morning, Zorvanic. You won't need"), std::string::npos);
    EXPECT_NE(text.find("display. \n\nQ: Why does it want my profile picture? \nA: The banner"), std::string::npos);
    EXPECT_NE(text.find("when your birthday come's it will display"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 45), "Happy New Year and Happy Halloween et cetera.");
    EXPECT_EQ(cell->headerLabel()->text(), "FAQ");
    EXPECT_EQ(cell->headerLabel()->textColor()->rgba().alpha, 0) << "the title is there but invisible";
}

TEST_F(TextRowsTest, TextBlockTextFollowsItsHeader) {
    struct Case {
        const char* header;
        const char* text;
    };
    const Case cases[] = {
        {"Example Description", "\nThis is an example description"},
        {"Notes", ""},
        {"faq", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.header);
        auto cell = cast<VNTZRVCDescriptionCella>(makeRow("VNTZRVCDescriptionCella", specifier({{"header", c.header}})));
        ASSERT_TRUE(cell);
        EXPECT_EQ(cell->descriptionTextView()->text(), c.text);
        EXPECT_EQ(cell->headerLabel()->text(), c.header);
        EXPECT_EQ(cell->headerLabel()->textColor()->rgba().alpha, 1);
    }
}

TEST_F(TextRowsTest, TextBlockFillsTheRowHeightBelowItsTitle) {
    UIScreen::setDeviceProfile("iphone-12");
    const CGFloat screenWidth = UIScreen::mainScreen()->bounds().width();
    struct Case {
        Value height;
        CGFloat containerHeight, textHeight;
    };
    const Case cases[] = {{Value(200.0), 200, 175}, {Value(120), 120, 95}, {Value(), 0, 0}, {Value(10), 10, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.containerHeight);
        auto s = specifier({{"header", "Example Description"}});
        if (!c.height.isNone()) s->setPropertyForKey(Property(c.height), "height");
        auto cell = cast<VNTZRVCDescriptionCella>(makeRow("VNTZRVCDescriptionCella", s));
        ASSERT_TRUE(cell);
        EXPECT_EQ(cell->containerView()->frame(), CGRectMake(0, 0, screenWidth, c.containerHeight));
        EXPECT_EQ(cell->containerView()->superview(), cell->contentView());
        EXPECT_EQ(cell->headerLabel()->frame(), CGRectMake(10, 5, 280, 20));
        EXPECT_TRUE(cell->headerLabel()->font()->isBold());
        EXPECT_EQ(cell->headerLabel()->font()->pointSize(), 15);
        auto view = cell->descriptionTextView();
        EXPECT_EQ(view->frame(), CGRectMake(0, 25, screenWidth - 60, c.textHeight));
        EXPECT_TRUE(view->clipsToBounds());
        EXPECT_EQ(view->contentInset(), UIEdgeInsets{});
        EXPECT_EQ(view->delegate(), cell);
        EXPECT_FALSE(view->isEditable());
        EXPECT_EQ(view->font()->pointSize(), 16);
        EXPECT_FALSE(view->font()->isBold());
        EXPECT_TRUE(view->isScrollEnabled());
        EXPECT_EQ(view->textAlignment(), NSTextAlignmentLeft);
        ASSERT_TRUE(view->backgroundColor());
        EXPECT_EQ(view->backgroundColor()->rgba().alpha, 0);
    }
}

TEST_F(TextRowsTest, SliderRowKeepsTheHostsSliderFifteenPointsLower) {
    auto s = specifier({{"header", "Corner radius"}}, PSSpecifier::PSSliderCell);
    auto row = cast<VNTZRVCSliderCella>(makeRow("VNTZRVCSliderCella", s));
    auto host = cast<PSSliderTableCell>(makeRow("PSSliderTableCell", s));
    ASSERT_TRUE(row && host);
    EXPECT_EQ(row->headerLabel()->frame(), CGRectMake(15, 10, 300, 20));
    EXPECT_EQ(row->headerLabel()->text(), "Corner radius");
    EXPECT_EQ(row->headerLabel()->superview(), row->contentView());
    ASSERT_TRUE(row->backgroundColor());
    EXPECT_EQ(row->backgroundColor()->rgba(), (platform::RGBA{1, 1, 1, 1}));
    EXPECT_EQ(row->control()->frame(), host->control()->frame().offsetBy(0, 15)) << "moved once on creation";

    // Pass after pass, and after the host places the slider elsewhere (a new size), the offset stays 15.
    for (CGSize size : {CGSizeMake(375, 70), CGSizeMake(375, 70), CGSizeMake(414, 90), CGSizeMake(414, 90)}) {
        SCOPED_TRACE(size.width);
        for (const auto& cell : {Ref<PSTableCell>(row), Ref<PSTableCell>(host)}) {
            cell->setFrame({{0, 0}, size});
            cell->setNeedsLayout();
            cell->layoutIfNeeded();
        }
        EXPECT_EQ(row->control()->frame(), host->control()->frame().offsetBy(0, 15));
    }
}

}  // namespace
