// The text view: wrapped text whose height makes the content size, insets, the text's look, and typing only when
// editable.
#include "platform/core/RunLoop.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIFont.h"
#include "platform/harness/TouchDriver.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UITextView.h"
#include "platform/ui/UIWindow.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

int g_changes = 0;

class TextViewWatcher : public NSObject {
    VT_OBJECT(TextViewWatcher, NSObject)
public:
    void textViewDidChange(Ref<UITextView>) { ++g_changes; }
};

}  // namespace

VT_REGISTER_CLASS(TextViewWatcher, [](Class c) {
    platform::runtime::addMethod<&TextViewWatcher::textViewDidChange>(c, "textViewDidChange:");
})

namespace {

const std::string kLong =
    "Q: Why is it asking me for a name? A: The greeting on the main page uses it, and a nickname will do just as "
    "well. Q: And the picture? A: The banner shows it. Q: The birthday? A: The banner says happy birthday on the day. "
    "Q: And the holidays? A: The banner wishes a merry Christmas, a happy new year and a happy Halloween too.";

class TextViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::resetRunLoop();
        g_changes = 0;
        window = alloc<UIWindow>();
        window->initWithFrame(CGRectMake(0, 0, 375, 667));
        view = alloc<UITextView>();
        view->initWithFrame(CGRectMake(10, 50, 240, 120));
        window->addSubview(view);
    }
    void TearDown() override {
        if (auto r = UIResponder::currentFirstResponder()) r->resignFirstResponder();
    }
    // The height of the text at a width, measured by a separate label of the same font and line rule.
    CGFloat textHeight(const std::string& text, CGFloat width) const {
        auto label = alloc<UILabel>();
        label->initWithFrame(CGRectZero);
        label->setFont(view->font());
        label->setNumberOfLines(0);
        label->setText(text);
        return std::ceil(label->sizeThatFits({width, 0}).height);
    }

    Ref<UIWindow> window;
    Ref<UITextView> view;
};

TEST_F(TextViewTest, TheContentSizeFollowsTheWrappedTextSoALongTextScrolls) {
    struct Case {
        std::string text;
        bool scrolls;
    };
    for (const auto& c : {Case{"", false}, Case{"One short line", false}, Case{kLong, true}}) {
        view->setText(c.text);
        window->layoutIfNeeded();
        // 8 above and below; the lines run 5 in from either side.
        const CGFloat expected = (c.text.empty() ? 0 : textHeight(c.text, 230)) + 16;
        EXPECT_DOUBLE_EQ(view->contentSize().height, expected) << c.text;
        EXPECT_DOUBLE_EQ(view->contentSize().width, 240);
        EXPECT_EQ(view->maximumContentOffset().y > 0, c.scrolls) << c.text;
    }
    EXPECT_GT(view->textLabel()->displayedLineCount(), 3) << "the long text wraps at the view's width";
}

TEST_F(TextViewTest, InsetsPlaceTheTextAndNarrowItsLines) {
    view->setText(kLong);
    view->setTextContainerInset(UIEdgeInsetsMake(0, 20, 0, 20));
    window->layoutIfNeeded();
    const CGRect text = view->textLabel()->frame();
    EXPECT_DOUBLE_EQ(text.minX(), 25);
    EXPECT_DOUBLE_EQ(text.minY(), 0);
    EXPECT_DOUBLE_EQ(text.width(), 190);
    EXPECT_DOUBLE_EQ(view->contentSize().height, textHeight(kLong, 190));

    // The view's own size changing re-wraps the text.
    view->setFrame(CGRectMake(10, 50, 340, 120));
    window->layoutIfNeeded();
    EXPECT_DOUBLE_EQ(view->textLabel()->frame().width(), 290);
    EXPECT_DOUBLE_EQ(view->contentSize().height, textHeight(kLong, 290));
}

TEST_F(TextViewTest, FontColourAndAlignmentReachTheText) {
    view->setText("Hello");
    view->setFont(UIFont::systemFontOfSize(16));
    view->setTextColor(UIColor::systemRedColor());
    view->setTextAlignment(NSTextAlignmentCenter);
    EXPECT_DOUBLE_EQ(view->textLabel()->font()->pointSize(), 16);
    EXPECT_TRUE(view->textLabel()->textColor()->isEqual(*UIColor::systemRedColor()));
    EXPECT_EQ(view->textLabel()->textAlignment(), NSTextAlignmentCenter);
    EXPECT_EQ(view->textLabel()->text(), "Hello");
}

TEST_F(TextViewTest, OnlyAnEditableViewTakesATapAndTyping) {
    auto watcher = alloc<TextViewWatcher>();
    view->setDelegate(watcher);
    view->setText("Start");
    struct Case {
        bool editable;
        bool becomesFirstResponder;
        std::string afterTyping;
        int changes;
    };
    for (const auto& c : {Case{false, false, "Start", 0}, Case{true, true, "Start and more", 1}}) {
        g_changes = 0;
        view->setEditable(c.editable);
        platform::TouchDriver(window).tap(CGPointMake(60, 80));
        EXPECT_EQ(view->isFirstResponder(), c.becomesFirstResponder) << c.editable;
        view->insertText(" and more");
        EXPECT_EQ(view->text(), c.afterTyping) << c.editable;
        EXPECT_EQ(g_changes, c.changes) << c.editable;
    }
    // Made read-only while editing, the view stops being first responder.
    view->setEditable(false);
    EXPECT_FALSE(view->isFirstResponder());
}

}  // namespace
