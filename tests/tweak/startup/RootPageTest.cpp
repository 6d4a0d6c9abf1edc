#include "tests/tweak/startup/RootPageFixture.h"

#include "common/Keys.h"
#include "platform/core/RunLoop.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/UIImage.h"
#include "platform/core/NSMutableArray.h"
#include "platform/host/PSSpecifier.h"
#include "platform/host/_UISearchBarSearchFieldBackgroundView.h"
#include "platform/ui/CALayer.h"
#include "platform/harness/EffectLog.h"
#include "platform/ui/UIBarButtonItem.h"
#include "platform/ui/UINavigationBar.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UINavigationItem.h"
#include "platform/ui/UIResponder.h"
#include "platform/harness/Renderer.h"
#include "platform/harness/TouchDriver.h"
#include "platform/ui/UICollectionView.h"
#include "platform/ui/UICollectionViewCell.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UITraitCollection.h"
#include "platform/ui/UISearchBar.h"
#include "platform/ui/UISearchController.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UIWindow.h"
#include "tweak/dashboard/VantileBaseView.h"
#include "tweak/dashboard/VantileCollectionView.h"
#include "tests/support/Snapshot.h"
#include "tweak/startup/RootPageHooks.h"

#include <gtest/gtest.h>

namespace {

using vantile::rootpage::state;
namespace key = vantile::key;

class RootPage : public vantile::testing::RootPageFixture {
protected:
    static Ref<UIBarButtonItem> item(const std::vector<Ref<UIBarButtonItem>>& items, std::size_t i) {
        return i < items.size() ? items[i] : nullptr;
    }
    void expectOverlayColour(RGBA expected, const std::string& when) {
        ASSERT_TRUE(state().settingBaseView && state().vantileBaseView) << when;
        expectColour(state().settingBaseView->backgroundColor(), expected, when + ": settingBaseView");
        expectColour(state().vantileBaseView->backgroundColor(), expected, when + ": vantileBaseView");
    }
    static std::size_t impacts() { return platform::effectsOfKind("impact").size(); }
};

constexpr RGBA kLightGrey{0.95, 0.95, 0.96, 1.0};
constexpr RGBA kBlack{0, 0, 0, 1};

TEST_F(RootPage, DashboardCoversThePinnedRootTable) {
    auto root = showRootPage(accountRootList());
    auto table = root->table();
    ASSERT_TRUE(table);
    EXPECT_FALSE(table->isScrollEnabled());
    const auto& s = state();
    ASSERT_TRUE(s.settingBaseView);
    EXPECT_EQ(s.settingBaseView->superview(), table);
    EXPECT_EQ(s.settingBaseView->frame(), (CGRect{{0, 0}, UIScreen::mainScreen()->bounds().size}));
    ASSERT_TRUE(s.vantileBaseView);
    EXPECT_EQ(s.vantileBaseView->superview(), s.settingBaseView);
    EXPECT_EQ(s.vantileBaseView->frame(), s.settingBaseView->bounds());
    EXPECT_TRUE(VantileBaseView::vantileCollectionView()) << "the base view built its grid";
    expectOverlayColour(kLightGrey, "light");
    // The overlay is what a touch on the screen reaches, not a row of the list under it, also after the host
    // reloaded its rows.
    platform::msgSend<void>(root.get(), sel("reloadSpecifiers"));
    window->layoutIfNeeded();
    ASSERT_FALSE(table->visibleCells().empty());
    EXPECT_EQ(table->subviews().back(), s.settingBaseView);
    // Pinned below the bars once they have their size: the grid starts under the search bar and the overlay
    // reaches the bottom of the screen, so no row of the list shows below it.
    const CGRect onScreen = s.settingBaseView->convertRectToView(s.settingBaseView->bounds(), window);
    const CGFloat barBottom = navigation->navigationBar()->frame().maxY();
    EXPECT_GE(onScreen.minY() + VantileBaseView::kGridTop, barBottom);
    EXPECT_LE(onScreen.minY(), barBottom);
    EXPECT_GE(onScreen.maxY(), window->bounds().maxY());
    auto hit = window->hitTest(CGPoint{100, 300});
    ASSERT_TRUE(hit);
    EXPECT_TRUE(hit == s.settingBaseView || hit->isDescendantOfView(s.settingBaseView)) << hit->description();
}

// The grid's margins put its bottom 40 points above the bottom of an overlay that starts under the bars, so on a
// home-button screen the grid reaches below the screen. Scrolled to the end, the last row must still end on the
// screen, on every screen.
TEST_F(RootPage, TheLastRowOfALongGridCanBeScrolledIntoView) {
    Value::Array titles;
    for (const auto& title : vantile::catalogueTitles()) titles.emplace_back(title);
    store(key::vantileEnabledArray, Value(std::move(titles)));
    for (const UIScreenProfile& profile : UIScreen::knownProfiles()) {
        SCOPED_TRACE(profile.name);
        ASSERT_TRUE(UIScreen::setDeviceProfile(profile.name));
        showRootPage(accountRootList());
        window->layoutIfNeeded();
        const auto grid = VantileBaseView::vantileCollectionView();
        const auto collection = grid->vantileSettingsCollectionView();
        const CGRect gridOnScreen = grid->convertRectToView(grid->bounds(), window);
        // The overlay is a screen high from under the bars; the grid ends its bottom margin above the overlay's end.
        const CGFloat overlayTop = state().settingBaseView->convertPointToView({0, 0}, window).y;
        const CGFloat margin = VantileBaseView::gridBottomMarginForScreenHeight(profile.size.height);
        EXPECT_DOUBLE_EQ(gridOnScreen.maxY(), overlayTop + profile.size.height - margin) << "the grid's frame stays";
        const CGFloat below = std::max<CGFloat>(0, overlayTop - margin);
        if (profile.name == "iphone-8") {
            EXPECT_GT(below, 0) << "the case that hid the last row";
        }
        EXPECT_DOUBLE_EQ(collection->contentInset().bottom, below);

        collection->setContentOffset(collection->maximumContentOffset());
        window->layoutIfNeeded();
        const auto last = collection->cellForItemAtIndexPath({0, static_cast<long>(vantile::kCatalogueSize) - 1});
        ASSERT_TRUE(last);
        const CGRect lastOnScreen = last->convertRectToView(last->bounds(), window);
        EXPECT_LE(lastOnScreen.maxY(), profile.size.height) << "the last row ends on the screen";
    }
    store(key::vantileEnabledArray, Value());
}

TEST_F(RootPage, DashboardKeepsItsPlaceAfterAPageWasPushedAndPopped) {
    auto root = showRootPage(accountRootList());
    const auto& s = state();
    ASSERT_TRUE(s.settingBaseView);
    auto onScreenTop = [&] { return s.settingBaseView->convertRectToView(s.settingBaseView->bounds(), window).minY(); };
    const CGFloat before = onScreenTop();
    for (bool animated : {false, true}) {
        SCOPED_TRACE(animated ? "animated" : "not animated");
        auto page = alloc<UIViewController>();
        page->init();
        navigation->pushViewControllerAnimated(page, animated);
        platform::RunLoop::main().advance(1);
        window->layoutIfNeeded();
        navigation->popViewControllerAnimated(animated);
        platform::RunLoop::main().advance(1);
        window->layoutIfNeeded();
        EXPECT_EQ(onScreenTop(), before);
    }
}

TEST_F(RootPage, DarkModeWhileShowingTurnsTheOverlayBlackAndBack) {
    showRootPage(accountRootList(), UIUserInterfaceStyleLight);
    window->setOverrideUserInterfaceStyle(UIUserInterfaceStyleDark);
    expectOverlayColour(kBlack, "dark");
    window->setOverrideUserInterfaceStyle(UIUserInterfaceStyleLight);
    expectOverlayColour(kLightGrey, "back to light");

    // A page that loads in dark mode starts black.
    showRootPage(accountRootList(), UIUserInterfaceStyleDark);
    expectOverlayColour(kBlack, "loaded dark");
}

TEST_F(RootPage, ThreeButtonsTargetTheRootControllerAndAreReplacedAtEveryAppearance) {
    giveAccountPicture();
    auto root = showRootPage(accountRootList());
    // The host reloads the account row once its picture arrived, after the page appeared; the picture shows from
    // the next appearance on.
    ASSERT_TRUE(state().account);
    ASSERT_TRUE(state().accountIcon);
    EXPECT_FALSE(root->navigationItem()->rightBarButtonItem()->image());
    platform::msgSend<void, bool>(root.get(), sel("viewDidAppear:"), false);

    auto nav = root->navigationItem();
    ASSERT_EQ(nav->rightBarButtonItems().size(), 1u);
    ASSERT_EQ(nav->leftBarButtonItems().size(), 2u);
    struct Expected {
        Ref<UIBarButtonItem> item;
        const char* action;
        CGSize size;
        bool tinted;
        const char* source;
        UIEdgeInsets insets;
    };
    const Expected expected[] = {
        {item(nav->rightBarButtonItems(), 0), "pushToIcloudPage", {35, 35}, false, "account", {-4, 0, 0, 0}},
        {item(nav->leftBarButtonItems(), 0), "deployVantSettingsVC", {20, 20}, true, "symbol:gear", {-2, -10, 0, 0}},
        {item(nav->leftBarButtonItems(), 1), "displaySeachBar", {20, 20}, true,
         "symbol:magnifyingglass.circle.fill", {-2, 0, 0, 40}},
    };
    for (const auto& e : expected) {
        SCOPED_TRACE(e.action);
        ASSERT_TRUE(e.item);
        EXPECT_EQ(e.item->target(), root);
        EXPECT_EQ(e.item->action(), sel(e.action));
        EXPECT_EQ(e.item->style(), UIBarButtonItemStylePlain);
        EXPECT_EQ(e.item->imageInsets(), e.insets);
        ASSERT_TRUE(e.item->image());
        EXPECT_EQ(e.item->image()->size(), e.size);
        EXPECT_EQ(e.item->image()->isTemplate(), e.tinted);
        EXPECT_EQ(e.item->image()->source(), e.source);
    }

    const auto before = nav->leftBarButtonItems();
    platform::msgSend<void, bool>(root.get(), sel("viewDidAppear:"), false);
    EXPECT_NE(nav->leftBarButtonItems()[0], before[0]) << "new buttons at every appearance";
    EXPECT_EQ(nav->leftBarButtonItems().size(), 2u) << "replaced, not added";
}

TEST_F(RootPage, LastAccountEntryOfTheListIsRemembered) {
    auto list = accountRootList();
    auto second = row("Other", "APPLE_ACCOUNT");
    list->addObject(second);
    auto root = showRootPage(list);
    EXPECT_EQ(state().account, second);
    // A reload while the remembered entry has no picture leaves the button without image.
    platform::msgSend<void, long, bool>(root.get(), sel("reloadSpecifierAtIndex:animated:"), 1L, false);
    platform::msgSend<void, bool>(root.get(), sel("viewDidAppear:"), false);
    ASSERT_EQ(root->navigationItem()->rightBarButtonItems().size(), 1u);
    EXPECT_FALSE(root->navigationItem()->rightBarButtonItems()[0]->image());
}

TEST_F(RootPage, WithoutAccountEntryTheRightButtonHasNoImageAndStillOpensTheFirstRow) {
    giveAccountPicture();
    auto list = accountRootList();
    list->removeObjectAtIndex(1);
    list->removeObjectAtIndex(1);
    const id wifi = list->objectAtIndex(1);
    auto root = showRootPage(list);
    EXPECT_FALSE(state().account);
    platform::msgSend<void, bool>(root.get(), sel("viewDidAppear:"), false);
    auto right = root->navigationItem()->rightBarButtonItem();
    ASSERT_TRUE(right);
    EXPECT_FALSE(right->image());
    EXPECT_TRUE(right->press());
    platform::RunLoop::main().advance(1);
    auto page = cast<PSListController>(topPage());
    ASSERT_TRUE(page && page != root);
    EXPECT_EQ(page->specifier(), wifi) << "the first row of the list, Wi-Fi here";
}

TEST_F(RootPage, MagnifierFocusesTheSearchFieldWithItsTextSelected) {
    auto root = showRootPage(accountRootList());
    auto bar = root->navigationItem()->searchController()->searchBar();
    bar->setText("Wi-Fi");
    EXPECT_TRUE(root->navigationItem()->leftBarButtonItems().at(1)->press());
    auto field = bar->searchTextField();
    EXPECT_TRUE(field->isFirstResponder());
    EXPECT_EQ(field->selectedRange().location, 0);
    EXPECT_EQ(field->selectedRange().length, 5) << "ready to be typed over";
}

TEST_F(RootPage, ButtonsFireOneLightHapticEachOnlyWhileHapticsAreOn) {
    auto root = showRootPage(accountRootList());
    auto nav = root->navigationItem();
    auto pressAll = [&] {
        nav->rightBarButtonItem()->press();
        nav->leftBarButtonItems().at(0)->press();
        nav->leftBarButtonItems().at(1)->press();
    };
    pressAll();
    platform::RunLoop::main().advance(1);
    navigation->popToRootViewControllerAnimated(false);
    const auto records = platform::effectsOfKind("impact");
    ASSERT_EQ(records.size(), 3u);
    for (const auto& r : records) EXPECT_EQ(r.value, 0) << "light";

    store(key::toggleHaptics, false);
    if (auto focused = UIResponder::currentFirstResponder()) focused->resignFirstResponder();
    pressAll();
    platform::RunLoop::main().advance(1);
    EXPECT_EQ(impacts(), 3u) << "no haptic with toggleHaptics NO";
    ASSERT_TRUE(cast<PSListController>(topPage()));
    EXPECT_EQ(cast<PSListController>(topPage())->specifier(), state().account) << "the account button still acts";
    EXPECT_TRUE(nav->searchController()->searchBar()->searchTextField()->isFirstResponder());
}

TEST_F(RootPage, GearPresentsANewCardEditorEachTime) {
    ASSERT_TRUE(objc_getClass("VantileViewController")) << "the card editor must be in this build";
    auto root = showRootPage(accountRootList());
    auto gear = root->navigationItem()->leftBarButtonItem();
    ASSERT_TRUE(gear->press());
    auto first = state().vantileViewController;
    ASSERT_TRUE(first);
    EXPECT_EQ(first->className(), "VantileViewController");
    EXPECT_EQ(navigation->presentedViewController(), first) << "presented by the key window's root controller";
    platform::RunLoop::main().advance(1);
    first->dismissViewControllerAnimatedCompletion(false);
    ASSERT_TRUE(gear->press());
    EXPECT_NE(state().vantileViewController, first);
}

// The image insets draw the gear's glyph at x 8–28 and the magnifier's at 29–49, left of its own button (44–74), on
// every screen; a person taps what is drawn, and the bar hands that tap to the item drawn there.
TEST_F(RootPage, TapsAtTheDrawnGearAndMagnifierOpenWhatTheyShowOnEveryScreen) {
    for (const UIScreenProfile& profile : UIScreen::knownProfiles()) {
        SCOPED_TRACE(profile.name);
        ASSERT_TRUE(UIScreen::setDeviceProfile(profile.name));
        auto root = showRootPage(accountRootList());
        window->layoutIfNeeded();
        const auto views = navigation->navigationBar()->leftItemViews();
        ASSERT_EQ(views.size(), 2u);
        auto drawnCentre = [&](const Ref<UIView>& view) {
            const auto image = cast<UIButton>(view)->imageView();
            const CGRect r = image->convertRectToView(image->bounds(), window);
            return CGPoint{r.midX(), r.midY()};
        };
        const CGPoint gear = drawnCentre(views[0]);
        const CGPoint magnifier = drawnCentre(views[1]);
        EXPECT_DOUBLE_EQ(gear.x, 18);
        EXPECT_DOUBLE_EQ(magnifier.x, 39);
        const CGRect magnifierButton = views[1]->convertRectToView(views[1]->bounds(), window);
        EXPECT_FALSE(magnifierButton.contains(magnifier)) << "the glyph lies outside its button";

        auto field = root->navigationItem()->searchController()->searchBar()->searchTextField();
        platform::TouchDriver(window).tap(magnifier);
        EXPECT_TRUE(field->isFirstResponder()) << "the drawn magnifier opens the search field";
        EXPECT_FALSE(navigation->presentedViewController());
        field->resignFirstResponder();

        platform::TouchDriver(window).tap(gear);
        ASSERT_TRUE(state().vantileViewController);
        EXPECT_EQ(navigation->presentedViewController(), state().vantileViewController)
            << "the drawn gear opens the card editor";
        EXPECT_FALSE(field->isFirstResponder());
        platform::RunLoop::main().advance(1);
        state().vantileViewController->dismissViewControllerAnimatedCompletion(false);
        state().vantileViewController = nullptr;
    }
}

TEST_F(RootPage, StyleReplacementsActOnEveryListPageAndSearchField) {
    // Every search field background gets radius 40 whatever it asks for.
    auto background = alloc<_UISearchBarSearchFieldBackgroundView>();
    background->initWithFrame(CGRect{{0, 0}, {200, 36}});
    for (double asked : {0.0, 10.0, 18.5}) {
        platform::msgSend<void, CGFloat>(background.get(), sel("setCornerRadius:"), asked);
        EXPECT_EQ(background->layer()->cornerRadius(), 40.0) << asked;
    }
    auto bar = alloc<UISearchBar>();
    bar->initWithFrame(CGRect{{0, 0}, {375, UISearchBar::kHeight}});
    bar->layoutIfNeeded();
    EXPECT_EQ(bar->searchTextField()->backgroundView()->layer()->cornerRadius(), 40.0);

    // Any list page: always regular width, never edge-to-edge, on a phone-sized screen.
    auto page = alloc<PSListController>();
    page->init();
    page->view();
    EXPECT_EQ(page->usesRegularWidthLayout(), true);
    EXPECT_FALSE(page->edgeToEdgeCells());
    platform::msgSend<void, bool>(page.get(), sel("setEdgeToEdgeCells:"), true);
    EXPECT_FALSE(page->edgeToEdgeCells());
}

}  // namespace

namespace {

class RootPageSnapshot : public vantile::testing::RootPageFixture {};

TEST_F(RootPageSnapshot, DashboardCoveredRootPageLightAndDark) {
    store(vantile::key::vantileEnabledArray, titles({"Wi-Fi", "Bluetooth", "Battery", "Stock Apps", "Tweaks"}));
    for (const auto& [style, name] : {std::pair{1L, "rootpage/root-light"}, std::pair{2L, "rootpage/root-dark"}}) {
        SCOPED_TRACE(name);
        giveAccountPicture();
        auto root = showRootPage(accountRootList(), style);
        platform::msgSend<void, bool>(root.get(), sel("viewDidAppear:"), false);
        window->layoutIfNeeded();
        EXPECT_TRUE(vantile::testing::matchesSnapshot(platform::harness::renderView(window, {1.0, true}), name));
    }
}

}  // namespace
