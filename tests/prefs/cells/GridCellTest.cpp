// The pane's grid row: captions, tags, identifiers and look of its three buttons, one row whatever the placements,
// and actions that reach the page showing it.
#include "prefs/cells/GridButton.h"
#include "prefs/cells/VNTZRVCGridCustomCella.h"

#include "platform/core/NSBundle.h"
#include "platform/core/NSMutableArray.h"
#include "platform/core/RunLoop.h"
#include "platform/gfx/UIFont.h"
#include "platform/gfx/UIImage.h"
#include "platform/harness/TouchDriver.h"
#include "platform/host/PSListController.h"
#include "platform/ui/CALayer.h"
#include "platform/ui/NSIndexPath.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UIStackView.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UIWindow.h"
#include "tests/prefs/cells/KitFixture.h"

#include <vector>

namespace {

std::vector<std::string> g_calls;

std::string senderIdentifier(const id& sender) {
    return platform::responds(sender, "identifier") ? platform::msgSend<std::string>(sender, sel("identifier")) : "?";
}

// A page like the pane's root: it answers the grid's page and guide actions, but not the changelog's.
class GridTestPage : public PSListController {
    VT_OBJECT(GridTestPage, PSListController)
public:
    void openController(id sender) { g_calls.push_back("openController:" + senderIdentifier(sender)); }
    void openUserGuideController(id sender) { g_calls.push_back("openUserGuideController:" + senderIdentifier(sender)); }
};

}  // namespace

VT_REGISTER_CLASS(GridTestPage, [](Class c) {
    platform::runtime::addMethod<&GridTestPage::openController>(c, "openController:");
    platform::runtime::addMethod<&GridTestPage::openUserGuideController>(c, "openUserGuideController:");
})

namespace {

using platform::msgSend;

class GridCellTest : public kittest::KitFixture {
protected:
    void SetUp() override {
        KitFixture::SetUp();
        g_calls.clear();
        writeStrings(vantile::kPrefsLocalizations, {{"userPROFILE", "Mein Profil"}, {"userGUIDE", "Anleitung"}});
    }

    static Ref<PSSpecifier> gridSpecifier(const char* left = "Profile", const char* middle = "User Guide",
                                          const char* right = "Changelog") {
        auto s = specifier({{"leftIcon", "profile"},
                            {"middleIcon", "guide"},
                            {"rightIcon", "changelog"},
                            {"leftLabel", left},
                            {"middleLabel", middle},
                            {"rightLabel", right},
                            {"leftClass", "VNTProfileController"},
                            {"middleClass", "VNTUserGuide"},
                            {"rightClass", "VNTChangelogController"}},
                           PSSpecifier::PSStaticTextCell);
        s->setPropertyForKey(Property("VNTZRVCGridCustomCella"), "cellClass");
        return s;
    }
    // A grid cell made as the host makes it, 100 points high across the screen, placed in `parent`.
    static Ref<VNTZRVCGridCustomCella> placedGrid(const Ref<UIView>& parent, const Ref<PSSpecifier>& s) {
        auto cell = alloc<VNTZRVCGridCustomCella>();
        msgSend<void>(cell, sel("initWithSpecifier:"), s);
        cell->setFrame(CGRectMake(0, 0, UIScreen::mainScreen()->bounds().width(), 100));
        parent->addSubview(cell);
        parent->layoutIfNeeded();
        return cell;
    }
    static Ref<UIView> plainView() {
        auto view = alloc<UIView>();
        view->initWithFrame(UIScreen::mainScreen()->bounds());
        return view;
    }
    static std::vector<Ref<UIStackView>> rowsIn(const Ref<UIView>& cell) {
        std::vector<Ref<UIStackView>> rows;
        for (const auto& v : cell->subviews())
            if (auto stack = cast<UIStackView>(v)) rows.push_back(stack);
        return rows;
    }
    static Ref<UILabel> captionOf(const Ref<GridButton>& button) {
        auto column = cast<UIStackView>(button->superview());
        return column && column->arrangedSubviews().size() == 2 ? cast<UILabel>(column->arrangedSubviews()[1]) : nullptr;
    }

    // Shows a page like the pane's root with one grid row.
    Ref<GridTestPage> showPage(const Ref<PSSpecifier>& grid) {
        auto page = alloc<GridTestPage>();
        showList(page, {PSSpecifier::groupSpecifierWithName(""), grid});
        return page;
    }
    void tapButton(const Ref<GridButton>& button) {
        ASSERT_TRUE(button);
        m_window->layoutIfNeeded();
        const CGRect b = button->bounds();
        const CGPoint centre = button->convertPointToView({b.midX(), b.midY()}, m_window);
        EXPECT_EQ(platform::TouchDriver(m_window).tap(centre), button);
    }
};

TEST_F(GridCellTest, CaptionsOfTheThreePagesAreLocalizedInTheirOwnColumnOnly) {
    struct Case {
        const char* labels[3];
        const char* captions[3];
        bool bundle;
    };
    const Case cases[] = {
        {{"Profile", "User Guide", "Changelog"}, {"Mein Profil", "Anleitung", "changeLOG"}, true},
        {{"Sections", "Colours", "Options"}, {"Sections", "Colours", "Options"}, true},
        {{"Changelog", "Profile", "User Guide"}, {"Changelog", "Profile", "User Guide"}, true},
        {{"Profile", "User Guide", "Changelog"}, {"userPROFILE", "userGUIDE", "changeLOG"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.labels[0]) + (c.bundle ? "" : " without the bundle"));
        if (!c.bundle) {
            std::filesystem::remove_all(hostPath(vantile::kPrefsLocalizations));
            platform::flushBundleCaches();
        }
        auto cell = placedGrid(plainView(), gridSpecifier(c.labels[0], c.labels[1], c.labels[2]));
        for (std::size_t i = 0; i < 3; ++i) {
            auto caption = captionOf(cell->buttonAt(i));
            ASSERT_TRUE(caption);
            EXPECT_EQ(caption->text(), c.captions[i]) << "column " << i;
        }
    }
}

TEST_F(GridCellTest, ButtonsCarryTagsIdentifiersAndTheThemedIcons) {
    EXPECT_EQ(msgSend<CGFloat>(alloc<VNTZRVCGridCustomCella>(), sel("preferredHeightForWidth:"), CGFloat(320)), 100);
    auto cell = placedGrid(plainView(), gridSpecifier());
    EXPECT_EQ(cell->reuseIdentifier(), "Cell");
    struct Expect {
        long tag;
        const char* identifier;
        const char* icon;
    };
    const Expect columns[] = {{1, "VNTProfileController", "profile"},
                              {3, "VNTUserGuide", "guide"},
                              {2, "VNTChangelogController", "changelog"}};
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(columns[i].identifier);
        auto button = cell->buttonAt(i);
        ASSERT_TRUE(button);
        EXPECT_EQ(cell->viewWithTag(columns[i].tag), button);
        EXPECT_EQ(msgSend<std::string>(button, sel("identifier")), columns[i].identifier);
        ASSERT_TRUE(button->currentImage());
        EXPECT_EQ(button->currentImage()->source(),
                  themedPath(vnt::Theme::Default, "Categories", std::string(columns[i].icon) + ".png"));
        EXPECT_EQ(button->currentImage()->renderingMode(), UIImageRenderingMode::AlwaysOriginal);
        EXPECT_EQ(button->bounds().size, CGSizeMake(80, 80));
        EXPECT_EQ(button->imageView()->frame(), CGRectMake(10, 10, 60, 60)) << "the icon inset 10 on every side";
        EXPECT_EQ(button->imageView()->contentMode(), UIViewContentModeScaleAspectFit);
        EXPECT_TRUE(button->imageView()->clipsToBounds());
        EXPECT_EQ(button->imageView()->layer()->cornerRadius(), 10);
        EXPECT_EQ(button->imageView()->layer()->cornerCurve(), kCACornerCurveContinuous);
        EXPECT_FALSE(button->layer()->masksToBounds());
        EXPECT_TRUE(button->allTargets().empty()) << "no target of its own keeps or misses the page";
        auto caption = captionOf(button);
        ASSERT_TRUE(caption);
        EXPECT_EQ(caption->bounds().size, CGSizeMake(100, 40));
        EXPECT_TRUE(caption->font()->isBold());
        EXPECT_EQ(caption->font()->pointSize(), 12);
        EXPECT_EQ(caption->textAlignment(), NSTextAlignmentCenter);
    }
    // The row: 20 points in from each side, 20 from the top and 40 from the bottom; the captions end in the cell.
    auto rows = rowsIn(cell);
    ASSERT_EQ(rows.size(), 1u);
    const CGFloat width = UIScreen::mainScreen()->bounds().width();
    EXPECT_EQ(rows[0]->frame(), CGRectMake(20, 20, width - 40, 40));
    for (std::size_t i = 0; i < 3; ++i) {
        auto caption = captionOf(cell->buttonAt(i));
        EXPECT_LE(caption->convertRectToView(caption->bounds(), cell).midY() + 10, 100) << "column " << i;
    }
    // The first column, as wide as its caption, starts at the row's edge with its button centred above the caption.
    EXPECT_EQ(cell->buttonAt(0)->convertRectToView(cell->buttonAt(0)->bounds(), cell).origin.x, 20 + (100 - 80) / 2);
}

TEST_F(GridCellTest, WithoutAThemeTheButtonsShowNoIconAndThePathsStay) {
    placedGrid(plainView(), gridSpecifier());
    const auto themed = vnt::kit::gridIconPaths();
    EXPECT_EQ(themed[1], themedPath(vnt::Theme::Default, "Categories", "guide.png"));
    selectTheme(std::nullopt);
    auto cell = placedGrid(plainView(), gridSpecifier());
    for (std::size_t i = 0; i < 3; ++i) EXPECT_FALSE(cell->buttonAt(i)->currentImage()) << "column " << i;
    EXPECT_EQ(vnt::kit::gridIconPaths(), themed);
    selectTheme(vnt::Theme::Storm);
    cell = placedGrid(plainView(), gridSpecifier());
    EXPECT_EQ(cell->buttonAt(2)->currentImage()->source(),
              themedPath(vnt::Theme::Storm, "Categories", "changelog.png"));
}

TEST_F(GridCellTest, EveryPlacementRebuildsTheRowAndLeavesASingleOne) {
    auto first = plainView();
    auto cell = placedGrid(first, gridSpecifier());
    auto before = cell->gridRow();
    auto oldButton = cell->buttonAt(0);
    ASSERT_TRUE(before);

    // Moved to another parent, taken out, and put back: each placement builds anew.
    auto second = plainView();
    second->addSubview(cell);
    const auto moved = cell->gridRow();
    EXPECT_NE(moved, before);
    cell->removeFromSuperview();
    EXPECT_EQ(cell->gridRow(), moved) << "leaving a superview builds nothing";
    first->addSubview(cell);
    first->layoutIfNeeded();
    auto rows = rowsIn(cell);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], cell->gridRow());
    EXPECT_NE(rows[0], moved);
    EXPECT_FALSE(before->superview());
    EXPECT_FALSE(moved->superview());
    EXPECT_NE(cell->buttonAt(0), oldButton);
    EXPECT_EQ(cell->viewWithTag(1), cell->buttonAt(0)) << "no button of an old row is left to find";
    EXPECT_EQ(rows[0]->frame(), CGRectMake(20, 20, UIScreen::mainScreen()->bounds().width() - 40, 40));
}

TEST_F(GridCellTest, ButtonsReachThePageThatShowsTheRow) {
    struct Case {
        const char* labels[3];
        std::vector<std::string> calls[3];
    };
    const Case cases[] = {
        {{"Profile", "User Guide", "Changelog"},
         {{"openController:VNTProfileController"},
          {"openController:VNTUserGuide", "openUserGuideController:VNTUserGuide"},
          // The page does not answer the changelog's action: the tap does nothing more.
          {"openController:VNTChangelogController"}}},
        {{"Sections", "Colours", "Options"},
         {{"openController:VNTProfileController"},
          {"openController:VNTUserGuide"},
          {"openController:VNTChangelogController"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.labels[0]);
        auto page = showPage(gridSpecifier(c.labels[0], c.labels[1], c.labels[2]));
        auto cell = cast<VNTZRVCGridCustomCella>(page->table()->cellForRowAtIndexPath(IndexPath{0, 0}));
        ASSERT_TRUE(cell);
        ASSERT_EQ(rowsIn(cell).size(), 1u);
        for (std::size_t i = 0; i < 3; ++i) {
            g_calls.clear();
            tapButton(cell->buttonAt(i));
            EXPECT_EQ(g_calls, c.calls[i]) << "column " << i;
        }
        // Shown again after a reload, the page still has one row per grid cell.
        page->table()->reloadData();
        m_window->layoutIfNeeded();
        cell = cast<VNTZRVCGridCustomCella>(page->table()->cellForRowAtIndexPath(IndexPath{0, 0}));
        ASSERT_TRUE(cell);
        EXPECT_EQ(rowsIn(cell).size(), 1u);
        g_calls.clear();
        tapButton(cell->buttonAt(0));
        EXPECT_EQ(g_calls, c.calls[0]);
    }
}

}  // namespace
