#include "tests/tweak/regroup/RegroupFixture.h"
#include "tests/tweak/startup/RootPageFixture.h"

#include "common/Keys.h"
#include "platform/core/NSURL.h"
#include "platform/core/RunLoop.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/UIImage.h"
#include "platform/host/InstalledApplications.h"
#include "platform/core/NSMutableDictionary.h"
#include "platform/host/PSURLManager.h"
#include "platform/host/ThirdPartySpecifiersCompletion.h"
#include "platform/ui/UINavigationController.h"
#include "tweak/regroup/AppStoreAppSpecifiersController.h"
#include "tweak/regroup/AppleAppSpecifiersController.h"
#include "tweak/regroup/RegroupCompletion.h"
#include "tweak/regroup/RegroupHooks.h"
#include "tweak/regroup/RegroupLinkRows.h"
#include "tweak/regroup/TweakSpecifiersController.h"

#include <gtest/gtest.h>

namespace {

using platform::host::InstalledApplications;
using vantile::regroup::regrouping;
using vantile::testing::RootListShape;
using vantile::testing::split;

const char* const kRootShape = "#acc=APPLE_ACCOUNT_GROUP APPLE_ACCOUNT #h0 WIFI General #h1 STORE Wallet "
                               "#a1=ACCOUNTS_GROUP Mail com.apple.news #a2=MEDIA_GROUP Photos #h3 tweak1";

class RegroupHook : public vantile::testing::RootPageFixture {
protected:
    // A root page of kRootShape after the host loaded one installed application and one moved Apple one.
    Ref<PSUIPrefsListController> showRegroupedRootPage() {
        InstalledApplications::setInstalled({{"com.example.one", "One", std::nullopt}});
        InstalledApplications::setMovedApple({{"com.apple.news", "News", std::nullopt}});
        return showRootPage(shape.list());
    }
    static Ref<PSSpecifier> at(const Ref<NSMutableArray>& list, std::size_t i) {
        return list->objectAtIndexAs<PSSpecifier>(i);
    }
    std::vector<std::string> names(const Ref<NSMutableArray>& list) const { return shape.tokens(list); }

    RootListShape shape{split(kRootShape)};
};

TEST_F(RegroupHook, HostCompletionRegroupsTheRootListIntoThreeLinkedSubPages) {
    store(vantile::key::tweaksSectionString, "Mods");
    const std::size_t completionsBefore = vantile::regroup::settings().completions;
    auto root = showRegroupedRootPage();
    ASSERT_TRUE(regrouping().hasRegrouped());
    EXPECT_EQ(vantile::regroup::settings().completions, completionsBefore + 1) << "one load, one completion";

    const auto list = root->specifiersIvar();
    EXPECT_EQ(names(list), (std::vector<std::string>{"APPLE_ACCOUNT", "#h0", "+#", "Mods", "Stock Apps",
                                                     "3rd Party Apps", "WIFI", "General"}));
    struct Link {
        std::size_t index;
        Class detail;
        std::optional<std::string> identifier;
    };
    const Link links[] = {
        {3, TweakSpecifiersController::classObject(), std::nullopt},
        {4, AppleAppSpecifiersController::classObject(), "APPLE_APPS"},
        {5, AppStoreAppSpecifiersController::classObject(), "THIRD_PARTY_APPS"},
    };
    for (const auto& l : links) {
        auto link = at(list, l.index);
        SCOPED_TRACE(link->name());
        EXPECT_EQ(link->target(), root);
        EXPECT_EQ(link->detailControllerClass(), l.detail);
        EXPECT_EQ(link->cellType(), PSSpecifier::PSLinkCell);
        EXPECT_EQ(link->identifier(), l.identifier);
    }
    auto tweakIcon = at(list, 3)->propertyForKey("iconImage");
    ASSERT_TRUE(tweakIcon && tweakIcon->object<UIImage>());
    EXPECT_EQ(tweakIcon->object<UIImage>()->source(), vantile::regroup::kTweaksIconPath);

    // The Apple list took the host's moved News entry in place of its own; the installed list is the host's array.
    const auto& lists = regrouping().lists();
    EXPECT_EQ(names(lists.tweaks), split("#h3 tweak1"));
    EXPECT_EQ(names(lists.apple), split("#h1 STORE Wallet #a1 Mail #a2 Photos News"));
    EXPECT_EQ(names(lists.installed), split("One"));

    // Each sub-page, created by its class name as the host creates link pages, shows its list object itself.
    const std::pair<const char*, Ref<NSMutableArray>> pages[] = {
        {"TweakSpecifiersController", lists.tweaks},
        {"AppleAppSpecifiersController", lists.apple},
        {"AppStoreAppSpecifiersController", lists.installed},
    };
    for (const auto& [name, expected] : pages) {
        auto page = cast<PSListController>(platform::runtime::createInstance(objc_getClass(name)));
        ASSERT_TRUE(page) << name;
        page->init();
        EXPECT_EQ(platform::msgSend<Ref<NSMutableArray>>(page.get(), sel("specifiers")), expected) << name;
    }
}

TEST_F(RegroupHook, LaterCompletionsRefreshTheInstalledPageWithoutRegroupingAgain) {
    auto root = showRegroupedRootPage();
    // The installed applications' page is on screen when the host loads again.
    root->openEntry(at(root->specifiersIvar(), 5));
    platform::RunLoop::main().advance(1);
    auto installedPage = cast<PSListController>(topPage());
    ASSERT_TRUE(installedPage && installedPage->className() == "AppStoreAppSpecifiersController");
    const auto apple = regrouping().lists().apple;

    int callerCalls = 0;
    InstalledApplications::setInstalled({{"com.example.one", "One", std::nullopt},
                                         {"com.example.two", "Two", std::nullopt}});
    auto apps = NSMutableArray::array();
    platform::msgSend<void, Ref<NSMutableArray>, ThirdPartySpecifiersCompletion>(
        root.get(), sel("_reallyLoadThirdPartySpecifiersForApps:withCompletion:"), apps,
        [&](Ref<NSMutableArray>, Ref<NSMutableDictionary> moved) {
            ++callerCalls;
            EXPECT_TRUE(moved);
        });
    root->loadInstalledApplications();
    platform::RunLoop::main().advance(1);

    EXPECT_EQ(callerCalls, 1) << "the caller's own block still runs";
    std::size_t links = 0;
    for (const id& entry : *root->specifiersIvar())
        if (auto s = cast<PSSpecifier>(entry); s && s->detailControllerClass() && s->target() == root) ++links;
    EXPECT_EQ(links, 3u) << "no second set of links";
    EXPECT_EQ(regrouping().lists().apple, apple);
    EXPECT_EQ(names(apple), split("#h1 STORE Wallet #a1 Mail #a2 Photos News")) << "News once";
    EXPECT_EQ(names(installedPage->specifiersIvar()), split("One Two")) << "the page on screen shows the refresh";
    for (const id& entry : *root->specifiersIvar())
        EXPECT_NE(cast<PSSpecifier>(entry)->name(), "Two") << "installed applications stay off the root page";
}

TEST_F(RegroupHook, LinkRowsAndCountingCardsLandOnTheSubPages) {
    store(vantile::key::tweaksSectionString, "Mods");
    auto root = showRegroupedRootPage();
    struct Case {
        const char* opener;
        const char* page;
        Ref<NSMutableArray> list;
    };
    const auto& lists = regrouping().lists();
    const Case addresses[] = {
        {"prefs:root=APPLE_APPS", "AppleAppSpecifiersController", lists.apple},
        {"prefs:root=THIRD_PARTY_APPS", "AppStoreAppSpecifiersController", lists.installed},
        {"prefs:root=Mods", "TweakSpecifiersController", lists.tweaks},
    };
    for (const auto& c : addresses) {
        SCOPED_TRACE(c.opener);
        PSURLManager::sharedManager()->processURLAnimatedFromSearchWithCompletion(NSURL::URLWithString(c.opener),
                                                                                 true, false, {});
        platform::RunLoop::main().advance(1);
        auto page = cast<PSListController>(topPage());
        ASSERT_TRUE(page);
        EXPECT_EQ(page->className(), c.page);
        EXPECT_EQ(page->specifiersIvar(), c.list);
        navigation->popToRootViewControllerAnimated(false);
    }
    const Case cards[] = {
        {"StockAppsCell", "AppleAppSpecifiersController", lists.apple},
        {"ThirdPartyAppsCell", "AppStoreAppSpecifiersController", lists.installed},
        {"TweaksCell", "TweakSpecifiersController", lists.tweaks},
    };
    for (const auto& c : cards) {
        SCOPED_TRACE(c.opener);
        auto card = makeCard(c.opener, CGRect{{0, 0}, {170, 120}});
        ASSERT_TRUE(card);
        platform::msgSend<void>(card.get(), sel("openPreferencesPath"));
        platform::RunLoop::main().advance(1);
        auto page = cast<PSListController>(topPage());
        ASSERT_TRUE(page);
        EXPECT_EQ(page->className(), c.page);
        EXPECT_EQ(page->specifiersIvar(), c.list);
        navigation->popToRootViewControllerAnimated(false);
    }
}

}  // namespace
