// The kit's single-purpose rows: the section header, the text block and the slider row.
#include "prefs/cells/VNTZRVCHeaderCella.h"

#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIFont.h"
#include "platform/ui/UILabel.h"
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

}  // namespace
