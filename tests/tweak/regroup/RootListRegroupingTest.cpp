#include "tests/tweak/regroup/RegroupFixture.h"

#include <gtest/gtest.h>

namespace {

using vantile::regroup::RegroupFlags;
using vantile::regroup::regroupRootList;
using vantile::testing::namedLinkRows;
using vantile::testing::RootListShape;
using vantile::testing::split;

struct Shape {
    const char* name;
    const char* root;
    const char* apple;
    const char* tweaks;
    const char* installed;
    const char* rootAfter;
    bool developerSeen;
    bool tvProviderSeen;
};

// Worked out by hand from the grouping rules: the two group headers after the App Store row are Apple's (one more
// for each of the TV-provider and Developer groups, whose header is counted and then taken back), the next one
// starts the tweak list, every later one the installed list.
const Shape kShapes[] = {
    {"plain",
     "#h0 A B #h1 STORE Wallet #acc=ACCOUNTS_GROUP Mail #h2 Photos #h3 tweak1 #h4 app1",
     "#h1 STORE Wallet #acc Mail #h2 Photos", "#h3 tweak1", "#h4 app1",
     "#h0 A +# link:tweaks link:apple link:installed B", false, false},
    {"developer group after Photos",
     "#h0 A B #h1 STORE Wallet #acc=ACCOUNTS_GROUP Mail #h2 Photos #dev DEVELOPER_SETTINGS #h3 tweak1 #h4 app1",
     "#h1 STORE Wallet #acc Mail #h2 Photos", "#h3 tweak1", "#h4 app1",
     "#h0 A +# link:tweaks link:apple link:installed B #dev DEVELOPER_SETTINGS", true, false},
    {"TV-provider group before the tweaks",
     "#h0 A B #h1 STORE Wallet #acc=ACCOUNTS_GROUP Mail #med=MEDIA_GROUP Photos #tv=VIDEO_SUBSCRIBER_GROUP TVApp "
     "#h3 tweak1 #h4 app1",
     "#h1 STORE Wallet #acc Mail #med Photos #tv TVApp", "#h3 tweak1", "#h4 app1",
     "#h0 A +# link:tweaks link:apple link:installed B", false, true},
    {"TV-provider and developer groups",
     "#h0 A B #h1 STORE Wallet #acc=ACCOUNTS_GROUP Mail #h2 Photos #tv=VIDEO_SUBSCRIBER_GROUP TVApp "
     "#dev DEVELOPER_SETTINGS #h3 tweak1 #h4 app1",
     "#h1 STORE Wallet #acc Mail #h2 Photos #tv TVApp", "#h3 tweak1", "#h4 app1",
     "#h0 A +# link:tweaks link:apple link:installed B #dev DEVELOPER_SETTINGS", true, true},
    {"tweak list starting with two headers loses the first",
     "#h0 A B #h1 STORE Wallet #acc=ACCOUNTS_GROUP Mail #h2 Photos #h3 #tv=VIDEO_SUBSCRIBER_GROUP tweak1 #h4 app1",
     "#h1 STORE Wallet #acc Mail #h2 Photos", "#tv tweak1", "#h4 app1",
     "#h0 A +# link:tweaks link:apple link:installed B #h3", false, true},
    {"no STORE row: only the empty header and the installed link",
     "#h0 A B #h1 Wallet #acc=ACCOUNTS_GROUP Mail #h2 Photos #h3 tweak1 #h4 app1", "null", "null", "",
     "#h0 A +# link:installed B #h1 Wallet #acc Mail #h2 Photos #h3 tweak1 #h4 app1", false, false},
    {"STORE row first, root too short for index 2",
     "STORE Wallet", "STORE Wallet", "null", "", "+# link:apple link:installed", false, false},
    {"more groups than expected all go to the installed list",
     "#h0 A #h1 STORE #a1 Mail #a2 Photos #h3 tweak1 #h4 app1 #h5 app2",
     "#h1 STORE #a1 Mail #a2 Photos", "#h3 tweak1", "#h4 app1 #h5 app2", "#h0 A +# link:tweaks link:apple link:installed",
     false, false},
    {"Apple group headers go off the root page wherever they stand",
     "#top=APPLE_ACCOUNT_GROUP Account #h0 A #stray=MEDIA_GROUP B #h1 STORE #a1 Mail #a2 Photos #h3 tweak1 #h4 app1",
     "#h1 STORE #a1 Mail #a2 Photos", "#h3 tweak1", "#h4 app1", "Account #h0 +# link:tweaks link:apple link:installed A B",
     false, false},
};

TEST(RootListRegrouping, ListShapes) {
    for (const Shape& shape : kShapes) {
        SCOPED_TRACE(shape.name);
        RootListShape entries(split(shape.root));
        auto root = entries.list();
        RegroupFlags flags;
        const auto lists = regroupRootList(*root, flags, namedLinkRows());
        EXPECT_EQ(entries.tokens(lists.apple), split(shape.apple));
        EXPECT_EQ(entries.tokens(lists.tweaks), split(shape.tweaks));
        EXPECT_EQ(entries.tokens(lists.installed), split(shape.installed));
        EXPECT_EQ(entries.tokens(root), split(shape.rootAfter));
        EXPECT_EQ(flags.developerSeen, shape.developerSeen);
        EXPECT_EQ(flags.tvProviderSeen, shape.tvProviderSeen);
    }
}

TEST(RootListRegrouping, RemovalIsByIdentityWhereverTheEntryStands) {
    RootListShape entries(split("#h0 A B #h1 STORE Wallet #a1 Mail #a2 Photos #h3 tweak1 #h4 app1"));
    auto root = entries.list();
    // The same tweak entry object also stands near the top, and a different object that looks exactly like it too.
    auto lookalike = PSSpecifier::preferenceSpecifierNamedTargetSetGetDetailCellEdit(
        "tweak1", nullptr, nullptr, nullptr, nullptr, PSSpecifier::PSLinkCell, nullptr);
    lookalike->setIdentifier("tweak1");
    root->insertObjectAtIndex(entries.entry("tweak1"), 1);
    root->insertObjectAtIndex(lookalike, 2);

    RegroupFlags flags;
    regroupRootList(*root, flags, namedLinkRows());
    EXPECT_FALSE(root->containsObject(entries.entry("tweak1")));
    EXPECT_TRUE(root->containsObject(lookalike));
    EXPECT_EQ(entries.tokens(root),
              split("#h0 tweak1 +# link:tweaks link:apple link:installed A B"))
        << "the look-alike is another object and stays";
}

TEST(RootListRegrouping, LinkRowsTheFactoryRefusesAreLeftOut) {
    RootListShape entries(split("#h0 A B #h1 STORE #a1 Mail #a2 Photos #h3 tweak1 #h4 app1"));
    auto root = entries.list();
    RegroupFlags flags;
    const auto lists = regroupRootList(*root, flags, [](vantile::regroup::LinkKind kind) {
        return kind == vantile::regroup::LinkKind::AppleApps ? namedLinkRows()(kind) : nullptr;
    });
    EXPECT_EQ(entries.tokens(root), split("#h0 A +# link:apple B"));
    EXPECT_EQ(entries.tokens(lists.tweaks), split("#h3 tweak1")) << "the list is formed all the same";
}

TEST(RootListRegrouping, FlagsSetEarlierShiftTheThresholds) {
    // The flags belong to the process: a developer group seen before moves the tweak group one further.
    RootListShape entries(split("#h0 A #h1 STORE #a1 Mail #a2 Photos #a3 Music #h3 tweak1 #h4 app1"));
    auto root = entries.list();
    RegroupFlags flags{.developerSeen = true, .tvProviderSeen = false};
    const auto lists = regroupRootList(*root, flags, namedLinkRows());
    EXPECT_EQ(entries.tokens(lists.apple), split("#h1 STORE #a1 Mail #a2 Photos #a3 Music"));
    EXPECT_EQ(entries.tokens(lists.tweaks), split("#h3 tweak1"));
}

}  // namespace
