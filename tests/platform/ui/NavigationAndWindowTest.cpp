#include "platform/core/RunLoop.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/UIImage.h"
#include "platform/harness/EffectLog.h"
#include "platform/harness/TouchDriver.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIBarButtonItem.h"
#include "platform/ui/UIBlurEffect.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UIImpactFeedbackGenerator.h"
#include "platform/ui/UINavigationBar.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UINavigationItem.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UISearchBar.h"
#include "platform/ui/UISearchController.h"
#include "platform/ui/UIVisualEffectView.h"
#include "platform/ui/UIWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

std::vector<std::string> g_pressed;

class BarTarget : public NSObject {
    VT_OBJECT(BarTarget, NSObject)
public:
    void gear() { g_pressed.push_back("gear"); }
    void search(id sender) { g_pressed.push_back(sender ? "search(sender)" : "search()"); }
    void account() { g_pressed.push_back("account"); }
};

}  // namespace

VT_REGISTER_CLASS(BarTarget, [](Class c) {
    using namespace platform::runtime;
    addMethod<&BarTarget::gear>(c, "deployVantSettingsVC");
    addMethod<&BarTarget::search>(c, "displaySeachBar:");
    addMethod<&BarTarget::account>(c, "pushToIcloudPage");
})

namespace {

Ref<UIBarButtonItem> imageItem(const Ref<BarTarget>& target, const char* symbol, const char* action, UIEdgeInsets in) {
    auto item = alloc<UIBarButtonItem>();
    item->initWithImageStyleTargetAction(UIImage::systemImageNamed(symbol), UIBarButtonItemStylePlain, target, sel(action));
    item->setImageInsets(in);
    return item;
}

class NavigationTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::resetRunLoop();
        UIApplication::sharedApplication()->reset();
        g_pressed.clear();
        window = alloc<UIWindow>();
        window->initWithFrame(UIScreen::mainScreen()->bounds());
        root = alloc<UIViewController>();
        root->init();
        root->setTitle("Settings");
        nav = alloc<UINavigationController>();
        nav->initWithRootViewController(root);
        window->setRootViewController(nav);
        window->makeKeyAndVisible();
    }
    void TearDown() override { UIApplication::sharedApplication()->reset(); }
    Ref<UIWindow> window;
    Ref<UIViewController> root;
    Ref<UINavigationController> nav;
};

TEST_F(NavigationTest, BarButtonsShowInScreenOrderAndTapsReachTheirTargets) {
    auto target = alloc<BarTarget>();
    auto item = root->navigationItem();
    item->setLeftBarButtonItems({imageItem(target, "gear", "deployVantSettingsVC", {-2, -10, 0, 0}),
                                 imageItem(target, "magnifyingglass.circle.fill", "displaySeachBar:", {-2, 0, 0, 40})});
    item->setRightBarButtonItem(imageItem(target, "person.crop.circle", "pushToIcloudPage", {-4, 0, 0, 0}));
    window->layoutIfNeeded();
    auto bar = nav->navigationBar();
    auto left = bar->leftItemViews();
    ASSERT_EQ(left.size(), 2u);
    ASSERT_EQ(bar->rightItemViews().size(), 1u);
    EXPECT_LT(left[0]->frame().maxX(), left[1]->frame().minX());
    EXPECT_GT(bar->rightItemViews()[0]->frame().minX(), bar->bounds().midX());
    // The item's image insets are the button's image insets.
    EXPECT_EQ(cast<UIButton>(left[1])->imageEdgeInsets(), (UIEdgeInsets{-2, 0, 0, 40}));
    EXPECT_EQ(bar->displayedTitle(), "Settings");

    platform::TouchDriver driver(window);
    for (auto& v : {left[1], left[0], bar->rightItemViews()[0]}) {
        CGRect f = v->frame();
        driver.tap(bar->convertPointToView({f.midX(), f.midY()}, window));
    }
    EXPECT_EQ(g_pressed, (std::vector<std::string>{"search(sender)", "gear", "account"}));

    // Replacing the arrays replaces the views, as the page does at every appearance.
    item->setLeftBarButtonItems({});
    EXPECT_TRUE(bar->leftItemViews().empty());
    EXPECT_EQ(left[0]->superview(), nullptr);
}

// Image insets move what a bar button draws away from its button: the magnifier's insets (right 40) draw its
// glyph left of its button, partly over the gear's button. The bar hands a touch to the item drawn under it, else
// to the item view it falls on, else to the nearest item within reach.
TEST_F(NavigationTest, TheBarHandsATouchToTheItemDrawnThereOrNearest) {
    auto target = alloc<BarTarget>();
    auto item = root->navigationItem();
    item->setLeftBarButtonItems({imageItem(target, "gear", "deployVantSettingsVC", {-2, -10, 0, 0}),
                                 imageItem(target, "magnifyingglass.circle.fill", "displaySeachBar:", {-2, 0, 0, 40})});
    window->layoutIfNeeded();
    auto bar = nav->navigationBar();
    const auto left = bar->leftItemViews();
    const CGRect gearButton = left[0]->frame();
    const CGRect searchButton = left[1]->frame();
    auto drawnBy = [&](const Ref<UIView>& view) {
        const auto glyph = cast<UIButton>(view)->imageView();
        return glyph->convertRectToView(glyph->bounds(), bar);
    };
    const CGRect drawn = drawnBy(left[1]);
    const CGFloat gearGlyphEnd = drawnBy(left[0]).maxX();
    ASSERT_LT(drawn.midX(), searchButton.minX()) << "the glyph lies mostly left of its button";
    ASSERT_LT(std::max(drawn.minX(), gearGlyphEnd), gearButton.maxX()) << "and partly over the gear's button";
    const CGFloat row = gearButton.midY();
    struct Case {
        const char* where;
        CGFloat x;
        const char* pressed;  // empty: nothing
    };
    const Case cases[] = {
        {"the gear's button", gearButton.minX() + 2, "gear"},
        {"the drawn magnifier, on no button", (gearButton.maxX() + searchButton.minX()) / 2, "search(sender)"},
        {"the drawn magnifier over the gear's button", (std::max(drawn.minX(), gearGlyphEnd) + gearButton.maxX()) / 2,
         "search(sender)"},
        {"the magnifier's button, nothing drawn there", searchButton.midX(), "search(sender)"},
        {"the margin, nearest the gear", gearButton.minX() - 4, "gear"},
        {"16 right of the magnifier's button", searchButton.maxX() + 16, "search(sender)"},
        {"beyond reach: the bar itself", searchButton.maxX() + UINavigationBar::kItemReach + 10, ""},
        {"the title", bar->bounds().midX(), ""},
    };
    for (const Case& c : cases) {
        g_pressed.clear();
        platform::TouchDriver(window).tap(bar->convertPointToView({c.x, row}, window));
        EXPECT_EQ(g_pressed, c.pressed[0] ? std::vector<std::string>{c.pressed} : std::vector<std::string>{})
            << c.where << ", x " << c.x;
    }
    g_pressed.clear();
    platform::TouchDriver(window).tap(bar->convertPointToView({drawn.midX(), bar->bounds().height() + 10}, window));
    EXPECT_TRUE(g_pressed.empty()) << "below the bar nothing is handed on";
}

TEST_F(NavigationTest, TitleViewLargeTitlesAndBarHeight) {
    auto label = alloc<UIView>();
    label->initWithFrame(CGRectMake(0, 0, 80, 30));
    root->navigationItem()->setTitleView(label);
    EXPECT_EQ(nav->navigationBar()->displayedTitle(), "");
    EXPECT_EQ(label->superview(), nav->navigationBar());
    window->layoutIfNeeded();
    CGFloat statusBar = UIScreen::mainScreen()->profile().statusBarHeight;
    EXPECT_EQ(nav->navigationBar()->frame(), CGRectMake(0, statusBar, window->bounds().width(), 44));
    EXPECT_EQ(label->frame().midX(), window->bounds().width() / 2);

    nav->navigationBar()->setPrefersLargeTitles(true);
    EXPECT_TRUE(nav->navigationBar()->showsLargeTitle());
    root->navigationItem()->setLargeTitleDisplayMode(UINavigationItemLargeTitleDisplayModeNever);
    EXPECT_FALSE(nav->navigationBar()->showsLargeTitle());
}

TEST_F(NavigationTest, PopToRootLeavesOnlyTheRootAndBackTitlesFollowTheStack) {
    std::vector<Ref<UIViewController>> pages;
    for (const char* title : {"General", "About"}) {
        auto page = alloc<UIViewController>();
        page->init();
        page->setTitle(title);
        nav->pushViewControllerAnimated(page, false);
        pages.push_back(page);
    }
    EXPECT_EQ(nav->navigationBar()->backButtonTitle(), "General");
    pages[0]->navigationItem()->setBackButtonTitle("Back to General");
    EXPECT_EQ(nav->navigationBar()->backButtonTitle(), "Back to General");
    EXPECT_THROW(nav->pushViewControllerAnimated(pages[1], false), platform::RuntimeError);
    auto popped = nav->popToRootViewControllerAnimated(false);
    EXPECT_EQ(popped, pages);
    EXPECT_EQ(nav->topViewController(), root);
    EXPECT_TRUE(root->isVisible());
    EXPECT_FALSE(pages[1]->isVisible());
    EXPECT_EQ(pages[1]->navigationController(), nullptr);
}

TEST_F(NavigationTest, KeyWindowHoldsFloatingViewsAndPresentsOverTheRoot) {
    auto drawer = alloc<UIView>();
    drawer->initWithFrame(CGRectMake(0, 0, 300, 667));
    UIApplication::sharedApplication()->keyWindow()->addSubview(drawer);
    auto sheet = alloc<UIViewController>();
    sheet->init();
    UIApplication::sharedApplication()->keyWindow()->rootViewController()->presentViewControllerAnimatedCompletion(
        sheet, false);
    // A page sheet starts 10 points below the status bar and lies over the floating view.
    CGFloat top = UIScreen::mainScreen()->profile().statusBarHeight + 10;
    EXPECT_EQ(sheet->view()->frame(), CGRectMake(0, top, window->bounds().width(), window->bounds().height() - top));
    const auto& subviews = window->subviews();
    EXPECT_EQ(subviews.front(), nav->view());
    EXPECT_EQ(subviews.back(), sheet->view());
    EXPECT_NE(std::find(subviews.begin(), subviews.end(), drawer), subviews.end());
}

TEST(RecordedEffects, UrlOpensAndHapticsShareOneOrderedLog) {
    platform::resetRunLoop();
    platform::clearEffectLog();
    std::vector<bool> answers;
    auto app = UIApplication::sharedApplication();
    app->openURLOptionsCompletionHandler("prefs:root=WIFI", nullptr, [&](bool ok) { answers.push_back(ok); });
    auto haptic = alloc<UIImpactFeedbackGenerator>();
    haptic->initWithStyle(UIImpactFeedbackStyleLight);
    haptic->impactOccurred();
    app->openURLOptionsCompletionHandler("not a url", nullptr, [&](bool ok) { answers.push_back(ok); });
    // Completions come on a later turn, never inside the call.
    EXPECT_TRUE(answers.empty());
    platform::RunLoop::main().drain();
    EXPECT_EQ(answers, (std::vector<bool>{true, false}));
    const std::vector<platform::EffectRecord> expected = {
        {"applicationOpenURL", "prefs:root=WIFI", 1}, {"impact", "", 0}, {"applicationOpenURL", "not a url", 0}};
    EXPECT_EQ(platform::effectLog(), expected);
}

TEST(EffectViews, BlurStylesAndSearchFieldBackground) {
    struct Case {
        long style;
        bool dark;
    };
    for (const Case& c : {Case{11, false}, Case{16, true}, Case{2, true}, Case{1, false}}) {
        auto view = alloc<UIVisualEffectView>();
        view->initWithEffect(UIBlurEffect::effectWithStyle(c.style));
        EXPECT_EQ(view->effect()->style(), c.style);
        EXPECT_EQ(view->effect()->isDark(), c.dark) << c.style;
        EXPECT_FALSE(view->materialView()->isHidden());
    }
    auto search = alloc<UISearchController>();
    search->initWithSearchResultsController(nullptr);
    auto field = search->searchBar()->searchTextField();
    ASSERT_NE(field->backgroundView(), nullptr);
    EXPECT_EQ(field->backgroundView()->superview(), field);
}

}  // namespace
