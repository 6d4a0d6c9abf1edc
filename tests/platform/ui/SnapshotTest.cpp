#include "platform/core/Clock.h"
#include "platform/harness/Renderer.h"
#include "platform/harness/ViewDump.h"
#include "platform/ui/UIScreen.h"
#include "tests/support/DashboardFixture.h"
#include "tests/support/Snapshot.h"

#include <gtest/gtest.h>

using namespace vantile::testing;

namespace {

// Whole screens and single cards as they matter, each with its JSON dump beside the picture. The clock is set to
// the phone's classic 9:41 so the status bar is stable.
class Snapshots : public ::testing::Test {
protected:
    void SetUp() override {
        m_savedNow = platform::Clock::now();
        platform::Clock::setNow(platform::Clock::kStart + 9 * 3600 + 41 * 60);
    }
    void TearDown() override {
        platform::Clock::setNow(m_savedNow);
        UIScreen::resetDeviceProfile();
    }
    void check(const Ref<UIView>& root, const std::string& name, double scale = 0) {
        EXPECT_TRUE(matchesSnapshot(platform::harness::renderView(root, {.scale = scale}), name));
        EXPECT_TRUE(matchesTextSnapshot(platform::harness::dumpViewTree(root), name + ".json"));
    }
    double m_savedNow = 0;
};

// A stand-in, not the tweak's card: the platform's tests cannot link the add-on, so this picture is of the
// card-shaped views of the test support (addCard: five views with the card's geometry and a symbol for its icon),
// checking that the renderer draws such a tile alike in light and dark. The real cards' pictures come from the cards
// themselves, in the tweak's tests (StatusCardSnapshots).
TEST_F(Snapshots, SingleCardStandInLightAndDark) {
    UIScreen::setDeviceProfile("iphone-8");
    for (long style : {1L, 2L}) {
        auto page = alloc<UIView>();
        page->initWithFrame({{0, 0}, {187.5, 130}});
        page->setOverrideUserInterfaceStyle(style);
        addCard(page, {{5, 5}, {177.5, 120}}, "person.crop.circle", "Touch/Face ID & Passcode", "");
        check(page, style == 1 ? "card/passcode-light" : "card/passcode-dark", 2);
    }
}

TEST_F(Snapshots, DashboardOnAHomeButtonPhone) {
    UIScreen::setDeviceProfile("iphone-8");
    auto window = makeWindow(1);
    addCardGrid(window, 8);
    check(window, "screen/dashboard-iphone-8-light");
}

TEST_F(Snapshots, DashboardOnANotchedPhoneInDarkMode) {
    UIScreen::setDeviceProfile("iphone-x");
    auto window = makeWindow(2);
    addCardGrid(window, 6);
    check(window, "screen/dashboard-iphone-x-dark", 1);
}

}  // namespace
