// The colour rows, their picker and the appearance row as a user sees them, compared with reference pictures: the
// colours page with its four previews, the picker's card in two themes, and the options page's scroll direction.
#include "prefs/pane/VNTPrimraryController.h"

#include "platform/core/Runtime.h"
#include "platform/harness/Renderer.h"
#include "platform/harness/TouchDriver.h"
#include "platform/host/PSListController.h"
#include "platform/host/PSSpecifier.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UITableViewCell.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UIWindow.h"
#include "tests/prefs/pane/PaneFixture.h"
#include "tests/support/Snapshot.h"

#include <string>

namespace {

using platform::msgSend;

class ChromaSnapshot : public panetest::PaneFixture {
protected:
    bool matches(const std::string& name) {
        m_window->layoutIfNeeded();
        return vantile::testing::matchesSnapshot(platform::harness::renderView(m_window), "pane/" + name);
    }
    // The root page, then one of its sub-pages pushed by its controller's name.
    void openSubPage(const char* controller) {
        auto root = makeRoot();
        present(root);
        settle();
        auto row = PSSpecifier::groupSpecifierWithName("");
        row->setIdentifier(controller);
        msgSend<void>(root, sel("openController:"), id(row));
        settle();
        ASSERT_EQ(m_navigation->topViewController()->className(), controller);
    }
    void storeColours() {
        writeDomain({{"toggleVantile", Value(true)},
                     {"vantileCellsChroma", Value("FF9F0AFF")},
                     {"vantileCellsFontChroma", Value("1C1C1E80")},
                     {"vantileStatusONChroma", Value("30D158FF")}});
    }
};

TEST_F(ChromaSnapshot, ColoursPageShowsFourPreviews) {
    storeColours();
    storeThemes({"Default"});
    openSubPage("VNTColoursController");
    EXPECT_TRUE(matches("colours-page"));
}

TEST_F(ChromaSnapshot, ColourCardInDefaultAndStorm) {
    for (const char* theme : {"Default", "Storm"}) {
        SCOPED_TRACE(theme);
        storeColours();
        storeThemes({theme});
        openSubPage("VNTColoursController");
        ASSERT_FALSE(HasFatalFailure());
        // The first colour row, tapped at its middle as a finger would.
        auto page = cast<PSListController>(m_navigation->topViewController());
        ASSERT_TRUE(page);
        Ref<UITableViewCell> colourRow;
        for (const auto& cell : page->table()->visibleCells())
            if (!colourRow && cell->className() == "VNTChromaCell") colourRow = cell;
        ASSERT_TRUE(colourRow) << "a colour row is on screen";
        platform::TouchDriver(m_window).tap(colourRow->convertPointToView(
            CGPointMake(colourRow->bounds().midX(), colourRow->bounds().midY()), m_window));
        settle();
        ASSERT_TRUE(m_navigation->topViewController()->presentedViewController()) << "the picker is up";
        EXPECT_TRUE(matches(std::string("colour-card-") + theme));
        m_navigation->topViewController()->dismissViewControllerAnimatedCompletion(false);
        settle();
    }
}

TEST_F(ChromaSnapshot, ScrollDirectionAsAppearanceCards) {
    writeDomain({{"toggleVantile", Value(true)}, {"vantileFlowDirection", Value(1)}});
    storeThemes({"Default"});
    openSubPage("VNTOptionsController");
    EXPECT_TRUE(matches("appearance-row"));
}

}  // namespace
