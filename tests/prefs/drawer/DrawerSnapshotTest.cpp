// The open drawer as a user sees it over the pane's root page, on each of its three panels, in two themes.
#include "prefs/drawer/VNTDrawerView.h"
#include "prefs/pane/VNTPrimraryController.h"

#include "platform/harness/Renderer.h"
#include "platform/harness/TouchDriver.h"
#include "platform/ui/UISegmentedControl.h"
#include "platform/ui/UIWindow.h"
#include "tests/prefs/pane/PaneFixture.h"
#include "tests/support/Snapshot.h"

#include <string>

namespace {

class DrawerSnapshot : public panetest::PaneFixture {};

TEST_F(DrawerSnapshot, OpenOnEachPanelInDefaultAndStorm) {
    for (const char* theme : {"Default", "Storm"}) {
        storeThemes({theme});
        present(makeRoot());
        settle();
        // Opened as a person does: a tap on the strip.
        auto drawer = VNTPrimraryController::drawerView();
        const CGPoint strip = drawer->convertPointToView(CGPointMake(10, drawer->bounds().midY()), m_window);
        platform::TouchDriver(m_window).tap(strip);
        settle();
        ASSERT_TRUE(drawer->isOpened()) << theme;
        const char* panels[] = {"social", "settings", "themes"};
        for (long index = 0; index < 3; ++index) {
            SCOPED_TRACE(std::string(theme) + " " + panels[index]);
            auto control = VNTPrimraryController::segmentedControl();
            const CGRect segment = control->convertRectToView(control->frameOfSegment(index), m_window);
            platform::TouchDriver(m_window).tap(CGPointMake(segment.midX(), segment.midY()));
            settle();
            m_window->layoutIfNeeded();
            EXPECT_TRUE(vantile::testing::matchesSnapshot(platform::harness::renderView(m_window),
                                                          std::string("drawer/") + panels[index] + "-" + theme));
        }
    }
}

}  // namespace
