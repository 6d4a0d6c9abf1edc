#include "platform/core/RunLoop.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIImage.h"
#include "platform/harness/TouchDriver.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIBarButtonItem.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UISearchBar.h"
#include "platform/ui/UISegmentedControl.h"
#include "platform/ui/UISwitch.h"
#include "platform/ui/UITextField.h"
#include "platform/ui/UIWindow.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> g_actions;

// A target with actions that take the sender and ones that do not, as target-action allows both.
class ActionTarget : public NSObject {
    VT_OBJECT(ActionTarget, NSObject)
public:
    std::string name;
    void tapped(id sender) { g_actions.push_back(name + ".tapped" + (sender ? "(sender)" : "()")); }
    void changed() { g_actions.push_back(name + ".changed"); }
};

class ResponderView : public UIView {
    VT_OBJECT(ResponderView, UIView)
public:
    bool canBecomeFirstResponder() const override { return true; }
    void copy(id) { g_actions.push_back("responder.copy"); }
};

}  // namespace

VT_REGISTER_CLASS(ActionTarget, [](Class c) {
    platform::runtime::addMethod<&ActionTarget::tapped>(c, "tapped:");
    platform::runtime::addMethod<&ActionTarget::changed>(c, "changed");
})
VT_REGISTER_CLASS(ResponderView, [](Class c) { platform::runtime::addMethod<&ResponderView::copy>(c, "copy:"); })

namespace {

Ref<ActionTarget> target(const std::string& name) {
    auto t = alloc<ActionTarget>();
    t->name = name;
    return t;
}

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::resetRunLoop();
        g_actions.clear();
        window = alloc<UIWindow>();
        window->initWithFrame(CGRectMake(0, 0, 375, 667));
    }
    void TearDown() override {
        if (auto r = UIResponder::currentFirstResponder()) r->resignFirstResponder();
    }
    Ref<UIWindow> window;
};

TEST_F(ControlsTest, ButtonSendsEveryPairInOrderAndSkipsReleasedTargets) {
    auto button = UIButton::buttonWithType(UIButtonTypeCustom);
    button->setFrame(CGRectMake(20, 20, 100, 44));
    window->addSubview(button);
    auto first = target("first");
    auto second = target("second");
    button->addTargetActionForControlEvents(first, sel("tapped:"), UIControlEventTouchUpInside);
    button->addTargetActionForControlEvents(second, sel("tapped:"), UIControlEventTouchUpInside);
    button->addTargetActionForControlEvents(first, sel("changed"), UIControlEventTouchUpInside);
    button->addTargetActionForControlEvents(first, sel("tapped:"), UIControlEventTouchUpInside);  // a repeat
    button->addTargetActionForControlEvents(second, sel("changed"), UIControlEventValueChanged);
    {
        auto gone = target("gone");
        button->addTargetActionForControlEvents(gone, sel("tapped:"), UIControlEventTouchUpInside);
    }
    platform::TouchDriver(window).tap({70, 42});
    EXPECT_EQ(g_actions, (std::vector<std::string>{"first.tapped(sender)", "second.tapped(sender)", "first.changed"}));
    EXPECT_EQ(button->allTargets().size(), 2u);

    // Lifting outside the slack is no tap; a disabled button gets nothing.
    g_actions.clear();
    platform::TouchDriver(window).drag({{70, 42}, {70, 300}}, 0.2);
    button->setEnabled(false);
    platform::TouchDriver(window).tap({70, 42});
    EXPECT_TRUE(g_actions.empty());
}

TEST_F(ControlsTest, ButtonContentFallsBackToTheNormalState) {
    auto button = UIButton::buttonWithType(UIButtonTypeSystem);
    button->setTitleForState("Done", UIControlStateNormal);
    auto red = UIColor::systemRedColor();
    button->setTitleColorForState(red, UIControlStateNormal);
    button->setTitleForState("Pressed", UIControlStateHighlighted);
    EXPECT_EQ(button->titleForState(UIControlStateSelected), std::optional<std::string>("Done"));
    EXPECT_EQ(button->titleForState(UIControlStateHighlighted), std::optional<std::string>("Pressed"));
    EXPECT_EQ(button->titleColorForState(UIControlStateDisabled), red);
    button->setHighlighted(true);
    EXPECT_EQ(button->titleLabel()->text(), "Pressed");
    EXPECT_EQ(UIButton::buttonWithType(UIButtonTypeCustom)->titleForState(UIControlStateNormal), std::nullopt);
}

TEST_F(ControlsTest, ImageFillsTheButtonLessItsInsetsWithFillAlignment) {
    auto button = alloc<UIButton>();
    button->initWithFrame(CGRectMake(0, 0, 30, 30));
    button->setImageForState(UIImage::systemImageNamed("gear"), UIControlStateNormal);
    button->setImageEdgeInsets({7, 7, 7, 7});
    button->setContentHorizontalAlignment(UIControlContentHorizontalAlignmentFill);
    button->setContentVerticalAlignment(UIControlContentVerticalAlignmentFill);
    button->layoutIfNeeded();
    EXPECT_EQ(button->imageView()->frame(), CGRectMake(7, 7, 16, 16));
}

TEST_F(ControlsTest, SwitchToggleSendsValueChangedBeforeTouchUp) {
    auto sw = alloc<UISwitch>();
    sw->initWithFrame(CGRectMake(100, 100, 10, 10));
    EXPECT_EQ(sw->frame().size, UISwitch::kSize);
    window->addSubview(sw);
    auto t = target("t");
    sw->addTargetActionForControlEvents(t, sel("changed"), UIControlEventValueChanged);
    sw->addTargetActionForControlEvents(t, sel("tapped:"), UIControlEventTouchUpInside);
    sw->setOn(true);  // code changes send nothing
    EXPECT_TRUE(g_actions.empty());
    platform::TouchDriver(window).tap({120, 115});
    EXPECT_FALSE(sw->isOn());
    EXPECT_EQ(g_actions, (std::vector<std::string>{"t.changed", "t.tapped(sender)"}));
    // The knob sits at the side of the state once the animation ran.
    platform::RunLoop::main().advance(1);
    EXPECT_LT(sw->knobView()->frame().midX(), UISwitch::kSize.width / 2);
    g_actions.clear();
    sw->setEnabled(false);
    platform::TouchDriver(window).tap({120, 115});
    EXPECT_FALSE(sw->isOn());
    EXPECT_TRUE(g_actions.empty());
}

TEST_F(ControlsTest, SegmentedControlSelectsByTapAndKeepsOutOfRangeIndexes) {
    auto seg = alloc<UISegmentedControl>();
    seg->initWithItems({"Social", "Settings", "Themes"});
    seg->setFrame(CGRectMake(0, 200, 300, 32));
    seg->setSelectedSegmentIndex(0);
    window->addSubview(seg);
    auto t = target("t");
    seg->addTargetActionForControlEvents(t, sel("changed"), UIControlEventValueChanged);
    platform::TouchDriver driver(window);
    driver.tap({250, 216});
    EXPECT_EQ(seg->selectedSegmentIndex(), 2);
    driver.tap({250, 216});  // the same segment again: no change, no event
    EXPECT_EQ(g_actions, (std::vector<std::string>{"t.changed"}));
    window->layoutIfNeeded();
    EXPECT_EQ(seg->selectionView()->frame(), seg->frameOfSegment(2).insetBy(2, 2));
    seg->setSelectedSegmentIndex(5);
    window->layoutIfNeeded();
    EXPECT_EQ(seg->selectedSegmentIndex(), 5);
    EXPECT_TRUE(seg->selectionView()->isHidden());
    EXPECT_EQ(seg->titleForSegmentAtIndex(5), "");
}

TEST_F(ControlsTest, NilTargetActionsReachTheFirstResponder) {
    auto responder = alloc<ResponderView>();
    responder->initWithFrame(CGRectMake(0, 0, 10, 10));
    window->addSubview(responder);
    window->makeKeyAndVisible();
    auto app = UIApplication::sharedApplication();
    EXPECT_FALSE(app->sendActionToFromForEvent(sel("copy:"), nullptr, nullptr, nullptr));
    ASSERT_TRUE(responder->becomeFirstResponder());
    EXPECT_TRUE(app->sendActionToFromForEvent(sel("copy:"), nullptr, nullptr, nullptr));
    EXPECT_EQ(g_actions, (std::vector<std::string>{"responder.copy"}));

    // The search field's text is selected by "selectAll:" sent to whoever is first responder.
    auto bar = alloc<UISearchBar>();
    bar->initWithFrame(CGRectMake(0, 100, 375, UISearchBar::kHeight));
    window->addSubview(bar);
    bar->setText("Wi-Fi 💜");
    EXPECT_EQ(bar->searchTextField()->selectedRange(), (NSRange{8, 0}));
    ASSERT_TRUE(bar->becomeFirstResponder());
    EXPECT_TRUE(app->sendActionToFromForEvent(sel("selectAll:"), nullptr, nullptr, nullptr));
    EXPECT_EQ(bar->searchTextField()->selectedRange(), (NSRange{0, 8}));
    bar->searchTextField()->insertText("Bluetooth");
    EXPECT_EQ(bar->text(), "Bluetooth");
}

TEST_F(ControlsTest, NilTargetActionsClimbFromTheSenderWithoutFirstResponder) {
    // A control inside a view that answers the action, with nobody first responder: the chain starts at the control.
    auto container = alloc<ResponderView>();
    container->initWithFrame(CGRectMake(0, 0, 200, 200));
    window->addSubview(container);
    window->makeKeyAndVisible();
    auto button = UIButton::buttonWithType(UIButtonTypeSystem);
    button->setFrame(CGRectMake(20, 20, 100, 40));
    button->addTargetActionForControlEvents(nullptr, sel("copy:"), UIControlEventTouchUpInside);
    button->addTargetActionForControlEvents(nullptr, sel("nobodyAnswers:"), UIControlEventTouchUpInside);
    container->addSubview(button);
    ASSERT_FALSE(UIResponder::currentFirstResponder());
    platform::TouchDriver(window).tap({70, 40});
    EXPECT_EQ(g_actions, (std::vector<std::string>{"responder.copy"})) << "an action nobody answers is dropped";

    auto app = UIApplication::sharedApplication();
    EXPECT_TRUE(app->sendActionToFromForEvent(sel("copy:"), nullptr, button, nullptr));
    EXPECT_FALSE(app->sendActionToFromForEvent(sel("nobodyAnswers:"), nullptr, button, nullptr));
    // A sender that is no responder leaves the key window as the start, which does not answer "copy:".
    EXPECT_FALSE(app->sendActionToFromForEvent(sel("copy:"), nullptr, alloc<NSObject>(), nullptr));

    // A first responder still comes first: a field elsewhere that does not answer, then its own chain only.
    auto field = alloc<UITextField>();
    field->initWithFrame(CGRectMake(0, 300, 200, 30));
    window->addSubview(field);
    ASSERT_TRUE(field->becomeFirstResponder());
    g_actions.clear();
    EXPECT_FALSE(app->sendActionToFromForEvent(sel("copy:"), nullptr, button, nullptr));
    EXPECT_TRUE(g_actions.empty());
    field->resignFirstResponder();
}

TEST_F(ControlsTest, BarButtonItemPressesItsWeakTarget) {
    auto t = target("bar");
    auto item = alloc<UIBarButtonItem>();
    item->initWithImageStyleTargetAction(UIImage::systemImageNamed("gear"), UIBarButtonItemStylePlain, t, sel("tapped:"));
    item->setImageInsets({-2, -10, 0, 0});
    EXPECT_TRUE(item->press());
    EXPECT_EQ(g_actions, (std::vector<std::string>{"bar.tapped(sender)"}));
    t.reset();
    EXPECT_FALSE(item->press());
    EXPECT_EQ(g_actions.size(), 1u);
}

}  // namespace
