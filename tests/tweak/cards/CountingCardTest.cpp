// The counting cards: what each counts when it is built, what a missing or unreadable source counts as, and the
// section titles and addresses of the sub-pages they open.
#include "tests/tweak/cards/CardFixture.h"

#include "tweak/cards/VantileCountingCell.h"

#include "platform/core/DeviceRoot.h"
#include "platform/core/RunLoop.h"
#include "platform/core/Runtime.h"
#include "platform/system/LSApplicationWorkspace.h"
#include "platform/harness/EffectLog.h"
#include "platform/harness/TouchDriver.h"
#include "platform/ui/UILabel.h"

#include <fstream>

namespace {

using vantile::testing::CardFixture;
namespace key = vantile::key;
namespace fs = std::filesystem;

constexpr CGRect kCardFrame{{10, 60}, {177.5, 120}};

class CountingCards : public CardFixture {
protected:
    void TearDown() override {
        for (const char* folder : {"/Applications", "/Library/PreferenceBundles"}) fs::remove_all(device(folder));
        platform::system::resetApplicationRecords();
        platform::runtime::disableAllClassGroups();
        CardFixture::TearDown();
    }
    static fs::path device(const std::string& path) { return *platform::devicePath(path); }
    // Makes the folder with entries of every kind: folders, a plain file, a hidden file and a link.
    static void populate(const std::string& folder, const std::vector<std::string>& bundles) {
        const fs::path dir = device(folder);
        fs::create_directories(dir);
        for (const auto& name : bundles) fs::create_directories(dir / name);
    }
    static std::string subtitleOf(std::string_view cardClass) {
        return makeCard(cardClass, kCardFrame)->subtitleLabel()->text();
    }
};

TEST_F(CountingCards, FolderCardsCountEveryEntry) {
    EXPECT_EQ(subtitleOf("StockAppsCell"), "0 installed") << "missing folder";
    EXPECT_EQ(subtitleOf("TweaksCell"), "0 Tweaks");

    populate("/Applications", {"Camera.app", "Maps.app"});
    std::ofstream(device("/Applications/README")) << "x";
    std::ofstream(device("/Applications/.hidden")) << "x";
    fs::create_symlink(device("/Applications/Maps.app"), device("/Applications/Link.app"));
    EXPECT_EQ(subtitleOf("StockAppsCell"), "5 installed");

    populate("/Library/PreferenceBundles", {"VantilePrefs.bundle"});
    EXPECT_EQ(subtitleOf("TweaksCell"), "1 Tweaks") << "no singular form";
    populate("/Library/PreferenceBundles", {"A.bundle", "B.bundle"});
    EXPECT_EQ(subtitleOf("TweaksCell"), "3 Tweaks");
}

TEST_F(CountingCards, UnreadableFolderCountsZero) {
    // A file where the folder should be cannot be listed, whoever runs the test (root reads any folder).
    fs::create_directories(device("/Library"));
    std::ofstream(device("/Library/PreferenceBundles")) << "not a folder";
    std::ofstream(device("/Applications")) << "not a folder";
    EXPECT_EQ(subtitleOf("TweaksCell"), "0 Tweaks");
    EXPECT_EQ(subtitleOf("StockAppsCell"), "0 installed");
}

TEST_F(CountingCards, CountIsTakenWhenTheCardIsBuilt) {
    populate("/Applications", {"Camera.app"});
    auto card = makeCard("StockAppsCell", kCardFrame);
    populate("/Applications", {"Maps.app"});
    platform::RunLoop::main().advance(2);
    EXPECT_EQ(card->subtitleLabel()->text(), "1 installed");
    EXPECT_EQ(subtitleOf("StockAppsCell"), "2 installed");
}

TEST_F(CountingCards, StoreAppsAreTheRecordsWithAnItemName) {
    platform::system::setApplicationRecords({{"com.example.notes", "Notes Plus"},
                                             {"com.apple.camera", std::nullopt},
                                             {"com.example.maps", "Maps Pro"},
                                             {"com.example.blank", ""}});
    EXPECT_EQ(subtitleOf("ThirdPartyAppsCell"), "0 installed") << "no workspace in the process";
    platform::runtime::enableClassGroup("LSApplicationWorkspace");
    // An empty item name is still a name: only a missing one marks a system application.
    EXPECT_EQ(VantileCountingCell::storeItemNames(), (std::vector<std::string>{"Notes Plus", "Maps Pro", ""}));
    const std::size_t before = LSApplicationWorkspace::enumerationCount();
    EXPECT_EQ(subtitleOf("ThirdPartyAppsCell"), "3 installed");
    EXPECT_EQ(subtitleOf("ThirdPartyAppsCell"), "3 installed");
    EXPECT_EQ(LSApplicationWorkspace::enumerationCount(), before + 2) << "every card enumerates afresh";
}

TEST_F(CountingCards, ChangedStockTitleReachesNewCardsAndNotTheAddress) {
    platform::runtime::enableClassGroup("Preferences");
    ASSERT_TRUE(objc_getClass("PSURLManager")) << "the host's URL manager must be in this program";
    store(key::toggleHaptics, false);
    auto old = makeCard("StockAppsCell", kCardFrame);
    store(key::stockAppsString, "Apple");
    Ref<UIView> root = makeRoot();
    auto card = makeCard("StockAppsCell", kCardFrame);
    root->addSubview(card);
    root->layoutIfNeeded();
    EXPECT_EQ(old->titleLabel()->text(), "Stock Apps");
    EXPECT_EQ(card->titleLabel()->text(), "Apple");
    platform::clearEffectLog();
    platform::TouchDriver(root).tap(CGPoint{kCardFrame.origin.x + 88, kCardFrame.origin.y + 60});
    EXPECT_EQ(platform::effectLog(),
              (std::vector<platform::EffectRecord>{{"openURL", "prefs:root=APPLE_APPS", 0}}));
}

}  // namespace
