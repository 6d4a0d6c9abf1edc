#include "platform/ui/UISegmentedControl.h"
#include "platform/harness/ViewDump.h"
#include "platform/ui/UISwitch.h"
#include "platform/ui/UITextField.h"
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

}  // namespace
