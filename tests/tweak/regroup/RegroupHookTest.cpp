#include "tests/tweak/regroup/RegroupFixture.h"
#include "tests/tweak/startup/RootPageFixture.h"

#include "common/Keys.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/UIImage.h"
#include "platform/host/NSMutableDictionary.h"
#include "platform/host/ThirdPartySpecifiersCompletion.h"
#include "tweak/regroup/AppStoreAppSpecifiersController.h"
#include "tweak/regroup/AppleAppSpecifiersController.h"
#include "tweak/regroup/RegroupCompletion.h"
#include "tweak/regroup/RegroupHooks.h"
#include "tweak/regroup/RegroupLinkRows.h"
#include "tweak/regroup/TweakSpecifiersController.h"

#include <gtest/gtest.h>

namespace {

using vantile::regroup::regrouping;
using vantile::testing::RootListShape;
using vantile::testing::split;

class RegroupHook : public vantile::testing::RootPageFixture {
protected:
    // The host's loading of installed applications, as the root page starts it, with a caller's completion that
    // counts its calls.
    void loadInstalled(const Ref<TestSettingsRoot>& root, std::vector<id> apps) {
        platform::msgSend<void, Ref<NSMutableArray>, ThirdPartySpecifiersCompletion>(
            root.get(), sel("_reallyLoadThirdPartySpecifiersForApps:withCompletion:"),
            NSMutableArray::arrayWithObjects(std::move(apps)),
            [this](Ref<NSMutableArray> installed, Ref<NSMutableDictionary> moved) {
                ++callerCalls;
                callerInstalled = installed;
                EXPECT_TRUE(moved);
            });
    }
    static Ref<PSSpecifier> appRow(const std::string& identifier) {
        auto row = PSSpecifier::preferenceSpecifierNamedTargetSetGetDetailCellEdit(
            identifier, nullptr, nullptr, nullptr, nullptr, PSSpecifier::PSLinkCell, nullptr);
        row->setIdentifier(identifier);
        return row;
    }
    static Ref<PSSpecifier> at(const Ref<NSMutableArray>& list, std::size_t i) {
        return list->objectAtIndexAs<PSSpecifier>(i);
    }

    int callerCalls = 0;
    Ref<NSMutableArray> callerInstalled;
};

TEST_F(RegroupHook, HostCompletionRegroupsOnceAndTheSubPagesShowTheLists) {
    ASSERT_FALSE(regrouping().hasRegrouped()) << "no other test of this program may complete a root page";
    store(vantile::key::tweaksSectionString, "Mods");
    RootListShape shape(split("#acc=APPLE_ACCOUNT_GROUP APPLE_ACCOUNT #h0 WIFI General #h1 STORE Wallet "
                              "#a1=ACCOUNTS_GROUP Mail #a2=MEDIA_GROUP Photos #h3 tweak1"));
    auto root = showRootPage(shape.list());
    auto app1 = appRow("com.example.one");
    loadInstalled(root, {app1});

    EXPECT_EQ(callerCalls, 1) << "the caller's block runs first, with the host's values";
    ASSERT_TRUE(callerInstalled);
    EXPECT_EQ(callerInstalled->objects(), std::vector<id>{app1});
    ASSERT_TRUE(regrouping().hasRegrouped());

    const auto list = root->specifiersIvar();
    EXPECT_EQ(shape.tokens(list), (std::vector<std::string>{"APPLE_ACCOUNT", "#h0", "+#", "Mods", "Stock Apps",
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
    ASSERT_TRUE(tweakIcon);
    ASSERT_TRUE(tweakIcon->object<UIImage>());
    EXPECT_EQ(tweakIcon->object<UIImage>()->source(), vantile::regroup::kTweaksIconPath);

    // Each sub-page shows its list object itself, found by its class name as the host creates it.
    const std::pair<const char*, Ref<NSMutableArray>> pages[] = {
        {"TweakSpecifiersController", regrouping().lists().tweaks},
        {"AppleAppSpecifiersController", regrouping().lists().apple},
        {"AppStoreAppSpecifiersController", regrouping().lists().installed},
    };
    std::vector<Ref<PSListController>> shown;
    for (const auto& [name, expected] : pages) {
        auto page = cast<PSListController>(platform::runtime::createInstance(objc_getClass(name)));
        ASSERT_TRUE(page) << name;
        page->init();
        ASSERT_TRUE(expected) << name;
        EXPECT_EQ(platform::msgSend<Ref<NSMutableArray>>(page.get(), sel("specifiers")), expected) << name;
        shown.push_back(page);
    }
    EXPECT_EQ(shape.tokens(regrouping().lists().tweaks), split("#h3 tweak1"));
    EXPECT_EQ(shape.tokens(regrouping().lists().apple), split("#h1 STORE Wallet #a1 Mail #a2 Photos"));

    // The host loads again: no second pass, the installed list (already on screen) is refreshed.
    auto app2 = appRow("com.example.two");
    loadInstalled(root, {app2});
    EXPECT_EQ(callerCalls, 2);
    std::size_t linkCount = 0;
    for (const id& entry : *root->specifiersIvar())
        if (auto s = cast<PSSpecifier>(entry); s && s->detailControllerClass()) ++linkCount;
    EXPECT_EQ(linkCount, 3u);
    EXPECT_FALSE(root->specifiersIvar()->containsObject(app2));
    EXPECT_EQ(platform::msgSend<Ref<NSMutableArray>>(shown[2].get(), sel("specifiers"))->objects(),
              std::vector<id>{app2});
    EXPECT_EQ(vantile::regroup::settings().completions, 2u);
}

}  // namespace
