#include "platform/ui/UISegmentedControl.h"
#include "platform/harness/ViewDump.h"
#include "platform/ui/UISlider.h"
#include "platform/ui/UISwitch.h"
#include "platform/ui/UITextField.h"
#include "platform/ui/UITextView.h"
#include "platform/ui/UIWindow.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

namespace {

// The dump is read by scenarios; the control fields must carry the state the tests of the Parts look for.
TEST(ControlDump, SwitchSegmentsAndFieldStateAppear) {
    auto window = alloc<UIWindow>();
    window->initWithFrame(CGRectMake(0, 0, 375, 667));
    auto sw = alloc<UISwitch>();
    sw->initWithFrame(CGRectZero);
    sw->setOn(true);
    sw->setEnabled(false);
    window->addSubview(sw);
    auto seg = alloc<UISegmentedControl>();
    seg->initWithItems({"Social", "Settings", "Themes"});
    seg->setSelectedSegmentIndex(2);
    window->addSubview(seg);
    auto field = alloc<UITextField>();
    field->initWithFrame(CGRectMake(0, 100, 200, 30));
    field->setText("abc");
    window->addSubview(field);
    std::string json = platform::harness::dumpViewTree(window);
    auto has = [&](const std::string& pattern) { return std::regex_search(json, std::regex(pattern)); };
    EXPECT_TRUE(has(R"("on"\s*:\s*true)")) << json.substr(0, 2000);
    EXPECT_TRUE(has(R"("enabled"\s*:\s*false)"));
    EXPECT_TRUE(has(R"("segments"\s*:\s*\[\s*"Social"\s*,\s*"Settings"\s*,\s*"Themes"\s*\])"));
    EXPECT_TRUE(has(R"("selectedSegmentIndex"\s*:\s*2)"));
    EXPECT_TRUE(has(R"("text"\s*:\s*"abc")"));
    EXPECT_TRUE(has(R"("selectedRange"\s*:\s*\[\s*3\s*,\s*0\s*\])"));
}

TEST(ControlDump, SliderTextViewAndKeyboardStateAppear) {
    auto window = alloc<UIWindow>();
    window->initWithFrame(CGRectMake(0, 0, 375, 667));
    auto slider = alloc<UISlider>();
    slider->initWithFrame(CGRectMake(0, 0, 200, UISlider::kHeight));
    slider->setMaximumValue(10);
    slider->setMinimumValue(2);
    slider->setValue(7.5);
    slider->setContinuous(false);
    window->addSubview(slider);
    auto text = alloc<UITextView>();
    text->initWithFrame(CGRectMake(0, 100, 200, 100));
    text->setText("Q: why?");
    text->setEditable(false);
    text->setTextContainerInset(UIEdgeInsetsMake(1, 2, 3, 4));
    window->addSubview(text);
    auto field = alloc<UITextField>();
    field->initWithFrame(CGRectMake(0, 300, 200, 30));
    field->setKeyboardType(UITextField::kKeyboardNumberPad);
    window->addSubview(field);
    field->becomeFirstResponder();
    std::string json = platform::harness::dumpViewTree(window);
    field->resignFirstResponder();
    auto has = [&](const std::string& pattern) { return std::regex_search(json, std::regex(pattern)); };
    EXPECT_TRUE(has(R"("value"\s*:\s*7.5)")) << json.substr(0, 2000);
    EXPECT_TRUE(has(R"("minimumValue"\s*:\s*2)"));
    EXPECT_TRUE(has(R"("maximumValue"\s*:\s*10)"));
    EXPECT_TRUE(has(R"("continuous"\s*:\s*false)"));
    EXPECT_TRUE(has(R"("text"\s*:\s*"Q: why\?")"));
    EXPECT_TRUE(has(R"("editable"\s*:\s*false)"));
    EXPECT_TRUE(has(R"("textContainerInset"\s*:\s*\[\s*1\s*,\s*2\s*,\s*3\s*,\s*4\s*\])"));
    EXPECT_TRUE(has(R"("keyboardType"\s*:\s*4)"));
    EXPECT_TRUE(has(R"("editing"\s*:\s*true)"));
}

}  // namespace
