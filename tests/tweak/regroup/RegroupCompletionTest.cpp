#include "tweak/regroup/RegroupCompletion.h"

#include "platform/core/Runtime.h"
#include "platform/core/NSMutableDictionary.h"
#include "platform/host/PSUIPrefsListController.h"
#include "tests/tweak/regroup/RegroupFixture.h"

#include <gtest/gtest.h>

namespace {

using vantile::regroup::RegroupCompletion;
using vantile::testing::namedLinkRows;
using vantile::testing::RootListShape;
using vantile::testing::split;

Ref<PSSpecifier> appRow(const std::string& identifier) {
    auto row = PSSpecifier::preferenceSpecifierNamedTargetSetGetDetailCellEdit(
        identifier, nullptr, nullptr, nullptr, nullptr, PSSpecifier::PSLinkCell, nullptr);
    row->setIdentifier(identifier);
    return row;
}

Ref<NSMutableArray> listOf(std::vector<id> entries) { return NSMutableArray::arrayWithObjects(std::move(entries)); }

class RegroupCompletionTest : public testing::Test {
protected:
    RegroupCompletionTest()
        : shape(split("#h0 A hostMoved B #h1 STORE Wallet #acc=ACCOUNTS_GROUP Mail com.apple.news #med=MEDIA_GROUP "
                      "Photos com.apple.iBooks #h3 tweak1 #h4 app1 app2")) {
        controller = alloc<PSUIPrefsListController>();
        controller->init();
        controller->setSpecifiers(shape.list());
        hostMoved = NSMutableDictionary::dictionary();
        hostMoved->setObjectForKey(shape.entry("hostMoved"), "com.example.moved");
        EXPECT_TRUE(object_setIvar(controller.get(), "_movedThirdPartySpecifiers", hostMoved));
        movedNews = appRow("com.apple.news");
        moved = NSMutableDictionary::dictionary();
        moved->setObjectForKey(movedNews, "com.apple.news");
    }

    std::vector<std::string> rootTokens() { return shape.tokens(controller->specifiersIvar()); }

    RootListShape shape;
    Ref<PSUIPrefsListController> controller;
    Ref<NSMutableDictionary> hostMoved;
    Ref<NSMutableDictionary> moved;
    Ref<PSSpecifier> movedNews;
    RegroupCompletion completion;
};

TEST_F(RegroupCompletionTest, FirstCompletionRegroupsThenRefreshesTheMovedAndInstalledApplications) {
    const Ref<NSMutableArray> before = controller->specifiersIvar();
    completion.complete(*controller, listOf({shape.entry("app1"), shape.entry("app2")}), moved, namedLinkRows());

    ASSERT_TRUE(completion.hasRegrouped());
    const auto& lists = completion.lists();
    // The Apple list drops its own entries of the applications the host lists among the installed ones and takes
    // the moved entry instead.
    EXPECT_EQ(shape.tokens(lists.apple), split("#h1 STORE Wallet #acc Mail #med Photos com.apple.news"));
    EXPECT_EQ(lists.apple->lastObject(), movedNews);
    EXPECT_EQ(shape.tokens(lists.installed), split("app1 app2")) << "the host's array replaces the installed group";
    EXPECT_EQ(shape.tokens(lists.tweaks), split("#h3 tweak1"));
    // The controller's own moved entries leave the root page too; it gets a new list, the old one is untouched.
    EXPECT_EQ(rootTokens(), split("#h0 A +# link:tweaks link:apple link:installed B"));
    EXPECT_NE(controller->specifiersIvar(), before);
    EXPECT_EQ(before->count(), shape.list()->count());
}

TEST_F(RegroupCompletionTest, SecondCompletionRefreshesWithoutRegroupingAgain) {
    completion.complete(*controller, listOf({shape.entry("app1"), shape.entry("app2")}), moved, namedLinkRows());
    const auto lists = completion.lists();
    const auto afterFirst = rootTokens();

    // The host adds the applications to the root list again, and hands over the same moved entry.
    auto app3 = appRow("app3");
    controller->specifiersIvar()->addObject(app3);
    completion.complete(*controller, listOf({app3}), moved, namedLinkRows());

    EXPECT_EQ(rootTokens(), afterFirst) << "no second header, no second set of links";
    EXPECT_EQ(completion.lists().apple, lists.apple) << "the same list objects, which sub-pages already show";
    EXPECT_EQ(completion.lists().installed, lists.installed);
    EXPECT_EQ(shape.tokens(lists.installed), split("app3"));
    EXPECT_EQ(shape.tokens(lists.apple), split("#h1 STORE Wallet #acc Mail #med Photos com.apple.news"))
        << "the moved entry is there once";

    // A moved application of another identifier is not dropped by the Apple list's own filter; still only once.
    auto mapsMoved = appRow("com.apple.Maps");
    moved->setObjectForKey(mapsMoved, "com.apple.Maps");
    completion.complete(*controller, listOf({app3}), moved, namedLinkRows());
    completion.complete(*controller, listOf({app3}), moved, namedLinkRows());
    EXPECT_EQ(shape.tokens(lists.apple),
              split("#h1 STORE Wallet #acc Mail #med Photos com.apple.Maps com.apple.news"));
}

TEST_F(RegroupCompletionTest, ControllerWithoutMovedInstanceVariableKeepsThoseEntries) {
    auto page = alloc<PSListController>();
    page->init();
    page->setSpecifiers(shape.list());
    completion.complete(*page, listOf({shape.entry("app1")}), nullptr, namedLinkRows());
    EXPECT_EQ(shape.tokens(page->specifiersIvar()), split("#h0 A +# link:tweaks link:apple link:installed hostMoved B"));
    EXPECT_EQ(shape.tokens(completion.lists().installed), split("app1"));
}

TEST(RegroupCompletionShapes, WithoutAnInstalledListTheApplicationsStayOnTheRootPage) {
    // With a TV-provider group and exactly four groups no installed list is formed, so there is no link to one.
    RootListShape shape(split("#h0 A #h1 STORE #a1 Mail #a2 Photos #tv=VIDEO_SUBSCRIBER_GROUP TVApp #h3 tweak1"));
    auto controller = alloc<PSUIPrefsListController>();
    controller->init();
    controller->setSpecifiers(shape.list());
    RegroupCompletion completion;
    completion.complete(*controller, NSMutableArray::array(), nullptr, namedLinkRows());
    ASSERT_FALSE(completion.lists().installed);
    EXPECT_EQ(shape.tokens(controller->specifiersIvar()), split("#h0 A +# link:tweaks link:apple"));

    auto app = appRow("app1");
    controller->specifiersIvar()->addObject(app);
    completion.complete(*controller, listOf({app}), nullptr, namedLinkRows());
    EXPECT_TRUE(controller->specifiersIvar()->containsObject(app));
}

}  // namespace
