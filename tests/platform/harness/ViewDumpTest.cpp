#include "platform/harness/ViewDump.h"

#include "platform/gfx/UIColor.h"
#include "platform/harness/DumpsProperties.h"
#include "platform/harness/JSONWriter.h"
#include "platform/ui/CALayer.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UIScreen.h"
#include "tests/support/DashboardFixture.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace vantile::testing;

namespace {

// A control-like view that adds its state through the dump hook.
class ToggleLikeView : public UIView, public platform::harness::DumpsProperties {
public:
    void dumpProperties(JSONWriter& w) const override { w.field("on", true); }
};

std::string fmt(double v) {
    std::ostringstream os;
    os << v;
    return os.str();
}

class ViewDumpTest : public ::testing::Test {
protected:
    void SetUp() override { UIScreen::setDeviceProfile("iphone-8"); }
    void TearDown() override { UIScreen::resetDeviceProfile(); }
    static void expectHas(const std::string& dump, const std::string& piece) {
        EXPECT_NE(dump.find(piece), std::string::npos) << "missing: " << piece;
    }
};

TEST_F(ViewDumpTest, CardFieldsAreThereWithWindowFrames) {
    auto window = makeWindow(1);
    auto card = addCard(window, {{5, 50}, {177.5, 120}}, "gear", "General", "3 installed");
    const std::string dump = platform::harness::dumpViewTree(window);
    expectHas(dump, "\"format\": \"vantile-view-dump/1\"");
    expectHas(dump, "\"profile\": \"iphone-8\"");
    expectHas(dump, "\"size\": [375, 667]");
    // The icon's frame is in window coordinates: container origin + (centred x, top + 15).
    expectHas(dump, "\"frame\": [" + fmt(5 + (177.5 - 60) / 2) + ", 65, 60, 60]");
    expectHas(dump, "\"source\": \"symbol:gear\"");
    expectHas(dump, "\"template\": true");
    expectHas(dump, "\"text\": \"General\"");
    expectHas(dump, "\"textColorName\": \"labelColor\"");
    expectHas(dump, "\"name\": \".SFUI-Bold\"");
    expectHas(dump, "\"size\": 14");
    expectHas(dump, "\"text\": \"3 installed\"");
    expectHas(dump, "\"cornerRadius\": 15");
    expectHas(dump, "\"cornerCurve\": \"continuous\"");
    expectHas(dump, "\"backgroundColor\": [1, 1, 1, 1]");
    expectHas(dump, "\"backgroundColor\": [0.95, 0.95, 0.96, 1]");
    expectHas(dump, "\"numberOfLines\": 2");
}

TEST_F(ViewDumpTest, StateOfHiddenFadedAndHookedViews) {
    auto window = makeWindow(2);
    auto hidden = alloc<UILabel>();
    hidden->initWithFrame({{0, 0}, {10, 10}});
    hidden->setHidden(true);
    hidden->setText("hint \"quoted\"\n2nd");
    window->addSubview(hidden);
    auto faded = alloc<UIView>();
    faded->initWithFrame({{0, 0}, {10, 10}});
    faded->setAlpha(0.25);
    faded->setTag(6900);
    window->addSubview(faded);
    auto toggle = alloc<ToggleLikeView>();
    toggle->initWithFrame({{0, 0}, {51, 31}});
    window->addSubview(toggle);
    auto empty = alloc<UIImageView>();
    empty->initWithFrame({{0, 0}, {5, 5}});
    window->addSubview(empty);
    const std::string dump = platform::harness::dumpViewTree(window);
    expectHas(dump, "\"hidden\": true");
    expectHas(dump, "\"text\": \"hint \\\"quoted\\\"\\n2nd\"");
    expectHas(dump, "\"alpha\": 0.25");
    expectHas(dump, "\"tag\": 6900");
    expectHas(dump, "\"on\": true");
    expectHas(dump, "\"image\": null");
    expectHas(dump, "\"style\": 2");
    expectHas(dump, "\"textColor\": [1, 1, 1, 1]") ;  // labelColor resolved dark
    EXPECT_EQ(platform::harness::dumpViewTree(nullptr), "");
}

TEST_F(ViewDumpTest, SubviewsAppearInDrawingOrder) {
    auto window = makeWindow(1);
    auto back = alloc<UILabel>();
    back->init();
    back->setText("back");
    auto front = alloc<UILabel>();
    front->init();
    front->setText("front");
    window->addSubview(front);
    window->addSubview(back);
    front->layer()->setZPosition(10);
    const std::string dump = platform::harness::dumpViewTree(window);
    EXPECT_LT(dump.find("\"back\""), dump.find("\"front\""));
    expectHas(dump, "\"zPosition\": 10");
}

}  // namespace
