#include "platform/ui/UICollectionViewFlowLayout.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::vector<CGSize>> items(std::size_t n, CGSize s) { return {std::vector<CGSize>(n, s)}; }

// Two cards of W/2 − 10 fill a grid W − 10 wide with the default spacing: the dashboard's arithmetic, worked out
// by hand for the 375-point screen (grid 365 wide, items 177.5 wide, gap 10).
TEST(FlowLayout, TwoColumnsOfHalfWidthCardsFillTheGrid) {
    auto layout = alloc<UICollectionViewFlowLayout>();
    layout->setItemSize({177.5, 120});
    auto r = layout->layout({365, 600}, items(3, {177.5, 120}));
    ASSERT_EQ(r.frames[0].size(), 3u);
    EXPECT_EQ(r.frames[0][0], CGRectMake(0, 0, 177.5, 120));
    EXPECT_EQ(r.frames[0][1], CGRectMake(187.5, 0, 177.5, 120));
    // A single item on the last line is centred, as the device's flow layout does.
    EXPECT_EQ(r.frames[0][2], CGRectMake(93.75, 130, 177.5, 120));
    EXPECT_EQ(r.contentSize, CGSizeMake(365, 250));
}

TEST(FlowLayout, LinesShareLeftoverSpaceAndCentreShorterItems) {
    auto layout = alloc<UICollectionViewFlowLayout>();
    // Three 80-wide items in 300: 240 of items, 60 left for two gaps of 30.
    auto r = layout->layout({300, 500}, {{{80, 40}, {80, 60}, {80, 40}, {200, 20}}});
    EXPECT_EQ(r.frames[0][0], CGRectMake(0, 10, 80, 40));
    EXPECT_EQ(r.frames[0][1], CGRectMake(110, 0, 80, 60));
    EXPECT_EQ(r.frames[0][2], CGRectMake(220, 10, 80, 40));
    // The 200-wide item would need 80 + 10 + 200 after the third: a new line, 10 below the 60-high one.
    EXPECT_EQ(r.frames[0][3], CGRectMake(50, 70, 200, 20));
}

TEST(FlowLayout, HorizontalDirectionFillsColumnsTopToBottom) {
    auto layout = alloc<UICollectionViewFlowLayout>();
    layout->setScrollDirection(UICollectionViewScrollDirectionHorizontal);
    auto r = layout->layout({400, 250}, items(3, {100, 120}));
    EXPECT_EQ(r.frames[0][0], CGRectMake(0, 0, 100, 120));
    EXPECT_EQ(r.frames[0][1], CGRectMake(0, 130, 100, 120));
    EXPECT_EQ(r.frames[0][2], CGRectMake(110, 65, 100, 120));
    EXPECT_EQ(r.contentSize, CGSizeMake(210, 250));
}

TEST(FlowLayout, UnknownDirectionKeepsTheCurrentOne) {
    auto layout = alloc<UICollectionViewFlowLayout>();
    for (long value : {2L, -1L, 7L}) {
        layout->setScrollDirection(value);
        EXPECT_EQ(layout->scrollDirection(), UICollectionViewScrollDirectionVertical) << value;
    }
    layout->setScrollDirection(1);
    layout->setScrollDirection(2);
    EXPECT_EQ(layout->scrollDirection(), UICollectionViewScrollDirectionHorizontal);
}

TEST(FlowLayout, SectionInsetsAndSectionsFollowEachOther) {
    auto layout = alloc<UICollectionViewFlowLayout>();
    layout->setSectionInset({5, 20, 15, 20});
    auto r = layout->layout({200, 400}, {{{160, 30}}, {{70, 30}, {70, 30}}, {}});
    EXPECT_EQ(r.frames[0][0], CGRectMake(20, 5, 160, 30));
    // Section 1 starts after section 0's bottom inset and its own top inset: 5 + 30 + 15 + 5.
    EXPECT_EQ(r.frames[1][0], CGRectMake(20, 55, 70, 30));
    EXPECT_EQ(r.frames[1][1], CGRectMake(110, 55, 70, 30));
    EXPECT_TRUE(r.frames[2].empty());
    EXPECT_EQ(r.contentSize.height, 55 + 30 + 15 + 20);
}

}  // namespace
