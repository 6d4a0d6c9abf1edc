// The changelog card: presented from the root page, its header, and the accordion of versions driven by taps on the
// headers through the touch driver, with the batch updates the table checks.
#include "prefs/changelog/VNTChangelogTableView.h"
#include "prefs/changelog/VNTChangelogViewController.h"
#include "prefs/pane/VNTPrimraryController.h"

#include "platform/core/NSMutableArray.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIImage.h"
#include "platform/harness/Renderer.h"
#include "platform/harness/TouchDriver.h"
#include "platform/ui/CALayer.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UITableViewCell.h"
#include "platform/ui/UITableViewHeaderFooterView.h"
#include "platform/ui/UIVisualEffectView.h"
#include "prefs/drawer/VNTTheme.h"
#include "tests/prefs/pane/PaneFixture.h"
#include "tests/support/Snapshot.h"

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

namespace {

using platform::msgSend;

class Changelog : public panetest::PaneFixture {
protected:
    // Opens the card from a root page the way the grid's button does, and lets the presentation finish.
    Ref<VNTChangelogViewController> open() {
        // A stored domain, so the first-run guide does not take the presentation.
        if (!domainFileExists()) storeThemes({"Default"});
        auto root = makeRoot();
        present(root);
        settle();
        msgSend<void>(root, sel("openChangelogController:"), id());
        settle();
        auto card = cast<VNTChangelogViewController>(m_navigation->presentedViewController());
        if (card) m_window->layoutIfNeeded();
        return card;
    }
    static Ref<UITableView> table() { return VNTChangelogViewController::changelogTableView()->tableView(); }
    static Ref<UITableViewHeaderFooterView> header(long section) {
        return cast<UITableViewHeaderFooterView>(table()->headerViewForSection(section));
    }
    static Ref<UIImageView> chevron(long section) {
        auto h = header(section);
        return h ? cast<UIImageView>(h->viewWithTag(section + VNTChangelogTableView::kChevronTagBase)) : nullptr;
    }
    // The chevron's turn in radians, from its transform.
    static double turn(long section) {
        auto c = chevron(section);
        if (!c) return -1;
        const auto t = c->transform();
        return std::abs(std::atan2(t.b, t.a));
    }
    void tapHeader(long section) {
        auto h = header(section);
        ASSERT_TRUE(h) << "section " << section << " shows a header";
        const CGRect b = h->bounds();
        // Left of the chevron, on the title.
        platform::TouchDriver(m_window).tap(h->convertPointToView({40, b.midY()}, m_window));
        settle(1);
    }
    static std::vector<std::string> visibleNotes() {
        std::vector<std::string> notes;
        for (long s = 0; s < table()->numberOfSections(); ++s)
            for (long r = 0; r < table()->numberOfRowsInSection(s); ++r)
                if (auto cell = table()->cellForRowAtIndexPath({s, r})) notes.push_back(cell->textLabel()->text());
        return notes;
    }
};

TEST_F(Changelog, OpensFromTheRootPageWithEveryVersionClosed) {
    auto card = open();
    ASSERT_TRUE(card) << "the root page presents the changelog";
    EXPECT_EQ(VNTPrimraryController::changelogController(), card);
    ASSERT_EQ(table()->numberOfSections(), 2);
    EXPECT_EQ(header(0)->textLabel()->text(), "Version 1.1");
    EXPECT_EQ(header(1)->textLabel()->text(), "Version 1.0");
    EXPECT_EQ(table()->numberOfRowsInSection(0), 0);
    EXPECT_EQ(table()->numberOfRowsInSection(1), 0);
    EXPECT_EQ(VNTChangelogViewController::changelogTableView()->expandedSectionHeaderNumber(), -1);
    EXPECT_EQ(header(0)->tag(), 0);
    EXPECT_EQ(header(1)->tag(), 1);
    EXPECT_NEAR(turn(0), 0, 1e-9);
}

// One sequence of taps, each row the state after it: which section is open, the notes shown, the chevrons.
TEST_F(Changelog, HeadersOpenAndCloseLikeAnAccordion) {
    ASSERT_TRUE(open());
    struct Step {
        long tap;
        long open;
        std::vector<std::string> notes;
        double turn0, turn1;
    };
    const double pi = std::numbers::pi;
    const std::vector<Step> steps{
        {0, 0, {"Coming soon..."}, pi, 0},
        {1, 1, {"Wax and polish settings"}, 0, pi},
        {1, -1, {}, 0, 0},
        {1, 1, {"Wax and polish settings"}, 0, pi},
        {0, 0, {"Coming soon..."}, pi, 0},
        {0, -1, {}, 0, 0},
    };
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const Step& step = steps[i];
        SCOPED_TRACE("tap " + std::to_string(i) + " on section " + std::to_string(step.tap));
        tapHeader(step.tap);
        const auto list = VNTChangelogViewController::changelogTableView();
        EXPECT_EQ(list->expandedSectionHeaderNumber(), step.open);
        EXPECT_EQ(visibleNotes(), step.notes);
        EXPECT_NEAR(turn(0), step.turn0, 1e-6);
        EXPECT_NEAR(turn(1), step.turn1, 1e-6);
        if (step.open == -1) {
            EXPECT_FALSE(list->expandedSectionHeader());
        } else {
            EXPECT_EQ(list->expandedSectionHeader(), header(step.open));
        }
    }
}

TEST_F(Changelog, ChevronTurnsOverFourTenthsOfASecond) {
    ASSERT_TRUE(open());
    tapHeader(0);
    tapHeader(0);
    auto list = VNTChangelogViewController::changelogTableView();
    msgSend<void>(list, sel("tableViewExpandSection:withImage:"), 0L, chevron(0));
    settle(0.2);
    // Half-way the chevron is still on its way: the model has the end, the screen does not yet.
    EXPECT_NEAR(turn(0), std::numbers::pi, 1e-6);
    EXPECT_GT(chevron(0)->presentationTransform().a, -0.99) << "the turn is animated, not set at once";
    settle(0.3);
    EXPECT_NEAR(turn(0), std::numbers::pi, 1e-6);
}

TEST_F(Changelog, AnEmptyListShowsTheWaitingTextAndNoSections) {
    ASSERT_TRUE(open());
    auto list = VNTChangelogViewController::changelogTableView();
    list->setSectionNames({});
    list->setSectionItems({});
    table()->reloadData();
    EXPECT_EQ(table()->numberOfSections(), 0);
    auto message = cast<UILabel>(table()->backgroundView());
    ASSERT_TRUE(message);
    EXPECT_EQ(message->text(), "Retrieving data.\nPlease wait.");
    EXPECT_EQ(message->numberOfLines(), 2);
    EXPECT_EQ(message->textAlignment(), NSTextAlignmentCenter);
    EXPECT_EQ(msgSend<std::string>(list, sel("tableView:titleForHeaderInSection:"), table(), 0L), "");
}

// Sections outside the list answer nothing rather than reading past the versions.
TEST_F(Changelog, SectionsOutOfRangeAnswerNothing) {
    ASSERT_TRUE(open());
    auto list = VNTChangelogViewController::changelogTableView();
    for (long section : {-1L, 2L, 99L}) {
        SCOPED_TRACE(section);
        EXPECT_EQ(msgSend<long>(list, sel("tableView:numberOfRowsInSection:"), table(), section), 0);
        EXPECT_EQ(msgSend<std::string>(list, sel("tableView:titleForHeaderInSection:"), table(), section), "");
        msgSend<void>(list, sel("tableViewExpandSection:withImage:"), section, Ref<UIImageView>());
        EXPECT_EQ(list->expandedSectionHeaderNumber(), -1);
    }
}

// Deleting rows that are shown goes through one checked batch; rows that are not shown are refused by the check.
TEST_F(Changelog, RowDisplayUpdateIsOneCheckedBatch) {
    ASSERT_TRUE(open());
    tapHeader(0);
    auto list = VNTChangelogViewController::changelogTableView();
    auto paths = NSMutableArray::array();
    paths->addObject(NSIndexPath::indexPathForRowInSection(0, 0));
    // The data source still counts the row, so deleting it does not add up.
    EXPECT_THROW(msgSend<void>(list, sel("updateTableViewRowDisplay:"), Ref<NSObject>(paths)),
                 NSInternalInconsistencyException);
    list->setSectionItems({{}, {"Wax and polish settings"}});
    EXPECT_NO_THROW(msgSend<void>(list, sel("updateTableViewRowDisplay:"), Ref<NSObject>(paths)));
    EXPECT_EQ(table()->numberOfRowsInSection(0), 0);
}

TEST_F(Changelog, HeaderFollowsTheThemeAndCloseDismisses) {
    struct Case {
        const char* theme;  // nullptr: every flag NO
        bool themed;
    };
    for (const Case& c : {Case{"Sunset", true}, Case{nullptr, false}}) {
        SCOPED_TRACE(c.theme ? c.theme : "no theme");
        if (c.theme) storeThemes({c.theme});
        else storeThemes({});
        auto card = open();
        ASSERT_TRUE(card);
        const auto theme = c.themed ? std::optional(vnt::Theme::Sunset) : std::nullopt;
        const auto accent = vnt::accentColour(theme);
        EXPECT_EQ(static_cast<bool>(card->accentColor()), c.themed);
        if (c.themed) {
            EXPECT_TRUE(card->accentColor()->isEqual(*accent));
            EXPECT_TRUE(VNTChangelogViewController::grabberView()->backgroundColor()->isEqual(*accent));
            EXPECT_TRUE(header(0)->contentView()->backgroundColor()->isEqual(*accent));
        }
        EXPECT_EQ(static_cast<bool>(VNTChangelogViewController::iconImage()->image()), c.themed);
        EXPECT_EQ(VNTChangelogViewController::headerLabel()->text(), "Changelog");
        EXPECT_EQ(header(0)->textLabel()->textColor()->isEqual(*UIColor::whiteColor()), true);
        EXPECT_EQ(VNTChangelogViewController::blurEffectView()->superview(), VNTChangelogViewController::containerView());
        EXPECT_EQ(VNTChangelogViewController::containerView()->subviews().front(),
                  Ref<UIView>(VNTChangelogViewController::blurEffectView()));
        EXPECT_TRUE(VNTChangelogViewController::containerView()->layer()->mask());

        // Header geometry worked out from its constraints: 75 high, grabber centred 10 below the top, close button
        // 20 inside the right edge and centred, icon 20 inside the left.
        const CGFloat width = VNTChangelogViewController::headerView()->bounds().size.width;
        EXPECT_EQ(VNTChangelogViewController::headerView()->bounds().size.height, 75);
        EXPECT_EQ(VNTChangelogViewController::grabberView()->frame(), CGRectMake((width - 40) / 2, 10, 40, 6));
        EXPECT_EQ(VNTChangelogViewController::doneButton()->frame(), CGRectMake(width - 50, 22.5, 30, 30));
        EXPECT_EQ(VNTChangelogViewController::iconImage()->frame(), CGRectMake(20, 20, 35, 35));
        EXPECT_EQ(VNTChangelogViewController::changelogTableView()->frame().origin.y, 75);

        auto done = VNTChangelogViewController::doneButton();
        const CGRect b = done->bounds();
        platform::TouchDriver(m_window).tap(done->convertPointToView({b.midX(), b.midY()}, m_window));
        settle();
        EXPECT_FALSE(m_navigation->presentedViewController()) << "the close button dismisses the card";
    }
}

TEST_F(Changelog, SnapshotWithOneVersionOpen) {
    storeThemes({"Default"});
    ASSERT_TRUE(open());
    tapHeader(0);
    m_window->layoutIfNeeded();
    EXPECT_TRUE(vantile::testing::matchesSnapshot(platform::harness::renderView(m_window), "pane/changelog-open"));
}

}  // namespace
