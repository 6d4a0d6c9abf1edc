// What a user sees of the pane, compared with reference pictures: the root page in two themes, the first-run guide
// and a sub-page. Light appearance; the clock is the fixture's, so the greeting is the same on every run.
#include "prefs/pane/VNTPrimraryController.h"

#include "platform/core/Runtime.h"
#include "platform/harness/Renderer.h"
#include "platform/host/PSSpecifier.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UIWindow.h"
#include "tests/prefs/pane/PaneFixture.h"
#include "tests/support/Snapshot.h"

#include <string>

namespace {

using platform::msgSend;

class PaneSnapshot : public panetest::PaneFixture {
protected:
    bool matches(const std::string& name) {
        m_window->layoutIfNeeded();
        return vantile::testing::matchesSnapshot(platform::harness::renderView(m_window), "pane/" + name);
    }
};

TEST_F(PaneSnapshot, RootPageInDefaultAndStorm) {
    for (const char* theme : {"Default", "Storm"}) {
        SCOPED_TRACE(theme);
        storeThemes({theme});
        present(makeRoot());
        settle();
        EXPECT_TRUE(matches(std::string("root-") + theme));
    }
}

TEST_F(PaneSnapshot, FirstRunGuide) {
    removeDomain();
    present(makeRoot());
    settle();
    ASSERT_TRUE(m_navigation->presentedViewController()) << "the guide is up on a first run";
    EXPECT_TRUE(matches("guide"));
}

TEST_F(PaneSnapshot, ProfileSubPageInOcean) {
    storeThemes({"Ocean"});
    auto root = makeRoot();
    present(root);
    settle();
    auto row = PSSpecifier::groupSpecifierWithName("Profile");
    row->setIdentifier("VNTProfileController");
    msgSend<void>(root, sel("openController:"), id(row));
    settle();
    ASSERT_EQ(m_navigation->topViewController()->className(), "VNTProfileController");
    EXPECT_TRUE(matches("profile-Ocean"));
}

}  // namespace
