// What a user sees of the banner and the birthday card, against reference pictures: the banner with no event and
// on a holiday in two themes, pulled down, and the card over the profile page.
#include "prefs/pane/VNTPrimraryController.h"
#include "prefs/pane/VNTProfileController.h"

#include "platform/core/Clock.h"
#include "platform/core/Runtime.h"
#include "platform/harness/Renderer.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UIWindow.h"
#include "tests/prefs/pane/PaneFixture.h"
#include "tests/support/Snapshot.h"

#include <string>

namespace {

using platform::msgSend;

constexpr double k2024May14 = 1715644800 + 10 * 3600;  // an ordinary Tuesday morning
constexpr double k2024Dec25 = 1735084800 + 10 * 3600;

class BannerSnapshot : public panetest::PaneFixture {
protected:
    bool matches(const std::string& name) {
        m_window->layoutIfNeeded();
        return vantile::testing::matchesSnapshot(platform::harness::renderView(m_window), "pane/" + name);
    }
};

TEST_F(BannerSnapshot, PlainAndHolidayInTwoThemes) {
    const std::pair<double, const char*> days[] = {{k2024May14, "plain"}, {k2024Dec25, "christmas"}};
    for (const char* theme : {"Default", "Storm"}) {
        for (const auto& [when, day] : days) {
            SCOPED_TRACE(std::string(theme) + " " + day);
            storeThemes({theme});
            platform::Clock::setNow(when);
            present(makeRoot());
            settle();
            EXPECT_TRUE(matches(std::string("banner-") + day + "-" + theme));
        }
    }
}

TEST_F(BannerSnapshot, PulledDown) {
    storeThemes({"Ocean"});
    platform::Clock::setNow(k2024May14);
    auto root = makeRoot();
    present(root);
    settle();
    root->table()->setContentOffset(CGPointMake(0, -470));
    EXPECT_TRUE(matches("banner-pulled-Ocean"));
}

TEST_F(BannerSnapshot, BirthdayCardOverTheProfilePage) {
    storeThemes({"Default"});
    platform::Clock::setNow(k2024May14);
    auto profile = alloc<VNTProfileController>();
    profile->setBundlePath(std::string(panetest::kBundle));
    profile->init();
    present(profile);
    settle();
    msgSend<void>(profile, sel("displayBirthdayDatePicker"));
    settle();
    EXPECT_TRUE(matches("birthday-card"));
}

}  // namespace
