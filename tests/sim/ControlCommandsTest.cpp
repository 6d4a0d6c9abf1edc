// The scenario commands that use controls as a person does (toggle, slide, type, return, a tap on a segment) and
// the expectations that read them back (switch, slider, field, segment, tint), against a real window.
#include "sim/scenario/Records.h"
#include "sim/scenario/ScenarioErrors.h"
#include "sim/scenario/ScenarioRunner.h"
#include "sim/scenario/ScenarioScript.h"
#include "tests/sim/ScenarioTestPhone.h"

#include "platform/core/RunLoop.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/UIColor.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIBarButtonItem.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UINavigationItem.h"
#include "platform/ui/UISegmentedControl.h"
#include "platform/ui/UISlider.h"
#include "platform/ui/UISwitch.h"
#include "platform/ui/UITextField.h"
#include "platform/ui/UITextView.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <unistd.h>

namespace {

int g_returns = 0;

class ReturnWatcher : public NSObject {
    VT_OBJECT(ReturnWatcher, NSObject)
public:
    bool textFieldShouldReturn(Ref<UITextField> field) {
        ++g_returns;
        field->resignFirstResponder();
        return false;
    }
};

}  // namespace

VT_REGISTER_CLASS(ReturnWatcher, [](Class c) {
    platform::runtime::addMethod<&ReturnWatcher::textFieldShouldReturn>(c, "textFieldShouldReturn:");
})

namespace {

using namespace sim::scenario;
namespace fs = std::filesystem;

class ControlCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::resetRunLoop();
        UIApplication::sharedApplication()->reset();
        clearRecords();
        g_returns = 0;
        static int counter = 0;
        dir = fs::temp_directory_path() / ("vantile-control-commands-" + std::to_string(getpid()) + "-" +
                                           std::to_string(++counter));
        fs::create_directories(dir);
        phone = std::make_unique<scenariotest::WindowPhone>();
    }
    void TearDown() override {
        if (auto r = UIResponder::currentFirstResponder()) r->resignFirstResponder();
        phone.reset();
        UIApplication::sharedApplication()->reset();
        platform::resetRunLoop();
        fs::remove_all(dir);
    }
    int play(const std::string& text) {
        Script script = parseScript(text, "test");
        RunnerOptions options;
        options.root = dir / "root";
        options.out = dir / "out";
        options.baseFolder = dir;
        ScenarioRunner runner(*phone, options);
        std::ostringstream err;
        int status = runner.run(script, err);
        errors = err.str();
        return status;
    }
    // A row of the page: a title at the left and a control at the right, in a container of their own, as a
    // table row holds them.
    template <class Control>
    Ref<Control> addRow(const std::string& title, CGFloat y, Ref<Control> control, CGFloat controlWidth) {
        auto row = alloc<UIView>();
        row->initWithFrame(CGRectMake(0, y, 375, 44));
        phone->home->view()->addSubview(row);
        auto label = alloc<UILabel>();
        label->initWithFrame(CGRectMake(16, 0, 100, 44));
        label->setText(title);
        row->addSubview(label);
        CGRect f = control->frame();
        control->setFrame(CGRectMake(375 - 16 - controlWidth, (44 - f.height()) / 2, controlWidth, f.height()));
        row->addSubview(control);
        return control;
    }
    static Ref<UISwitch> makeSwitch() {
        auto s = alloc<UISwitch>();
        s->initWithFrame(CGRectZero);
        return s;
    }

    fs::path dir;
    std::unique_ptr<scenariotest::WindowPhone> phone;
    std::string errors;
};

TEST_F(ControlCommandsTest, ToggleTapsTheRowsSwitchAndExpectSwitchReadsStateFlagAndTint) {
    auto haptics = addRow("Haptics", 150, makeSwitch(), UISwitch::kSize.width);
    auto other = addRow("Other", 200, makeSwitch(), UISwitch::kSize.width);
    ASSERT_EQ(play("expect switch Haptics off enabled default\ntoggle Haptics\nexpect switch Haptics on"), 0) << errors;
    EXPECT_TRUE(haptics->isOn());
    EXPECT_FALSE(other->isOn()) << "only the switch of that row";

    haptics->setEnabled(false);
    haptics->setOnTintColor(UIColor::colorWithRedGreenBlueAlpha(140 / 255.0, 77 / 255.0, 230 / 255.0, 1));
    EXPECT_EQ(play("toggle Haptics\nexpect switch Haptics on disabled 8c4de6"), 0) << errors
        << " (a disabled switch ignores the tap)";
    struct Case {
        const char* step;
        int status;
        const char* message;
    };
    const Case cases[] = {
        {"expect switch Haptics off", kExitExpectationFailed, "actual:   on"},
        {"expect switch Haptics on enabled", kExitExpectationFailed, "on disabled"},
        {"expect switch Haptics on FF0000", kExitExpectationFailed, "#8C4DE6"},
        {"expect switch Haptics on \"#FF0000\"", kExitExpectationFailed, "expected: on #FF0000"},
        {"expect switch Haptics on F00", kExitStepError, "RRGGBB"},
        {"expect switch Haptics maybe", kExitStepError, "on or off"},
        {"expect switch Nowhere on", kExitStepError, "no switch on screen belongs to \"Nowhere\""},
        {"toggle Nowhere", kExitStepError, "no switch on screen belongs to \"Nowhere\""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(play(c.step), c.status) << c.step << ": " << errors;
        EXPECT_NE(errors.find(c.message), std::string::npos) << c.step << ": " << errors;
    }
}

TEST_F(ControlCommandsTest, TheNavigationBarsSwitchIsNamedBar) {
    auto master = makeSwitch();
    auto item = alloc<UIBarButtonItem>();
    item->initWithCustomView(master);
    phone->home->navigationItem()->setRightBarButtonItem(item);
    phone->window()->layoutIfNeeded();
    ASSERT_EQ(play("expect switch bar off\ntoggle bar\nexpect switch bar on enabled"), 0) << errors;
    EXPECT_TRUE(master->isOn());
}

TEST_F(ControlCommandsTest, SlideDragsTheThumbToTheValue) {
    auto slider = alloc<UISlider>();
    slider->initWithFrame(CGRectMake(0, 0, 100, UISlider::kHeight));
    slider->setMaximumValue(10);
    addRow("Volume", 150, slider, 200);
    ASSERT_EQ(play("slide Volume 7.5\nexpect slider Volume 7.5"), 0) << errors;
    EXPECT_NEAR(slider->value(), 7.5, 1e-3);
    ASSERT_EQ(play("slide Volume 0\nexpect slider Volume 0\nslide Volume 10\nexpect slider Volume 10"), 0) << errors;

    struct Case {
        const char* step;
        int status;
        const char* message;
    };
    const Case cases[] = {
        {"expect slider Volume 3", kExitExpectationFailed, "actual:   10"},
        {"slide Volume 11", kExitStepError, "outside the slider's range"},
        {"slide Volume loud", kExitStepError, "wants a number"},
        {"slide Nowhere 1", kExitStepError, "no slider on screen belongs to \"Nowhere\""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(play(c.step), c.status) << c.step << ": " << errors;
        EXPECT_NE(errors.find(c.message), std::string::npos) << c.step << ": " << errors;
    }
    EXPECT_EQ(slider->value(), 10) << "refused steps move nothing";
}

TEST_F(ControlCommandsTest, TypeAndReturnGoToTheFieldBeingEdited) {
    auto field = alloc<UITextField>();
    field->initWithFrame(CGRectMake(0, 0, 100, 30));
    field->setPlaceholder("Your name");
    auto watcher = alloc<ReturnWatcher>();
    field->setDelegate(watcher);
    addRow("Name", 150, field, 200);

    EXPECT_EQ(play("type Zoe"), kExitStepError);
    EXPECT_NE(errors.find("nothing takes typing"), std::string::npos) << errors;
    EXPECT_EQ(play("return"), kExitStepError);

    ASSERT_EQ(play("tap \"Your name\"\ntype \"Zoe \"\ntype Ann\nexpect field Name \"Zoe Ann\"\nreturn"), 0) << errors;
    EXPECT_EQ(field->text(), "Zoe Ann");
    EXPECT_EQ(g_returns, 1);
    EXPECT_FALSE(field->isEditing()) << "the delegate ended editing on return";
    EXPECT_EQ(play("expect field Name Zoe"), kExitExpectationFailed);
    EXPECT_NE(errors.find("actual:   \"Zoe Ann\""), std::string::npos) << errors;
}

TEST_F(ControlCommandsTest, TypingIntoATextViewAndReturnAddsALine) {
    auto textView = alloc<UITextView>();
    textView->initWithFrame(CGRectMake(16, 300, 300, 120));
    textView->setText("Notes");
    phone->home->view()->addSubview(textView);
    ASSERT_EQ(play("expect field Notes Notes\ntap Notes\ntype \":\"\nreturn\ntype more"), 0) << errors;
    EXPECT_EQ(textView->text(), "Notes:\nmore");

    textView->setEditable(false);
    EXPECT_EQ(play("type x"), kExitStepError) << "a read-only text view takes no typing";
    EXPECT_EQ(textView->text(), "Notes:\nmore");
}

TEST_F(ControlCommandsTest, ATapChoosesASegmentAndExpectSegmentReadsIt) {
    auto control = alloc<UISegmentedControl>();
    control->initWithItems({"Vertical", "Horizontal"});
    addRow("Direction", 150, control, 220);
    ASSERT_EQ(play("expect segment Direction none\ntap Horizontal\nexpect segment Direction Horizontal\n"
                   "expect segment Vertical Horizontal"),
              0)
        << errors;
    EXPECT_EQ(control->selectedSegmentIndex(), 1);
    EXPECT_EQ(play("expect segment Direction Vertical"), kExitExpectationFailed);
}

TEST_F(ControlCommandsTest, TintIsTheColourAViewDrawsItsTintedPartsIn) {
    auto name = alloc<UILabel>();
    name->initWithFrame(CGRectMake(16, 150, 200, 30));
    name->setText("Accent");
    phone->home->view()->addSubview(name);
    ASSERT_EQ(play("expect tint Accent default"), 0) << errors;
    phone->home->view()->setTintColor(UIColor::colorWithRedGreenBlueAlpha(1, 0.5, 0, 1));
    ASSERT_EQ(play("expect tint Accent ff8000\nexpect tint Accent \"#FF8000\""), 0) << errors;
    EXPECT_EQ(play("expect tint Accent default"), kExitExpectationFailed);
    EXPECT_NE(errors.find("#FF8000"), std::string::npos) << errors;
    EXPECT_EQ(play("expect tint Nowhere FF8000"), kExitStepError);
    EXPECT_EQ(play("expect tint Accent orange"), kExitStepError);
}

}  // namespace
