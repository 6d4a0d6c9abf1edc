// The card editor: lists loaded into two sections, drops made by real drags on the rows' handles through the touch
// driver, each drop stored and announced once, the sheet's layout and its appearance by interface style.
#include "tests/tweak/cards/CardFixture.h"

#include "tweak/dashboard/VantileBaseView.h"
#include "tweak/dashboard/VantileItemLists.h"
#include "tweak/dashboard/VantileTableView.h"
#include "tweak/dashboard/VantileTableViewCustomCell.h"
#include "tweak/dashboard/VantileViewController.h"

#include "platform/core/DeviceRoot.h"
#include "platform/core/HBPreferences.h"
#include "platform/core/NotificationRecords.h"
#include "platform/core/RunLoop.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/CGImage.h"
#include "platform/gfx/UIFont.h"
#include "platform/gfx/UIImage.h"
#include "platform/ui/CAShapeLayer.h"
#include "platform/harness/TouchDriver.h"
#include "platform/ui/UIBlurEffect.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UIVisualEffectView.h"
#include "platform/ui/UIWindow.h"
#include "tests/tweak/dashboard/EditorFixture.h"

namespace {

namespace key = vantile::key;
using Titles = std::vector<std::string>;
using vantile::testing::EditorFixture;

class CardEditor : public EditorFixture {
protected:
    static Titles storedTitles(std::string_view k) {
        Titles out;
        const Value v = HBPreferences::preferencesForIdentifier(vantile::kDomain)->objectForKey(k);
        if (const auto* a = v.asArray())
            for (const auto& t : *a) out.push_back(*t.asString());
        return out;
    }
    static bool isStored(std::string_view k) {
        return !HBPreferences::preferencesForIdentifier(vantile::kDomain)->objectForKey(k).isNone();
    }
    static std::size_t notifications() {
        return platform::notificationCount(platform::NotificationKind::Darwin, vantile::notification::settingsChanged);
    }
    static Titles headers(const VantileItemLists::List& list) {
        Titles out;
        for (const auto& item : list) out.push_back(item->header());
        return out;
    }
    // Every item's index is its position and its flag says which list holds it.
    static void expectNumbered(const VantileItemLists::List& list, bool enabled) {
        for (std::size_t i = 0; i < list.size(); ++i) {
            EXPECT_EQ(list[i]->index(), static_cast<std::int32_t>(i)) << list[i]->header();
            EXPECT_EQ(list[i]->isEnabled(), enabled) << list[i]->header();
        }
    }
};

TEST_F(CardEditor, FirstOpeningShowsEveryCardAvailableAndStoresTheDefaults) {
    open();
    auto t = table();
    ASSERT_EQ(t->numberOfSections(), 2);
    EXPECT_EQ(t->numberOfRowsInSection(0), 0);
    EXPECT_EQ(t->numberOfRowsInSection(1), 23);
    EXPECT_TRUE(isStored(key::vantileEnabledArray));
    EXPECT_TRUE(storedTitles(key::vantileEnabledArray).empty());
    EXPECT_EQ(storedTitles(key::vantileDisabledArray), vantile::catalogueTitles());
    EXPECT_EQ(notifications(), 0u) << "loading is not a drop";
    EXPECT_TRUE(t->isEditing());
    EXPECT_EQ(t->separatorStyle(), UITableViewCellSeparatorStyleNone);
    // The first rows are on screen: 90 high, with their handle and no delete control.
    auto first = cast<VantileTableViewCustomCell>(t->cellForRowAtIndexPath({1, 0}));
    ASSERT_TRUE(first);
    EXPECT_EQ(first->reuseIdentifier(), "VantileCell");
    EXPECT_EQ(t->rectForRowAtIndexPath({1, 0}).height(), 90);
    EXPECT_TRUE(first->reorderControl());
    EXPECT_EQ(first->editingStyle(), UITableViewCellEditingStyleNone);
}

TEST_F(CardEditor, RowsShowTitleIconAndHeadersByList) {
    store(key::vantileEnabledArray, titles({"Wi-Fi", "Sounds and Haptics"}));
    store(key::vantileDisabledArray, titles({"Touch/Face ID & Passcode"}));
    open();
    auto t = table();
    EXPECT_EQ(platform::msgSend<std::string>(t->dataSource(), sel("tableView:titleForHeaderInSection:"), t, 0L),
              "Selected Cells");
    EXPECT_EQ(platform::msgSend<std::string>(t->dataSource(), sel("tableView:titleForHeaderInSection:"), t, 1L),
              "Available Cells");
    EXPECT_EQ(platform::msgSend<std::string>(t->dataSource(), sel("tableView:titleForHeaderInSection:"), t, 2L), "");
    const std::tuple<IndexPath, const char*, bool> rows[] = {
        {{0, 0}, "Wi-Fi", true},
        {{0, 1}, "Sounds and Haptics", false},  // not the catalogue's "&": no icon
        {{1, 0}, "Touch/Face ID & Passcode", true},
    };
    for (const auto& [path, title, hasIcon] : rows) {
        SCOPED_TRACE(title);
        auto cell = cast<VantileTableViewCustomCell>(t->cellForRowAtIndexPath(path));
        ASSERT_TRUE(cell);
        EXPECT_EQ(cell->titleLabel()->text(), title);
        EXPECT_EQ(cell->vantileItems()->header(), title);
        EXPECT_EQ(static_cast<bool>(cell->iconImage()->image()), hasIcon);
        EXPECT_EQ(cell->iconImage()->frame(), CGRectMake(10, 15, 60, 60));
        EXPECT_EQ(cell->iconImage()->layer()->cornerRadius(), 10);
        EXPECT_EQ(cell->iconImage()->layer()->borderWidth(), 1);
        // Title beside the icon, 25 from the top and centred: a 40-point band.
        const CGRect label = cell->titleLabel()->frame();
        EXPECT_EQ(label.minX(), 80);
        EXPECT_EQ(label.minY(), 25);
        EXPECT_EQ(label.maxX(), cell->contentView()->bounds().width() - 10);
        EXPECT_EQ(cell->titleLabel()->numberOfLines(), 2);
    }
}

TEST_F(CardEditor, WifiDraggedToTheTopOfSelectedIsStoredAndAnnouncedOnce) {
    open();  // first opening: the defaults
    const long wifi = 4;
    ASSERT_EQ(cast<VantileTableViewCustomCell>(table()->cellForRowAtIndexPath({1, wifi}))->titleLabel()->text(),
              "Wi-Fi");
    dragRow({1, wifi}, table()->rectForHeaderInSection(0).maxY());

    EXPECT_EQ(storedTitles(key::vantileEnabledArray), Titles{"Wi-Fi"});
    Titles available = vantile::catalogueTitles();
    available.erase(available.begin() + wifi);
    EXPECT_EQ(storedTitles(key::vantileDisabledArray), available);
    EXPECT_EQ(notifications(), 1u);
    auto& lists = *VantileItemLists::current();
    EXPECT_EQ(headers(lists.enabledItems()), Titles{"Wi-Fi"});
    expectNumbered(lists.enabledItems(), true);
    expectNumbered(lists.disabledItems(), false);
    EXPECT_EQ(table()->numberOfRowsInSection(0), 1);
}

TEST_F(CardEditor, ReorderWithinSelectedRenumbersEveryItem) {
    store(key::vantileEnabledArray, titles({"Wi-Fi", "Battery", "General", "Privacy"}));
    store(key::vantileDisabledArray, titles({"Siri & Search"}));
    open();
    // From position 0 to 2: the row's centre on the top edge of Privacy, the slot after General.
    dragRow({0, 0}, table()->rectForRowAtIndexPath({0, 3}).minY());
    const Titles order{"Battery", "General", "Wi-Fi", "Privacy"};
    EXPECT_EQ(storedTitles(key::vantileEnabledArray), order);
    EXPECT_EQ(storedTitles(key::vantileDisabledArray), Titles{"Siri & Search"});
    EXPECT_EQ(headers(VantileItemLists::current()->enabledItems()), order);
    expectNumbered(VantileItemLists::current()->enabledItems(), true);
    EXPECT_EQ(notifications(), 1u);

    // A second drop, back across: each drop saves and announces.
    dragRow({0, 2}, table()->rectForHeaderInSection(1).maxY());
    EXPECT_EQ(storedTitles(key::vantileDisabledArray), (Titles{"Wi-Fi", "Siri & Search"}));
    expectNumbered(VantileItemLists::current()->enabledItems(), true);
    expectNumbered(VantileItemLists::current()->disabledItems(), false);
    EXPECT_EQ(notifications(), 2u);
}

TEST_F(CardEditor, LastSelectedCardToAvailableLeavesAnEmptyStoredListAndNoHint) {
    store(key::vantileEnabledArray, titles({"Battery"}));
    store(key::vantileDisabledArray, titles({"Wi-Fi"}));
    open();
    dragRow({0, 0}, table()->rectForHeaderInSection(1).maxY() + 10);
    EXPECT_TRUE(isStored(key::vantileEnabledArray));
    EXPECT_TRUE(storedTitles(key::vantileEnabledArray).empty());
    EXPECT_EQ(storedTitles(key::vantileDisabledArray), (Titles{"Battery", "Wi-Fi"}));
    EXPECT_EQ(notifications(), 1u);
    // The dashboard built now: no cards, and the first-run hint stays away.
    showDashboard();
    EXPECT_TRUE(VantileBaseView::firstTimeLabel()->isHidden());
}

TEST_F(CardEditor, ClosingWithoutDraggingChangesNothing) {
    open();
    const Titles selected = storedTitles(key::vantileEnabledArray), available = storedTitles(key::vantileDisabledArray);
    const auto presented = presenter()->presentedViewController();
    ASSERT_TRUE(presented);
    // The done button closes the sheet through its action, animated.
    const CGRect done = VantileViewController::doneButton()->convertRectToView(
        VantileViewController::doneButton()->bounds(), window());
    platform::TouchDriver(window()).tap({done.midX(), done.midY()});
    platform::RunLoop::main().advance(UIViewController::kTransitionDuration);
    EXPECT_FALSE(presenter()->presentedViewController());
    EXPECT_EQ(storedTitles(key::vantileEnabledArray), selected);
    EXPECT_EQ(storedTitles(key::vantileDisabledArray), available);
    EXPECT_EQ(notifications(), 0u);
    // A second opening loads the same lists and still writes nothing new.
    open();
    EXPECT_EQ(headers(VantileItemLists::current()->disabledItems()), available);
    EXPECT_EQ(storedTitles(key::vantileDisabledArray), available);
    EXPECT_EQ(notifications(), 0u);
}

TEST_F(CardEditor, SheetLayout) {
    open();
    const CGRect view = presented()->view()->bounds();
    const auto& container = VantileViewController::containerView();
    EXPECT_EQ(container->frame(), view);
    EXPECT_TRUE(container->clipsToBounds());
    auto mask = cast<CAShapeLayer>(container->layer()->mask());
    ASSERT_TRUE(mask);
    EXPECT_EQ(mask->path()->roundedCorners(), UIRectCornerTopLeft | UIRectCornerTopRight);
    EXPECT_EQ(mask->path()->cornerRadii(), CGSizeMake(30, 30));
    EXPECT_EQ(mask->path()->roundedRect(), container->bounds());
    EXPECT_EQ(container->subviews().front(), VantileViewController::blurEffectView()) << "blur at the bottom";
    EXPECT_EQ(VantileViewController::blurEffectView()->frame(), container->bounds());

    const CGFloat w = view.width();
    const std::tuple<const char*, Ref<UIView>, CGRect> frames[] = {
        {"header", VantileViewController::headerView(), {{0, 0}, {w, 75}}},
        {"grabber", VantileViewController::grabberView(), {{w / 2 - 20, 10}, {40, 6}}},
        {"done", VantileViewController::doneButton(), {{w - 50, 22.5}, {30, 30}}},
        {"icon", VantileViewController::iconImage(), {{20, 20}, {35, 35}}},
        {"table", VantileViewController::vantileTableView(), {{0, 85}, {w, view.height() - 85 - 90}}},
    };
    for (const auto& [what, v, frame] : frames) {
        SCOPED_TRACE(what);
        EXPECT_EQ(v->convertRectToView(v->bounds(), container), frame);
    }
    EXPECT_EQ(table()->frame().size, VantileViewController::vantileTableView()->bounds().size) << "table fills";
    const auto& label = VantileViewController::headerLabel();
    EXPECT_EQ(label->text(), "Vantile");
    EXPECT_EQ(label->font()->pointSize(), 16);
    EXPECT_EQ(label->frame().minX(), 65);
    EXPECT_DOUBLE_EQ(label->frame().midY(), 37.5);
    const auto& done = VantileViewController::doneButton();
    EXPECT_EQ(done->imageEdgeInsets(), UIEdgeInsetsMake(7, 7, 7, 7));
    ASSERT_TRUE(done->currentImage());
    EXPECT_EQ(done->currentImage()->renderingMode(), UIImageRenderingMode::AlwaysTemplate);
    EXPECT_EQ(done->layer()->cornerRadius(), 15);
    EXPECT_TRUE(VantileViewController::iconImage()->image());
}

TEST_F(CardEditor, AppearanceByInterfaceStyleAtFirstDisplayAndOnChange) {
    struct Look {
        long blur;
        RGBA grabber, done;
    };
    const Look dark{16, {0.43, 0.41, 0.42, 1.0}, {0.43, 0.41, 0.42, 1.0}};
    const Look light{11, {0.74, 0.74, 0.74, 1.0}, {0.89, 0.88, 0.89, 0.8}};
    auto expectLook = [](const Look& look) {
        EXPECT_EQ(VantileViewController::blurEffectView()->effect()->style(), look.blur);
        expectColour(VantileViewController::grabberView()->backgroundColor(), look.grabber, "grabber");
        expectColour(VantileViewController::doneButton()->backgroundColor(), look.done, "done");
    };
    const std::tuple<const char*, long, Look, long, Look> cases[] = {
        {"dark from the start, then light", 2, dark, 1, light},
        {"light from the start, then dark", 1, light, 2, dark},
    };
    for (const auto& [name, first, firstLook, then, thenLook] : cases) {
        SCOPED_TRACE(name);
        open(first);
        expectLook(firstLook);
        window()->setOverrideUserInterfaceStyle(then);
        expectLook(thenLook);
    }
}

}  // namespace
