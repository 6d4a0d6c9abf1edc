#include "../ui/ViewTestSupport.h"
#include "platform/ui/NSLayoutConstraint.h"
#include "platform/ui/UIStackView.h"

using namespace vtest;

namespace {

class StackView : public ViewTest {
protected:
    // A stack of the given frame holding views with own sizes (width, height).
    Ref<UIStackView> makeStack(CGRect frame, std::initializer_list<CGSize> sizes) {
        auto stack = alloc<UIStackView>();
        stack->initWithFrame(frame);
        for (CGSize s : sizes) stack->addArrangedSubview(makeSized(s.width, s.height));
        return stack;
    }
    static std::vector<CGRect> frames(const Ref<UIStackView>& s) {
        std::vector<CGRect> out;
        for (const auto& v : s->arrangedSubviews()) out.push_back(v->frame());
        return out;
    }
};

TEST_F(StackView, DistributionsAndAlignments) {
    struct Case {
        const char* name;
        long axis, distribution, alignment;
        CGFloat spacing;
        std::vector<CGRect> expected;
    };
    // Stack 300 x 60; views of own size 40 x 20, 60 x 30, 20 x 10.
    const Case cases[] = {
        {"horizontal fill, fill", UILayoutConstraintAxisHorizontal, UIStackViewDistributionFill,
         UIStackViewAlignmentFill, 5,
         // the last view takes the rest: 300 - 40 - 60 - 2 * 5 = 190
         {CGRectMake(0, 0, 40, 60), CGRectMake(45, 0, 60, 60), CGRectMake(110, 0, 190, 60)}},
        {"horizontal fill-equally, centre", UILayoutConstraintAxisHorizontal, UIStackViewDistributionFillEqually,
         UIStackViewAlignmentCenter, 15,
         // (300 - 30) / 3 = 90 each
         {CGRectMake(0, 20, 90, 20), CGRectMake(105, 15, 90, 30), CGRectMake(210, 25, 90, 10)}},
        {"horizontal equal-spacing, top", UILayoutConstraintAxisHorizontal, UIStackViewDistributionEqualSpacing,
         UIStackViewAlignmentTop, 0,
         // leftover 300 - 120 = 180 shared by two gaps
         {CGRectMake(0, 0, 40, 20), CGRectMake(130, 0, 60, 30), CGRectMake(280, 0, 20, 10)}},
        {"vertical fill-equally, trailing", UILayoutConstraintAxisVertical, UIStackViewDistributionFillEqually,
         UIStackViewAlignmentTrailing, 0,
         {CGRectMake(260, 0, 40, 20), CGRectMake(240, 20, 60, 20), CGRectMake(280, 40, 20, 20)}},
        {"vertical equal-spacing never below spacing", UILayoutConstraintAxisVertical,
         UIStackViewDistributionEqualSpacing, UIStackViewAlignmentLeading, 20,
         // 20 + 30 + 10 = 60 fills the height, so the gaps stay at the spacing and overflow
         {CGRectMake(0, 0, 40, 20), CGRectMake(0, 40, 60, 30), CGRectMake(0, 90, 20, 10)}},
    };
    for (const auto& c : cases) {
        auto stack = makeStack(CGRectMake(0, 0, 300, 60), {{40, 20}, {60, 30}, {20, 10}});
        stack->setAxis(c.axis);
        stack->setDistribution(c.distribution);
        stack->setAlignment(c.alignment);
        stack->setSpacing(c.spacing);
        stack->layoutIfNeeded();
        auto got = frames(stack);
        ASSERT_EQ(got.size(), c.expected.size());
        for (std::size_t i = 0; i < got.size(); ++i)
            expectRect(got[i], c.expected[i], (std::string(c.name) + " #" + std::to_string(i)).c_str());
    }
}

TEST_F(StackView, HiddenViewsTakeNoRoomAndRemovalStopsArranging) {
    auto stack = makeStack(CGRectMake(0, 0, 200, 50), {{10, 10}, {10, 10}, {10, 10}, {10, 10}});
    stack->setDistribution(UIStackViewDistributionFillEqually);
    auto second = stack->arrangedSubviews()[1];
    second->setHidden(true);
    stack->layoutIfNeeded();
    EXPECT_DOUBLE_EQ(stack->arrangedSubviews()[2]->frame().minX(), 200.0 / 3);
    second->removeFromSuperview();
    EXPECT_EQ(stack->arrangedSubviews().size(), 3u);
    auto third = stack->arrangedSubviews()[2];
    stack->removeArrangedSubview(third);
    EXPECT_EQ(third->superview(), stack) << "no longer arranged, still a subview";
    EXPECT_EQ(stack->arrangedSubviews().size(), 2u);
}

TEST_F(StackView, ConstrainedStackOfFixedSizeCardsInAGrid) {
    // Three columns of option cards 90 x 120 in a stack pinned inside a 375-wide window; the cards' own width
    // and height constraints give their size, the stack places them.
    auto window = makeWindow();
    auto stack = addConstrained<UIStackView>(window);
    stack->setDistribution(UIStackViewDistributionEqualSpacing);
    stack->setAlignment(UIStackViewAlignmentCenter);
    for (int i = 0; i < 3; ++i) {
        auto card = makeView();
        card->setTranslatesAutoresizingMaskIntoConstraints(false);
        NSLayoutConstraint::activateConstraints(
            {card->widthAnchor().constraintEqualToConstant(90), card->heightAnchor().constraintEqualToConstant(120)});
        stack->addArrangedSubview(card);
    }
    NSLayoutConstraint::activateConstraints(
        {stack->topAnchor().constraintEqualToAnchorConstant(window->topAnchor(), 100),
         stack->leadingAnchor().constraintEqualToAnchorConstant(window->leadingAnchor(), 20),
         stack->trailingAnchor().constraintEqualToAnchorConstant(window->trailingAnchor(), -20),
         stack->heightAnchor().constraintEqualToConstant(140)});
    window->layoutIfNeeded();
    expectRect(stack->frame(), CGRectMake(20, 100, 335, 140), "stack");
    // leftover 335 - 270 = 65, two gaps of 32.5; centred across: (140 - 120) / 2 = 10
    expectRect(stack->arrangedSubviews()[0]->frame(), CGRectMake(0, 10, 90, 120), "first");
    expectRect(stack->arrangedSubviews()[1]->frame(), CGRectMake(122.5, 10, 90, 120), "second");
    expectRect(stack->arrangedSubviews()[2]->frame(), CGRectMake(245, 10, 90, 120), "third");
    EXPECT_EQ(stack->intrinsicContentSize(), CGSizeMake(270, 120));
}

}  // namespace
