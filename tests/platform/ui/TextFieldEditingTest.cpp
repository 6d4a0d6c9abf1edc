// Editing a text field as a person does: a tap makes it first responder if its delegate lets it, the keyboard comes
// up with the field's accessory on top of it, return and a touch elsewhere end editing when the delegate agrees.
// Also the toolbar such an accessory usually is.
#include "tests/platform/ui/ViewTestSupport.h"

#include "platform/gfx/UIImage.h"
#include "platform/harness/TouchDriver.h"
#include "platform/ui/UIBarButtonItem.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UIInputSetHostView.h"
#include "platform/ui/UITextField.h"
#include "platform/ui/UIToolbar.h"
#include "platform/ui/UIWindow.h"

#include <string>
#include <vector>

// A delegate that answers as told and writes down what it was asked.
class EditingDelegate : public NSObject {
    VT_OBJECT(EditingDelegate, NSObject)
public:
    bool begin = true, end = true, returns = true;
    std::vector<std::string> asked;
    bool shouldBegin(Ref<UITextField>) {
        asked.push_back("begin");
        return begin;
    }
    bool shouldEnd(Ref<UITextField>) {
        asked.push_back("end");
        return end;
    }
    bool shouldReturn(Ref<UITextField> field) {
        asked.push_back("return");
        if (returns) field->resignFirstResponder();
        return returns;
    }
    void pressed() { asked.push_back("pressed"); }
};
VT_REGISTER_CLASS(EditingDelegate, [](Class c) {
    using platform::runtime::addMethod;
    addMethod<&EditingDelegate::shouldBegin>(c, "textFieldShouldBeginEditing:");
    addMethod<&EditingDelegate::shouldEnd>(c, "textFieldShouldEndEditing:");
    addMethod<&EditingDelegate::shouldReturn>(c, "textFieldShouldReturn:");
    addMethod<&EditingDelegate::pressed>(c, "pressed");
})

namespace {

class TextFieldEditingTest : public vtest::ViewTest {
protected:
    void SetUp() override {
        vtest::ViewTest::SetUp();
        m_window = alloc<UIWindow>();
        m_window->initWithFrame(CGRectMake(0, 0, 375, 812));
        m_window->makeKeyAndVisible();
        m_field = alloc<UITextField>();
        m_field->initWithFrame(CGRectMake(20, 100, 200, 30));
        m_other = vtest::makeView(CGRectMake(20, 300, 200, 100));
        m_window->addSubview(m_field);
        m_window->addSubview(m_other);
        m_delegate = alloc<EditingDelegate>();
        m_field->setDelegate(m_delegate);
    }
    void TearDown() override {
        m_delegate->end = true;
        m_field->resignFirstResponder();
        vtest::ViewTest::TearDown();
    }
    void tapAt(CGPoint p) { platform::TouchDriver(m_window).tap(p); }
    void tapField() { tapAt(CGPointMake(120, 115)); }

    Ref<UIWindow> m_window;
    Ref<UITextField> m_field;
    Ref<UIView> m_other;
    Ref<EditingDelegate> m_delegate;
};

TEST_F(TextFieldEditingTest, ATapBeginsEditingOnlyWhenTheDelegateLetsIt) {
    m_delegate->begin = false;
    tapField();
    EXPECT_FALSE(m_field->isEditing());
    EXPECT_FALSE(UIInputSetHostView::current());
    m_delegate->begin = true;
    tapField();
    EXPECT_TRUE(m_field->isEditing());
    ASSERT_TRUE(UIInputSetHostView::current());
    EXPECT_EQ(UIInputSetHostView::current()->superview(), m_window);
    EXPECT_EQ(m_delegate->asked, (std::vector<std::string>{"begin", "begin"}));
}

TEST_F(TextFieldEditingTest, TheAccessorySitsOnTheKeyboardAndBothGoWhenEditingEnds) {
    auto accessory = vtest::makeView(CGRectMake(0, 0, 10, 44));
    m_field->setInputAccessoryView(accessory);
    tapField();
    auto host = UIInputSetHostView::current();
    ASSERT_TRUE(host);
    EXPECT_EQ(host->accessoryView(), accessory);
    const CGRect shown = accessory->convertRectToView(accessory->bounds(), m_window);
    vtest::expectRect(shown, CGRectMake(0, 812 - UIInputSetHostView::kKeyboardHeight - 44, 375, 44), "accessory");
    vtest::expectRect(host->frame(), CGRectMake(0, 812 - UIInputSetHostView::kKeyboardHeight - 44, 375,
                                                 UIInputSetHostView::kKeyboardHeight + 44), "keyboard");
    m_field->insertText("abc");
    m_field->pressReturn();
    EXPECT_FALSE(m_field->isEditing());
    EXPECT_FALSE(UIInputSetHostView::current());
    EXPECT_FALSE(accessory->superview());
    EXPECT_EQ(m_field->text(), "abc");
    EXPECT_EQ(m_delegate->asked, (std::vector<std::string>{"begin", "return", "end"}));
}

TEST_F(TextFieldEditingTest, ATouchElsewhereEndsEditingUnlessTheDelegateRefuses) {
    struct Case {
        const char* where;
        CGPoint point;
        bool delegateEnds;
        bool stillEditing;
    };
    const Case cases[] = {
        {"another view", {120, 350}, true, false},
        {"another view, delegate refuses", {120, 350}, false, true},
        {"empty window", {300, 50}, true, false},
        {"the field itself", {60, 115}, true, true},
        {"the keyboard", {187, 812 - 40}, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        m_delegate->end = true;
        m_field->resignFirstResponder();
        tapField();
        ASSERT_TRUE(m_field->isEditing());
        m_delegate->end = c.delegateEnds;
        tapAt(c.point);
        EXPECT_EQ(m_field->isEditing(), c.stillEditing);
        EXPECT_EQ(static_cast<bool>(UIInputSetHostView::current()), c.stillEditing);
    }
}

TEST_F(TextFieldEditingTest, ToolbarSharesItsSpareWidthAmongFlexibleSpacesAndPressesItems) {
    auto make = [&](UIBarButtonSystemItem system, const char* title, const char* action) {
        auto item = alloc<UIBarButtonItem>();
        if (title) item->initWithTitleStyleTargetAction(title, UIBarButtonItemStylePlain, m_delegate, sel(action));
        else item->initWithBarButtonSystemItemTargetAction(system, nullptr, nullptr);
        return item;
    };
    auto flexible = [&] { return make(UIBarButtonSystemItemFlexibleSpace, nullptr, nullptr); };
    struct Case {
        const char* name;
        std::vector<Ref<UIBarButtonItem>> items;
        bool firstAtLeft, lastAtRight;
    };
    std::vector<Case> cases;
    cases.push_back({"space then two buttons", {flexible(), make(0, "Paste", "pressed"), make(0, "Copy", "pressed")},
                     false, true});
    cases.push_back({"no space packs from the left", {make(0, "Paste", "pressed"), make(0, "Copy", "pressed")}, true,
                     false});
    cases.push_back({"spaces on both sides centre", {flexible(), make(0, "Paste", "pressed"), flexible()}, false, false});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto bar = alloc<UIToolbar>();
        bar->initWithFrame(CGRectZero);
        bar->setItems(c.items);
        bar->setFrame(CGRectMake(0, 0, 375, 0));
        bar->sizeToFit();
        EXPECT_EQ(bar->bounds().size, CGSizeMake(375, UIToolbar::kHeight));
        bar->layoutIfNeeded();
        std::vector<Ref<UIButton>> buttons;
        for (const auto& item : c.items)
            if (auto b = bar->buttonForItem(*item)) buttons.push_back(b);
        ASSERT_FALSE(buttons.empty());
        EXPECT_EQ(buttons.front()->frame().minX() == UIToolbar::kEdgeMargin, c.firstAtLeft);
        EXPECT_EQ(std::abs(buttons.back()->frame().maxX() - (375 - UIToolbar::kEdgeMargin)) < 0.5, c.lastAtRight);
        for (std::size_t i = 1; i < buttons.size(); ++i)
            EXPECT_GE(buttons[i]->frame().minX(), buttons[i - 1]->frame().maxX()) << "left to right, no overlap";
    }
    // A press on a bar's button reaches the item's target.
    auto paste = make(0, "Paste", "pressed");
    auto bar = alloc<UIToolbar>();
    bar->initWithFrame(CGRectMake(0, 500, 375, UIToolbar::kHeight));
    bar->setItems({flexible(), paste});
    m_window->addSubview(bar);
    m_window->layoutIfNeeded();
    m_delegate->asked.clear();
    auto button = bar->buttonForItem(*paste);
    tapAt(button->convertPointToView(CGPointMake(button->bounds().midX(), button->bounds().midY()), m_window));
    EXPECT_EQ(m_delegate->asked, (std::vector<std::string>{"pressed"}));
}

TEST_F(TextFieldEditingTest, KitCheckmarkIsATemplateDiscWithTheCheckCutOut) {
    EXPECT_FALSE(UIImage::kitImageNamed(""));
    EXPECT_FALSE(UIImage::kitImageNamed("UITintedCircularButtonCheckmark"));
    auto check = UIImage::kitImageNamed("UITintedCircularButtonCheckmark.png");
    ASSERT_TRUE(check);
    EXPECT_TRUE(check->isTemplate());
    EXPECT_EQ(check->size(), CGSizeMake(22, 22));
    const Bitmap& b = check->bitmap();
    const auto alphaAt = [&](double x, double y) {
        return b.at(int(x * b.width / 22), int(y * b.height / 22)) >> 24;
    };
    EXPECT_EQ(alphaAt(11, 3), 255u) << "the disc";
    EXPECT_EQ(alphaAt(0.5, 0.5), 0u) << "outside the disc";
    EXPECT_EQ(alphaAt(9.7, 14.6), 0u) << "the check's corner is cut out";
}

}  // namespace
