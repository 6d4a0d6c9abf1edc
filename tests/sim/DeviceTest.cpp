// The simulated phone driven in-process, without the add-on: the Settings application it starts for each profile,
// its pages, addresses, appearance and services.
#include "sim/device/SimulatedDevice.h"
#include "sim/scenario/DevicePhone.h"
#include "sim/scenario/ScenarioErrors.h"

#include "platform/core/Clock.h"
#include "platform/harness/Renderer.h"
#include "platform/ui/UIView.h"

#include "platform/core/Runtime.h"
#include "platform/core/NSMutableArray.h"
#include "platform/core/NSMutableDictionary.h"
#include "platform/host/PSSpecifier.h"
#include "platform/host/PSUIPrefsListController.h"
#include "platform/host/_UISearchBarSearchFieldBackgroundView.h"
#include "platform/system/BSDNetwork.h"
#include "platform/system/DeviceTelephony.h"
#include "platform/system/LSApplicationWorkspace.h"
#include "platform/ui/NSIndexPath.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UINavigationItem.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UISearchBar.h"
#include "platform/ui/UISearchController.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UITraitCollection.h"
#include "platform/ui/UIWindow.h"
#include "tests/sim/SimProcess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

namespace {

using platform::msgSend;

class Device : public testing::Test {
protected:
    sim::SimulatedDevice& launch(std::string_view profile) {
        device.emplace(root.path());
        EXPECT_TRUE(device->setProfile(profile)) << profile;
        sim::LaunchOptions options;
        options.loadTweak = false;
        auto error = device->launch(options);
        EXPECT_FALSE(error) << *error;
        device->advance(1);
        return *device;
    }
    std::vector<Ref<PSSpecifier>> rootEntries() const {
        std::vector<Ref<PSSpecifier>> out;
        for (const auto& e : *device->rootController()->specifiersIvar()) out.push_back(cast<PSSpecifier>(e));
        return out;
    }
    std::optional<std::size_t> indexOf(std::string_view identifier) const {
        auto entries = rootEntries();
        for (std::size_t i = 0; i < entries.size(); ++i)
            if (entries[i]->identifier() == identifier) return i;
        return std::nullopt;
    }
    void tapRootEntry(std::size_t index) {
        auto root = device->rootController();
        auto path = root->indexPathForIndex(static_cast<long>(index));
        ASSERT_TRUE(path) << index;
        msgSend<void>(root, sel("tableView:didSelectRowAtIndexPath:"), root->table(),
                      NSIndexPath::indexPathForRowInSection(path->second, path->first));
        device->advance(1);
    }

    simtest::TempDeviceRoot root;
    std::optional<sim::SimulatedDevice> device;
};

TEST_F(Device, EachProfileShowsItsOwnRootList) {
    for (const auto& profile : sim::deviceProfiles()) {
        SCOPED_TRACE(profile.name);
        launch(profile.name);
        EXPECT_EQ(UIScreen::mainScreen()->profile().name, profile.screen);
        EXPECT_EQ(device->rootController()->traitCollection()->userInterfaceStyle(), profile.interfaceStyle);
        const auto entries = rootEntries();

        EXPECT_EQ(indexOf("DEVELOPER_SETTINGS").has_value(), profile.developerSettings);
        EXPECT_EQ(indexOf("VIDEO_SUBSCRIBER_GROUP").has_value(), profile.tvProvider);
        auto passcode = indexOf("PASSCODE");
        ASSERT_TRUE(passcode);
        const bool touchID = profile.screen == "iphone-8" || profile.screen == "iphone-8-plus";
        EXPECT_EQ(entries[*passcode]->name(), touchID ? "Touch ID & Passcode" : "Face ID & Passcode");

        // The order the regrouping counts on: the store group, accounts and media, the optional TV-provider and
        // Developer groups, then one group of pane entries and one of installed applications.
        std::vector<std::size_t> order;
        for (const char* id : {"APPLE_ACCOUNT", "AIRPLANE_MODE", "STORE", "ACCOUNTS_GROUP", "com.apple.news",
                               "MEDIA_GROUP", "com.apple.iBooks", "com.apple.podcasts", "com.apple.itunesu"})
            if (auto i = indexOf(id)) order.push_back(*i);
            else ADD_FAILURE() << "missing " << id;
        EXPECT_TRUE(std::is_sorted(order.begin(), order.end()));
        const std::size_t store = *indexOf("STORE");
        const long headersAfterStore = std::count_if(entries.begin() + static_cast<long>(store), entries.end(),
                                                     [](const Ref<PSSpecifier>& e) { return e->isGroup(); });
        EXPECT_EQ(headersAfterStore, 2 + profile.tvProvider + profile.developerSettings + 2);

        std::vector<std::string> tail;
        auto lastHeader = std::find_if(entries.rbegin(), entries.rend(), [](const auto& e) { return e->isGroup(); });
        for (auto it = lastHeader.base(); it != entries.end(); ++it) tail.push_back((*it)->name());
        std::vector<std::string> expected;
        for (const auto& app : profile.installedApplications) expected.push_back(app.name);
        EXPECT_EQ(tail.size(), profile.installedApplications.size() + profile.movedAppleApplications.size());
        std::vector<std::string> lowered;
        for (auto name : tail) {
            std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
            lowered.push_back(name);
        }
        EXPECT_TRUE(std::is_sorted(lowered.begin(), lowered.end())) << "installed applications by name, any case";
        for (const auto& name : expected) EXPECT_NE(std::find(tail.begin(), tail.end(), name), tail.end()) << name;
        EXPECT_EQ(device->rootController()->movedThirdPartySpecifiers()->count(), profile.movedAppleApplications.size());

        auto pane = std::find_if(entries.begin(), entries.end(), [](const auto& e) { return e->name() == "Vantile"; });
        ASSERT_NE(pane, entries.end()) << "the add-on's pane entry";
        EXPECT_TRUE((*(pane - 1))->isGroup()) << "in the pane group";
        EXPECT_LT(static_cast<std::size_t>(pane - entries.begin()), entries.size() - tail.size());

        auto account = entries[*indexOf("APPLE_ACCOUNT")];
        EXPECT_EQ(account->propertyForKey("iconImage").has_value(), profile.accountPicture);
        device.reset();
    }
}

TEST_F(Device, EveryRootRowOpensAPageTitledWithIt) {
    launch("iphone-12");
    const auto entries = rootEntries();
    std::size_t opened = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const auto& entry = entries[i];
        // The airplane row is a switch; the add-on's pane needs its preference bundle.
        if (entry->isGroup() || entry->identifier() == "AIRPLANE_MODE" || entry->name() == "Vantile") continue;
        tapRootEntry(i);
        auto top = device->navigationController()->topViewController();
        ASSERT_NE(top, device->rootController()) << entry->name();
        EXPECT_EQ(top->className(), "HostPageController") << entry->name();
        EXPECT_EQ(top->title(), entry->name());
        if (entry->propertyForKey("items")) {
            EXPECT_GT(msgSend<Ref<NSMutableArray>>(top, sel("specifiers"))->count(), 1u) << entry->name();
        }
        device->popToRoot();
        ++opened;
    }
    EXPECT_GT(opened, 50u);
}

TEST_F(Device, CardAddressesLandOnTheirPages) {
    launch("iphone-12");
    for (const char* page : {"WIFI", "Bluetooth", "MOBILE_DATA_SETTINGS_ID", "INTERNET_TETHERING", "NOTIFICATIONS_ID",
                             "Sounds", "DO_NOT_DISTURB", "SCREEN_TIME", "General", "ControlCenter", "DISPLAY",
                             "ACCESSIBILITY", "Wallpaper", "SIRI", "PASSCODE", "EMERGENCY_SOS", "BATTERY_USAGE",
                             "Privacy", "DEVELOPER_SETTINGS"}) {
        device->openURL(std::string("prefs:root=") + page);
        device->advance(1);
        auto index = indexOf(page);
        ASSERT_TRUE(index) << page;
        EXPECT_EQ(device->visibleController()->title(), rootEntries()[*index]->name()) << page;
        EXPECT_EQ(device->navigationController()->viewControllers().size(), 2u) << page << ": straight over the root";
    }
    device->popToRoot();
    device->openURL("prefs:root=NoSuchPage");
    device->advance(1);
    EXPECT_EQ(device->visibleController(), device->rootController());
}

TEST_F(Device, AppearanceSwitchesWhileRunning) {
    launch("iphone-8");
    auto rootPage = device->rootController();
    EXPECT_EQ(rootPage->traitCollection()->userInterfaceStyle(), 1);
    device->setAppearance(2);
    device->runUntilIdle();
    EXPECT_EQ(rootPage->traitCollection()->userInterfaceStyle(), 2);
    const auto& calls = rootPage->nativeCalls();
    EXPECT_NE(std::find(calls.begin(), calls.end(), "traitCollectionDidChange:"), calls.end());
    device->setAppearance(1);
    EXPECT_EQ(rootPage->traitCollection()->userInterfaceStyle(), 1);
}

TEST_F(Device, SearchFieldSetsItsCornerThroughTheRunTimeWhenLaidOut) {
    launch("iphone-x");
    device->layout();
    auto bar = device->rootController()->navigationItem()->searchController()->searchBar();
    ASSERT_TRUE(bar);
    EXPECT_TRUE(bar->window()) << "the navigation bar shows the root page's search bar";
    std::function<Ref<_UISearchBarSearchFieldBackgroundView>(const Ref<UIView>&)> find =
        [&](const Ref<UIView>& v) -> Ref<_UISearchBarSearchFieldBackgroundView> {
        if (auto b = cast<_UISearchBarSearchFieldBackgroundView>(v)) return b;
        for (const auto& s : v->subviews())
            if (auto b = find(s)) return b;
        return nullptr;
    };
    auto background = find(bar);
    ASSERT_TRUE(background);
    EXPECT_EQ(background->cornerRadius(), UISearchTextField::kCornerRadius);
}

TEST_F(Device, InstallingAnApplicationBringsASecondCompletion) {
    launch("iphone-8");
    auto rootPage = device->rootController();
    EXPECT_EQ(rootPage->installedLoadCount(), 1u);
    device->installApplication({"com.example.aardvark", "Aardvark"});
    device->advance(0.1);
    EXPECT_EQ(rootPage->installedLoadCount(), 2u);
    auto entries = rootEntries();
    auto lastHeader = std::find_if(entries.rbegin(), entries.rend(), [](const auto& e) { return e->isGroup(); });
    ASSERT_NE(lastHeader, entries.rend());
    EXPECT_EQ((*lastHeader.base())->name(), "Aardvark");
    EXPECT_EQ(std::count_if(entries.begin(), entries.end(), [](const auto& e) { return e->name() == "Spotify"; }), 1)
        << "the earlier entries are replaced, not repeated";
}

TEST_F(Device, SystemServicesReportTheProfile) {
    launch("iphone-xr");
    auto interfaces = platform::bsd::simulatedInterfaces();
    ASSERT_TRUE(interfaces);
    auto has = [&](const char* name) {
        return std::any_of(interfaces->begin(), interfaces->end(), [&](const auto& i) { return i.name == name; });
    };
    EXPECT_TRUE(has("pdp_ip0"));
    EXPECT_FALSE(has("en0")) << "Wi-Fi is off on this phone";
    EXPECT_EQ(platform::system::DeviceTelephony::carrierName(), "O2");
    auto records = platform::system::applicationRecords();
    auto record = [&](const char* id) {
        auto it = std::find_if(records.begin(), records.end(), [&](const auto& r) { return r.identifier == id; });
        return it == records.end() ? std::optional<platform::system::ApplicationRecord>() : *it;
    };
    ASSERT_TRUE(record("com.duolingo.DuolingoMobile"));
    EXPECT_EQ(record("com.duolingo.DuolingoMobile")->itemName, "Duolingo");
    ASSERT_TRUE(record("com.apple.Preferences"));
    EXPECT_FALSE(record("com.apple.Preferences")->itemName) << "system applications have no store name";
}

TEST_F(Device, OneDeviceAtATimeAndRespringWithoutTheAddOnRelaunchesInPlace) {
    launch("iphone-x");
    EXPECT_THROW(sim::SimulatedDevice{root.path()}, platform::RuntimeError);
    EXPECT_FALSE(device->setProfile("iphone-8")) << "no model change while running";
    EXPECT_TRUE(device->launch().has_value()) << "already running";
    auto before = device->rootController();
    device->respring();
    device->advance(1);
    EXPECT_EQ(device->respringCount(), 1u);
    ASSERT_TRUE(device->rootController());
    EXPECT_NE(device->rootController(), before);
    EXPECT_EQ(device->rootController()->installedLoadCount(), 1u);
    EXPECT_FALSE(device->setProfile("iphone-13")) << "unknown profile";
}

TEST_F(Device, RemovingAnApplicationBringsAnotherCompletionWithoutIt) {
    launch("iphone-8-plus");
    auto rootPage = device->rootController();
    auto named = [&](const char* name) {
        auto entries = rootEntries();
        return std::count_if(entries.begin(), entries.end(), [&](const auto& e) { return e->name() == name; });
    };
    ASSERT_EQ(named("Netflix"), 1);
    ASSERT_EQ(named("Pages"), 1);
    EXPECT_TRUE(device->removeApplication("com.netflix.Netflix"));
    EXPECT_TRUE(device->removeApplication("com.apple.Pages")) << "a moved Apple application goes the same way";
    device->advance(0.1);
    EXPECT_EQ(rootPage->installedLoadCount(), 3u);
    EXPECT_EQ(named("Netflix"), 0);
    EXPECT_EQ(named("Pages"), 0);
    EXPECT_EQ(named("Spotify"), 1);
    EXPECT_FALSE(device->removeApplication("com.netflix.Netflix")) << "nothing left to remove";
    auto records = platform::system::applicationRecords();
    EXPECT_EQ(std::count_if(records.begin(), records.end(),
                            [](const auto& r) { return r.identifier == "com.netflix.Netflix"; }),
              0);
}

TEST_F(Device, EveryProfileStartsInLightMode) {
    for (const auto& profile : sim::deviceProfiles()) {
        launch(profile.name);
        EXPECT_EQ(device->rootController()->traitCollection()->userInterfaceStyle(), 1) << profile.name;
        device.reset();
    }
    device.emplace(root.path());
    sim::LaunchOptions options;
    options.loadTweak = false;
    ASSERT_FALSE(device->launch(options));
    EXPECT_EQ(device->profile().name, "iphone-x");
    EXPECT_EQ(device->rootController()->traitCollection()->userInterfaceStyle(), 1) << "the default profile too";
}

TEST_F(Device, TheClockAndTheStatusBarGoOnAcrossARespringAndALaunch) {
    launch("iphone-8");
    device->setDate(1773481260.0);  // 2026-03-14 09:41 UTC
    device->advance(120);
    EXPECT_EQ(platform::harness::statusBarTime(), "9:43");
    device->respring();
    EXPECT_EQ(platform::Clock::now(), 1773481380.0);
    EXPECT_EQ(platform::harness::statusBarTime(), "9:43") << "a respring keeps the time";
    device->advance(60);
    device.reset();
    EXPECT_EQ(platform::harness::statusBarTime(), "9:44") << "ending the device keeps the time too";
}

TEST_F(Device, AProfileRefusedSaysWhetherItIsUnknownOrTooLate) {
    auto phone = sim::scenario::makeDevicePhone(root.path());
    auto unknown = phone->setProfile("iphone-13");
    ASSERT_TRUE(unknown);
    EXPECT_NE(unknown->find("unknown device profile \"iphone-13\""), std::string::npos) << *unknown;
    EXPECT_NE(unknown->find("iphone-8-plus"), std::string::npos) << "the known ones are listed: " << *unknown;
    EXPECT_EQ(unknown->find("running"), std::string::npos) << *unknown;
    EXPECT_FALSE(phone->setProfile("iphone-8"));
    EXPECT_THROW(phone->setInterface("en0", std::vector<std::string>{"10.0.0.300"}), sim::scenario::StepError);
    EXPECT_THROW(phone->setInterface("en0", std::vector<std::string>{"fe80::1", "wifi"}), sim::scenario::StepError);
}

TEST_F(Device, InterfacesTakeIPv6AndSeveralAddressesInPlaceOfTheProfiles) {
    auto phone = sim::scenario::makeDevicePhone(root.path());
    ASSERT_FALSE(phone->setProfile("iphone-12"));
    using Entry = std::pair<std::string, std::string>;
    auto listed = [] {
        std::vector<Entry> out;
        const auto interfaces = platform::bsd::simulatedInterfaces();
        for (const auto& i : interfaces.value()) out.emplace_back(i.name, i.address.value_or(""));
        return out;
    };
    phone->setInterface("en0", std::vector<std::string>{"fe80::1"});
    EXPECT_EQ(listed(), (std::vector<Entry>{{"lo0", "127.0.0.1"}, {"en0", "fe80::1"}, {"pdp_ip0", "100.71.4.250"}}));
    phone->setInterface("en0", std::vector<std::string>{"10.0.0.1", "10.0.0.2"});
    phone->setInterface("EN0", std::vector<std::string>{"10.9.9.9"});
    phone->setInterface("pdp_ip0", std::nullopt);
    EXPECT_EQ(listed(), (std::vector<Entry>{{"lo0", "127.0.0.1"}, {"en0", "10.0.0.1"}, {"en0", "10.0.0.2"},
                                            {"EN0", "10.9.9.9"}}));
    phone->setInterface("en0", std::vector<std::string>{});
    EXPECT_EQ(listed()[1], (Entry{"en0", "10.0.1.5"})) << "on without an address is the profile's again";
    EXPECT_EQ(listed()[2], (Entry{"en0", "fe80::8a3f:4eff:fe21:9b10"}));
}

}  // namespace
