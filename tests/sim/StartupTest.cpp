// The tweak's start-up as the device runs it: each case is a fresh simulator process loading the built library.
#include "tests/sim/SimProcess.h"

#include <gtest/gtest.h>

namespace {

using simtest::at;
using simtest::stringList;

constexpr const char* kSettings = "/Applications/Preferences.app/Preferences";
constexpr const char* kSpringBoard = "/System/Library/CoreServices/SpringBoard.app/SpringBoard";

const std::vector<std::string> kRecorders = {"RadiosPreferences airplaneMode", "BluetoothManager powered"};

// The method table of the tweak, in installation order: constructor 1, constructor 2, then the two recorders.
const std::vector<std::string> kAllHooks = {
    "PSUIPrefsListController _reallyLoadThirdPartySpecifiersForApps:withCompletion:",
    "PSUIPrefsListController specifiers",
    "PSUIPrefsListController reloadSpecifierAtIndex:animated:",
    "PSUIPrefsListController viewDidAppear:",
    "PSUIPrefsListController viewDidLoad",
    "PSUIPrefsListController deployVantSettingsVC",
    "PSUIPrefsListController displaySeachBar",
    "PSUIPrefsListController pushToIcloudPage",
    "PSUIPrefsListController traitCollectionDidChange:",
    "_UISearchBarSearchFieldBackgroundView setCornerRadius:",
    "PSListController setEdgeToEdgeCells:",
    "PSListController _isRegularWidth",
    "RadiosPreferences airplaneMode",
    "BluetoothManager powered",
};

class Startup : public testing::Test {
protected:
    // Runs the start-up of one process and reads its report; fails the test when it did not print one.
    Value start(const std::string& process, std::vector<std::string> extra = {}) {
        std::vector<std::string> args{"startup", "--root", root.path().string(), "--process", process};
        args.insert(args.end(), extra.begin(), extra.end());
        const simtest::Run run = simtest::runSimulator(args);
        EXPECT_EQ(run.status, 0) << run.err;
        auto report = run.json();
        EXPECT_TRUE(report && report->isDictionary()) << "not a JSON object: " << run.out;
        return report ? *report : Value();
    }
    void switchOn(Value::Dictionary more = {}) {
        more["toggleVantile"] = true;
        root.writePreferences(more);
    }
    static std::vector<std::string> hooks(const Value& report) { return stringList(at(report, "hooks")); }
    static std::optional<bool> flag(const Value& report, std::string_view path) {
        const Value* v = at(report, path);
        return v ? v->asBoolean() : std::nullopt;
    }
    static std::optional<double> number(const Value& report, std::string_view path) {
        const Value* v = at(report, path);
        return v ? v->numberValue() : std::nullopt;
    }

    simtest::TempDeviceRoot root;
};

TEST_F(Startup, WithoutBackingFileOnlyTheRecordersAreInstalledAndDefaultsAreBound) {
    const Value report = start(kSettings);
    EXPECT_EQ(flag(report, "filter"), true);
    EXPECT_EQ(hooks(report), kRecorders);
    const std::pair<const char*, Value> defaults[] = {
        {"toggleVantile", false},           {"toggleHaptics", true},
        {"toggleCellsChroma", false},       {"toggleCellsRandomChroma", false},
        {"toggleCellsFontChroma", false},   {"tweaksSectionString", "Tweaks"},
        {"stockAppsString", "Stock Apps"},  {"thirdPartyAppsString", "3rd Party Apps"},
        {"vantileFlowDirection", 0},
    };
    const Value* bound = at(report, "bound");
    ASSERT_TRUE(bound && bound->asDictionary());
    EXPECT_EQ(bound->asDictionary()->size(), std::size(defaults)) << "exactly the keys of the constructors' rows";
    for (const auto& [key, value] : defaults) {
        ASSERT_TRUE(bound->find(key)) << key;
        EXPECT_EQ(*bound->find(key), value) << key;
    }
    // The host's own behaviour is untouched: its radius, edge-to-edge cells on a phone, compact width.
    EXPECT_EQ(number(report, "host/settings/searchField/cornerRadius"), 10.0);
    EXPECT_EQ(flag(report, "host/settings/listPage/edgeToEdgeCellsAfterAskingYes"), true);
    EXPECT_EQ(flag(report, "host/settings/listPage/isRegularWidth"), false);
    EXPECT_EQ(flag(report, "rootPage/accountRemembered"), false);
}

TEST_F(Startup, TwentyEightConstructorsRunInTableOrderAndEveryCardBinds) {
    const Value report = start(kSettings);
    const auto ran = stringList(at(report, "constructors"));
    ASSERT_EQ(ran.size(), 28u);
    EXPECT_EQ(ran[0], "SettingsRegrouping");
    EXPECT_EQ(ran[1], "RootPage");
    EXPECT_EQ(ran[2], "DashboardGrid");
    EXPECT_EQ(ran[4], "AirplaneCell");
    EXPECT_EQ(ran[5], "AirplaneCell recorder");
    EXPECT_EQ(ran[8], "BluetoothCell recorder");
    EXPECT_EQ(ran[27], "WifiCell");
    // 23 card files bind seven keys each; constructor 1 binds the titles too, constructor 2 the three switches.
    const std::pair<const char*, long> counts[] = {
        {"toggleVantile", 2},       {"toggleHaptics", 24},      {"toggleCellsChroma", 24},
        {"toggleCellsRandomChroma", 23}, {"tweaksSectionString", 24}, {"vantileFlowDirection", 1},
    };
    for (const auto& [key, n] : counts) EXPECT_EQ(number(report, std::string("bindingCounts/") + key), n) << key;
    EXPECT_EQ(stringList(at(report, "disagreeing")), std::vector<std::string>{});
}

TEST_F(Startup, SwitchOnInSettingsInstallsEveryHookInTableOrder) {
    switchOn();
    const Value report = start(kSettings);
    EXPECT_EQ(hooks(report), kAllHooks);
    EXPECT_EQ(number(report, "refusedHooks"), 0);
    EXPECT_EQ(flag(report, "bound/toggleVantile"), true);

    // Hooks 11 and 12 act on every list page: asking for edge-to-edge cells leaves them off, the width is regular.
    EXPECT_EQ(flag(report, "host/settings/listPage/edgeToEdgeCellsAfterLoad"), false);
    EXPECT_EQ(flag(report, "host/settings/listPage/edgeToEdgeCellsAfterAskingYes"), false);
    EXPECT_EQ(flag(report, "host/settings/listPage/isRegularWidth"), true);
    EXPECT_EQ(flag(report, "host/settings/rootController/regularWidthLayout"), true)
        << "the page itself lays out from the replaced answer";

    // Replacements that call through leave the host's own work done.
    const auto native = stringList(at(report, "host/settings/rootController/nativeCalls"));
    for (const char* selector : {"viewDidLoad", "viewDidAppear:", "specifiers", "reloadSpecifierAtIndex:animated:",
                                 "_reallyLoadThirdPartySpecifiersForApps:withCompletion:", "traitCollectionDidChange:"})
        EXPECT_NE(std::find(native.begin(), native.end(), selector), native.end()) << selector;
    EXPECT_EQ(number(report, "host/settings/rootController/completionCalls"), 1) << "the host's own completion";
    EXPECT_EQ(number(report, "regroup/completions"), 1) << "through the wrapping block";
    EXPECT_EQ(number(report, "host/settings/rootController/rowReloads"), 1);

    // Hooks 2 and 3 remember the account entry and, after the row reload, its picture.
    EXPECT_EQ(flag(report, "rootPage/accountRemembered"), true);
    EXPECT_EQ(flag(report, "rootPage/accountIconRemembered"), true);
}

TEST_F(Startup, SearchFieldRadiusIsAlwaysFortyWhileTheSwitchIsOn) {
    switchOn();
    for (const char* requested : {"0", "10", "12.5", "-3", "1000"}) {
        const Value report = start(kSettings, {"--corner-radius", requested});
        EXPECT_EQ(number(report, "host/settings/searchField/requestedCornerRadius"), std::stod(requested));
        EXPECT_EQ(number(report, "host/settings/searchField/cornerRadius"), 40.0) << "asked for " << requested;
    }
}

TEST_F(Startup, ProcessesOutsideTheFilterGetOnlyRecordersAndCardRegistrations) {
    switchOn({{"toggleHaptics", false}});
    for (const char* process : {"/usr/libexec/backupd", "/usr/sbin/applicationd", "/bin/SpringBoard"}) {
        const Value report = start(process);
        EXPECT_EQ(flag(report, "filter"), false) << process;
        EXPECT_EQ(hooks(report), kRecorders) << process;
        EXPECT_FALSE(at(report, "bound/toggleVantile")) << process << ": the filtered constructors bind nothing";
        EXPECT_EQ(number(report, "bindingCounts/toggleHaptics"), 23) << process;
        EXPECT_EQ(flag(report, "bound/toggleHaptics"), false) << process << ": the stored value, not the default";
    }
}

TEST_F(Startup, SpringBoardWithTheSwitchOnHasNoSettingsClassesToHook) {
    switchOn();
    const Value report = start(kSpringBoard);
    EXPECT_EQ(flag(report, "filter"), true);
    // The search field background is UIKit's and exists in SpringBoard too; the Settings classes do not.
    EXPECT_EQ(hooks(report), (std::vector<std::string>{"_UISearchBarSearchFieldBackgroundView setCornerRadius:",
                                                       "RadiosPreferences airplaneMode", "BluetoothManager powered"}));
    // Hook 1, hooks 2 to 9 and hooks 11 and 12 were refused, one by one, without stopping start-up.
    EXPECT_EQ(number(report, "refusedHooks"), 11);
    EXPECT_EQ(stringList(at(report, "constructors")).size(), 28u);
    EXPECT_FALSE(at(report, "host/settings"));
}

TEST_F(Startup, RecordersKeepWhatTheHostLearnt) {
    struct Case {
        const char* airplane;
        const char* bluetooth;
        bool airplaneOn, bluetoothOn;
    };
    for (const Case& c : {Case{"on", "off", true, false}, Case{"off", "on", false, true}}) {
        for (const char* process : {kSettings, kSpringBoard}) {
            const Value report = start(process, {"--airplane-mode", c.airplane, "--bluetooth", c.bluetooth});
            EXPECT_EQ(flag(report, "host/radiosRead/airplaneMode"), c.airplaneOn) << process;
            EXPECT_EQ(flag(report, "radios/isAirplaneModeOn"), c.airplaneOn) << process;
            EXPECT_EQ(flag(report, "host/radiosRead/powered"), c.bluetoothOn) << process;
            EXPECT_EQ(flag(report, "radios/isBluetoothOn"), c.bluetoothOn) << process;
        }
    }
}

TEST_F(Startup, AProcessWithoutTheRadioServicesKeepsBothFlagsOff) {
    const Value report = start(kSettings, {"--groups", "Preferences", "--airplane-mode", "on", "--bluetooth", "on"});
    EXPECT_EQ(hooks(report), std::vector<std::string>{});
    EXPECT_EQ(number(report, "refusedHooks"), 2);
    EXPECT_EQ(flag(report, "radios/isAirplaneModeOn"), false);
    EXPECT_EQ(flag(report, "radios/isBluetoothOn"), false);
    EXPECT_FALSE(at(report, "host/radiosRead/airplaneMode")) << "the host cannot read what it does not have";
}

TEST_F(Startup, StoredValuesReachEveryBoundVariable) {
    root.writePreferences({{"toggleVantile", true},
                           {"toggleHaptics", false},
                           {"toggleCellsFontChroma", true},
                           {"tweaksSectionString", "Mods"},
                           {"vantileFlowDirection", 1}});
    const Value report = start(kSettings);
    EXPECT_EQ(flag(report, "bound/toggleHaptics"), false);
    EXPECT_EQ(flag(report, "bound/toggleCellsFontChroma"), true);
    EXPECT_EQ(*at(report, "bound/tweaksSectionString"), Value("Mods"));
    EXPECT_EQ(number(report, "bound/vantileFlowDirection"), 1);
    EXPECT_EQ(*at(report, "bound/stockAppsString"), Value("Stock Apps")) << "an absent key keeps its default";
    EXPECT_EQ(stringList(at(report, "disagreeing")), std::vector<std::string>{}) << "24 variables, one value";
}

TEST_F(Startup, CardsFetchTheirTextsFromTheInstalledBundle) {
    const Value report = start(kSettings);
    EXPECT_NE(stringList(at(report, "installedBundles")), std::vector<std::string>{});
    const std::tuple<const char*, const char*, const char*> texts[] = {
        {"WifiCell", "wifi", "Wi-Fi"},
        {"WifiCell", "statusDISCONNECTED", "Disconnected"},
        {"AirplaneCell", "statusON", "ON"},
        {"PasscodeCell", "faceid", "Face ID & Passcode"},
        {"SoundsCell", "sounds", "Sounds & Haptics"},
    };
    for (const auto& [card, key, text] : texts) {
        const Value* v = at(report, std::string("texts/") + card + "/" + key);
        ASSERT_TRUE(v) << card << " " << key;
        EXPECT_EQ(*v, Value(text)) << card << " " << key;
    }
    const Value* tweaks = at(report, "texts/TweaksCell");
    ASSERT_TRUE(tweaks && tweaks->asDictionary());
    EXPECT_TRUE(tweaks->asDictionary()->empty()) << "the Tweaks card's title is the user's section title";
}

TEST_F(Startup, CardTextsFollowTheDeviceLanguage) {
    const Value report = start(kSettings, {"--language", "de"});
    EXPECT_EQ(*at(report, "texts/WifiCell/wifi"), Value("WLAN"));
    EXPECT_EQ(*at(report, "texts/AirplaneCell/statusOFF"), Value("AUS"));
    const Value fallback = start(kSettings, {"--language", "fr"});
    EXPECT_EQ(*at(fallback, "texts/WifiCell/wifi"), Value("Wi-Fi")) << "a language without a table falls back";
}

TEST(StartupCommandLine, BadArgumentsAreRefusedWithAReason) {
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"startup", "--root"}, "--root needs a value"},
        {{"startup", "--corner-radius", "wide"}, "\"wide\" is not a number"},
        {{"startup", "--airplane-mode", "maybe"}, "\"maybe\" is not on or off"},
        {{"startup", "--process", ""}, "--process"},
        {{"startup", "--verbose"}, "unknown argument \"--verbose\""},
        {{"boot"}, "unknown command \"boot\""},
    };
    for (const auto& [args, reason] : cases) {
        const simtest::Run run = simtest::runSimulator(args);
        EXPECT_EQ(run.status, 2) << args.back();
        EXPECT_NE(run.err.find(reason), std::string::npos) << run.err;
        EXPECT_TRUE(run.out.empty()) << "no report for a refused command line";
    }
    const simtest::Run usage = simtest::runSimulator({});
    EXPECT_EQ(usage.status, 0);
    EXPECT_NE(usage.out.find("startup"), std::string::npos);
}

}  // namespace

namespace {

// The simulated phone of each profile with the add-on loaded but switched off: Settings shows the host's own list.
TEST_F(Startup, EachProfileWithTheSwitchOffShowsTheHostsOwnRootList) {
    struct Case {
        const char* profile;
        bool developer, tvProvider;
        const char* lastInstalled;
    };
    const Case cases[] = {
        {"iphone-8", false, false, "WhatsApp [net.whatsapp.WhatsApp]"},
        {"iphone-8-plus", true, false, "Spotify [com.spotify.client]"},
        {"iphone-x", false, true, "WhatsApp [net.whatsapp.WhatsApp]"},
        {"iphone-xr", true, true, "Telegram [org.telegram.Telegram]"},
        {"iphone-12", true, false, "YouTube [com.google.ios.youtube]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.profile);
        const Value report = start(kSettings, {"--profile", c.profile});
        EXPECT_EQ(hooks(report), kRecorders);
        const auto list = stringList(at(report, "rootList"));
        ASSERT_GT(list.size(), 10u);
        EXPECT_EQ(std::vector<std::string>(list.begin(), list.begin() + 3),
                  (std::vector<std::string>{"H", "Apple ID [APPLE_ACCOUNT]", "H"}));
        auto has = [&](const std::string& line) { return std::find(list.begin(), list.end(), line) != list.end(); };
        EXPECT_EQ(has("Developer [DEVELOPER_SETTINGS]"), c.developer);
        EXPECT_EQ(has("H:VIDEO_SUBSCRIBER_GROUP"), c.tvProvider);
        EXPECT_TRUE(has("Vantile")) << "the add-on's pane entry";
        EXPECT_FALSE(has("Tweaks")) << "no link rows while switched off";
        EXPECT_EQ(list.back(), c.lastInstalled) << "installed applications last, by name";
        EXPECT_EQ(number(report, "installedLoads"), 1.0);
        const Value* title = at(report, "visibleTitle");
        ASSERT_TRUE(title && title->asString());
        EXPECT_EQ(*title->asString(), "Settings");
    }
}

TEST_F(Startup, AnUnknownProfileIsRefused) {
    const simtest::Run run = simtest::runSimulator({"startup", "--root", root.path().string(), "--profile", "iphone-3g"});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("unknown profile"), std::string::npos) << run.err;
}

}  // namespace

namespace {

// With the switch on, the phone's root list is regrouped and the three links and the cards' addresses open the
// sub-pages: the host and the add-on meet end to end.
TEST_F(Startup, SwitchedOnTheProfilesRootListIsRegroupedAndItsLinksOpenTheSubPages) {
    switchOn();
    for (const auto& [profile, developer] : {std::pair{"iphone-x", false}, std::pair{"iphone-12", true}}) {
        SCOPED_TRACE(profile);
        const Value report = start(kSettings, {"--profile", profile});
        EXPECT_EQ(stringList(at(report, "loadedLibraries")),
                  std::vector<std::string>{"/Library/MobileSubstrate/DynamicLibraries/Vantile.dylib"})
            << "the package installed into the root, its library admitted by the loader";
        const auto list = stringList(at(report, "rootList"));
        ASSERT_GT(list.size(), 8u);
        EXPECT_EQ(std::vector<std::string>(list.begin(), list.begin() + 7),
                  (std::vector<std::string>{"H", "Apple ID [APPLE_ACCOUNT]", "H", "Tweaks", "Stock Apps [APPLE_APPS]",
                                            "3rd Party Apps [THIRD_PARTY_APPS]", "H"}));
        EXPECT_EQ(list.back(), developer ? "Developer [DEVELOPER_SETTINGS]" : "Privacy [Privacy]");
        for (const char* gone : {"App Store [STORE]", "H:MEDIA_GROUP", "Vantile", "Spotify [com.spotify.client]"})
            EXPECT_EQ(std::find(list.begin(), list.end(), gone), list.end()) << gone;
    }

    struct Case {
        const char* url;
        const char* title;
        std::vector<std::string> starts;
    };
    const Case cases[] = {
        {"prefs:root=APPLE_APPS", "Stock Apps", {"H", "App Store [STORE]", "Wallet & Apple Pay [WALLET]"}},
        {"prefs:root=THIRD_PARTY_APPS", "3rd Party Apps",
         {"Instagram [com.burbn.instagram]", "Snapchat [com.toyopagroup.picaboo]", "Spotify [com.spotify.client]"}},
        {"prefs:root=Tweaks", "Tweaks", {"H", "Vantile"}},
        {"prefs:root=BATTERY_USAGE", "Battery", {"H", "Battery Percentage"}},
    };
    for (const auto& c : cases) {
        const Value report = start(kSettings, {"--profile", "iphone-x", "--open", c.url});
        const Value* title = at(report, "visibleTitle");
        ASSERT_TRUE(title && title->asString()) << c.url;
        EXPECT_EQ(*title->asString(), c.title) << c.url;
        const auto shown = stringList(at(report, "visibleList"));
        ASSERT_GE(shown.size(), c.starts.size()) << c.url;
        EXPECT_EQ(std::vector<std::string>(shown.begin(), shown.begin() + static_cast<long>(c.starts.size())), c.starts)
            << c.url;
    }
}

}  // namespace
