// The host's whole root list (the simulated Settings application's data file) regrouped for each combination of
// the optional Developer and TV-provider groups: where every entry of the host's list ends up.
#include "tests/tweak/startup/RootPageFixture.h"

#include "platform/core/DeviceRoot.h"
#include "platform/core/DictionaryFile.h"
#include "platform/core/NSBundle.h"
#include "platform/core/RunLoop.h"
#include "platform/host/DeviceCapabilities.h"
#include "platform/host/InstalledApplications.h"
#include "platform/core/NSMutableArray.h"
#include "platform/core/NSMutableDictionary.h"
#include "platform/host/PSSpecifier.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UIWindow.h"
#include "platform/harness/Renderer.h"
#include "tests/support/Snapshot.h"
#include "tweak/regroup/RegroupCompletion.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

namespace {

using platform::host::DeviceCapabilities;
using platform::host::InstalledApplications;
using vantile::regroup::regrouping;

enum class Place { Root, Apple, Tweaks, Installed, Gone };

const char* placeName(Place p) {
    switch (p) {
    case Place::Root: return "root";
    case Place::Apple: return "Apple list";
    case Place::Tweaks: return "tweak list";
    case Place::Installed: return "installed list";
    case Place::Gone: return "nowhere";
    }
    return "?";
}

std::string label(const Ref<PSSpecifier>& s) {
    const std::string id = s->identifier().value_or("");
    return (s->isGroup() ? "#" : "") + (id.empty() ? s->name() : id);
}

bool isReplacedAppleApp(const std::string& id) {
    return id == "com.apple.news" || id == "com.apple.iBooks" || id == "com.apple.podcasts" ||
           id == "com.apple.itunesu";
}

// Read off the host's list by its landmarks, as a person would sort the Settings page: everything above the App
// Store's group stays, the App Store's group down to the TV provider is Apple's, the Developer group stays, the
// pane entries' group is the tweaks', the installed applications go to theirs and Apple's moved ones to Apple's.
std::map<const NSObject*, Place> expectedPlaces(const std::vector<Ref<PSSpecifier>>& original,
                                                const std::set<const NSObject*>& installed,
                                                const std::set<const NSObject*>& moved) {
    std::map<const NSObject*, Place> out;
    Place region = Place::Root;
    for (std::size_t i = 0; i < original.size(); ++i) {
        const auto& s = original[i];
        const std::string id = s->identifier().value_or("");
        const bool beforeStore = i + 1 < original.size() && original[i + 1]->identifier() == "STORE";
        const bool beforeDeveloper = i + 1 < original.size() && original[i + 1]->identifier() == "DEVELOPER_SETTINGS";
        if (beforeStore) region = Place::Apple;
        if (s->propertyForKey("preferenceLoaderGroup")) region = Place::Tweaks;
        if (s->isGroup() && i + 1 < original.size() &&
            (installed.count(original[i + 1].get()) || moved.count(original[i + 1].get())))
            region = Place::Installed;
        Place place = region;
        if (beforeDeveloper || id == "DEVELOPER_SETTINGS") place = Place::Root;
        else if (id == "APPLE_ACCOUNT_GROUP") place = Place::Gone;
        else if (region == Place::Apple && isReplacedAppleApp(id)) place = Place::Gone;
        else if (moved.count(s.get())) place = Place::Apple;
        else if (region == Place::Installed && !installed.count(s.get())) place = Place::Gone;  // the host's header
        out[s.get()] = place;
    }
    return out;
}

class RegroupDeviceList : public vantile::testing::RootPageFixture {
protected:
    void SetUp() override {
        RootPageFixture::SetUp();
        const auto settings = *platform::devicePath("/Applications/Preferences.app");
        std::filesystem::create_directories(settings);
        std::filesystem::copy_file(std::filesystem::path(VANTILE_SOURCE_DIR) / "sim/settings/Settings.plist",
                                   settings / "Settings.plist", std::filesystem::copy_options::overwrite_existing);
        std::filesystem::create_directories(*platform::devicePath("/Library/PreferenceLoader/Preferences"));
        const std::pair<const char*, const char*> panes[] = {{"VantilePrefs", "Vantile"}, {"Other", "Another Tweak"}};
        for (const auto& [file, name] : panes)
            platform::writeDictionaryToFile(std::string("/Library/PreferenceLoader/Preferences/") + file + ".plist",
                                            Value::Dictionary{{"entry", Value(Value::Dictionary{
                                                                           {"cell", "PSLinkCell"}, {"label", name}})}});
        platform::setMainBundlePath("/Applications/Preferences.app");
        platform::flushBundleCaches();
    }
    void TearDown() override {
        DeviceCapabilities::set({});
        platform::setMainBundlePath("");
        platform::flushBundleCaches();
        std::filesystem::remove_all(*platform::devicePath("/Applications/Preferences.app"));
        std::filesystem::remove_all(*platform::devicePath("/Library/PreferenceLoader"));
        RootPageFixture::TearDown();
    }
};

TEST_F(RegroupDeviceList, EveryEntryOfTheHostsListEndsUpInItsPlace) {
    struct Profile {
        const char* name;
        std::set<std::string, std::less<>> capabilities;
    };
    const Profile profiles[] = {
        {"neither", {}},
        {"developer group", {"developer-settings"}},
        {"TV provider", {"tv-provider"}},
        {"both", {"developer-settings", "tv-provider"}},
    };
    for (const auto& profile : profiles) {
        SCOPED_TRACE(profile.name);
        regrouping().reset();
        DeviceCapabilities::set(profile.capabilities);
        InstalledApplications::setInstalled({{"com.example.notes", "Bear", std::nullopt}});
        InstalledApplications::setMovedApple({{"com.apple.news", "News", std::nullopt}});

        auto root = alloc<PSUIPrefsListController>();
        root->init();
        navigation = alloc<UINavigationController>();
        navigation->initWithRootViewController(root);
        window = alloc<UIWindow>();
        window->initWithFrame(UIScreen::mainScreen()->bounds());
        window->setRootViewController(navigation);
        window->makeKeyAndVisible();
        // The host's own list object: the pass works on a copy, so this one keeps the host's order, with the
        // installed group the host appends to it when its applications arrive.
        const Ref<NSMutableArray> hostList = root->specifiersIvar();
        ASSERT_TRUE(hostList);
        ASSERT_FALSE(regrouping().hasRegrouped());
        platform::RunLoop::main().advance(1);
        ASSERT_TRUE(regrouping().hasRegrouped());
        const auto& lists = regrouping().lists();
        ASSERT_TRUE(lists.apple && lists.tweaks && lists.installed);
        ASSERT_NE(root->specifiersIvar(), hostList);

        std::vector<Ref<PSSpecifier>> original;
        for (const id& e : *hostList) original.push_back(cast<PSSpecifier>(e));
        std::set<const NSObject*> installed, moved;
        for (const id& e : *lists.installed) installed.insert(e.get());
        for (const auto& [key, e] : root->movedThirdPartySpecifiers()->entries()) moved.insert(e.get());
        ASSERT_EQ(installed.size(), 1u);
        ASSERT_EQ(moved.size(), 1u);

        std::map<const NSObject*, Place> actual;
        auto mark = [&](const Ref<NSMutableArray>& list, Place p) {
            for (const id& e : *list) actual.emplace(e.get(), p);
        };
        mark(root->specifiersIvar(), Place::Root);
        mark(lists.apple, Place::Apple);
        mark(lists.tweaks, Place::Tweaks);
        mark(lists.installed, Place::Installed);

        const auto expected = expectedPlaces(original, installed, moved);
        for (const auto& entry : original) {
            const auto found = actual.find(entry.get());
            const Place place = found == actual.end() ? Place::Gone : found->second;
            EXPECT_STREQ(placeName(place), placeName(expected.at(entry.get()))) << label(entry);
        }
        const bool developer = profile.capabilities.count("developer-settings") > 0;
        const bool tv = profile.capabilities.count("tv-provider") > 0;
        auto has = [&](const Ref<NSMutableArray>& list, const char* identifier) {
            for (const id& e : *list)
                if (cast<PSSpecifier>(e)->identifier() == identifier) return true;
            return false;
        };
        EXPECT_EQ(has(root->specifiersIvar(), "DEVELOPER_SETTINGS"), developer);
        EXPECT_EQ(has(lists.apple, "VIDEO_SUBSCRIBER"), tv);
        EXPECT_TRUE(has(lists.apple, "STORE"));
        EXPECT_EQ(lists.tweaks->count(), 3u) << "the pane entries' header and the two entries";
        navigation = nullptr;
        window = nullptr;
    }
}

TEST_F(RegroupDeviceList, SubPagesShowTheirLists) {
    InstalledApplications::setInstalled({{"com.example.notes", "Bear", std::nullopt},
                                         {"com.example.maps", "Citymapper", std::nullopt}});
    InstalledApplications::setMovedApple({{"com.apple.news", "News", std::nullopt}});
    auto root = showRootPage();
    const auto list = root->specifiersIvar();
    const std::pair<const char*, const char*> links[] = {
        {"Tweaks", "rootpage/tweaks-page"},
        {"Stock Apps", "rootpage/stock-apps-page"},
        {"3rd Party Apps", "rootpage/third-party-apps-page"},
    };
    for (const auto& [name, snapshot] : links) {
        SCOPED_TRACE(name);
        Ref<PSSpecifier> link;
        for (const id& e : *list)
            if (auto s = cast<PSSpecifier>(e); s && s->name() == name && s->detailControllerClass()) link = s;
        ASSERT_TRUE(link);
        ASSERT_TRUE(root->openEntry(link));
        platform::RunLoop::main().advance(1);
        window->layoutIfNeeded();
        EXPECT_TRUE(vantile::testing::matchesSnapshot(platform::harness::renderView(window, {1.0, true}), snapshot));
        navigation->popToRootViewControllerAnimated(false);
    }
}

}  // namespace
