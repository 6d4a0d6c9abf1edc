// The dashboard and the card editor as the phone shows them on a 375 × 812 screen, against reference images.
#include "tests/tweak/dashboard/EditorFixture.h"

#include "platform/harness/Renderer.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UIWindow.h"
#include "tests/support/Snapshot.h"

namespace {

using vantile::testing::EditorFixture;
using vantile::testing::matchesSnapshot;

class ScreenSnapshot : public EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        ASSERT_TRUE(UIScreen::setDeviceProfile("iphone-x"));
        store(vantile::key::vantileEnabledArray,
              titles({"Wi-Fi", "Bluetooth", "Battery", "General", "Display & Brightness", "Privacy"}));
    }
    Bitmap render() const { return platform::harness::renderView(window(), {1.0, true}); }
};

TEST_F(ScreenSnapshot, DashboardWithSixCards) {
    const std::pair<const char*, long> styles[] = {{"screen/dashboard-light", 1}, {"screen/dashboard-dark", 2}};
    for (const auto& [name, style] : styles) {
        SCOPED_TRACE(name);
        showDashboard(style);
        const Bitmap shot = render();
        EXPECT_EQ(shot.width, 375);
        EXPECT_EQ(shot.height, 812);
        EXPECT_TRUE(matchesSnapshot(shot, name));
    }
}

TEST_F(ScreenSnapshot, EditorSheetOverTheDashboard) {
    store(vantile::key::vantileDisabledArray, titles({"Notifications", "Sounds & Haptics", "Siri & Search"}));
    const std::pair<const char*, long> styles[] = {{"screen/editor-light", 1}, {"screen/editor-dark", 2}};
    for (const auto& [name, style] : styles) {
        SCOPED_TRACE(name);
        open(style);
        EXPECT_TRUE(matchesSnapshot(render(), name));
    }
}

}  // namespace
