// The add-on's pane on the simulated phone, with its package installed as on a device: opened by a tap on its
// Settings row, by its address, and by the respring that asks to return to it; and the system version a profile
// reports.
#include "sim/device/SimulatedDevice.h"
#include "sim/install/PackageInstaller.h"

#include "platform/core/NSBundle.h"
#include "platform/core/NSMutableArray.h"
#include "platform/core/NSProcessInfo.h"
#include "platform/core/NSURL.h"
#include "platform/core/PropertyList.h"
#include "platform/core/Runtime.h"
#include "platform/harness/EffectLog.h"
#include "platform/host/PSBundleErrorController.h"
#include "platform/host/PSListController.h"
#include "platform/host/PSSpecifier.h"
#include "platform/host/PSUIPrefsListController.h"
#include "platform/ui/NSIndexPath.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UITableView.h"
#include "tests/sim/SimProcess.h"

#include <gtest/gtest.h>

#include <fstream>
#include <unistd.h>

// A page of the pane that asks for a respring from its own action, as the drawer's utilities and the theme
// selector do; it notes that its action ran to its end.
class RespringAskingPage : public PSListController {
    VT_OBJECT(RespringAskingPage, PSListController)
public:
    void askForRespring() {
        auto controller = platform::runtime::createInstance(objc_getClass("HBRespringController"));
        platform::msgSend<void>(controller, sel("respringAndReturnTo:"), NSURL::URLWithString("prefs:root=Vantile"));
        actionFinished = true;
    }
    bool actionFinished = false;
};

VT_REGISTER_CLASS(RespringAskingPage, [](Class c) {
    platform::runtime::addMethod<&RespringAskingPage::askForRespring>(c, "askForRespring");
})

namespace {

using platform::msgSend;
constexpr const char* kPaneBundle = "/Library/PreferenceBundles/VantilePrefs.bundle";

class Pane : public testing::Test {
protected:
    void launch(bool withPackage, std::string_view profile = "iphone-x") {
        if (withPackage) {
            auto deb = sim::install::defaultPackage();
            ASSERT_TRUE(deb) << "the build made no Vantile.deb";
            auto installed = sim::install::installPackage(*deb, root.path());
            ASSERT_TRUE(installed) << *installed.error;
        }
        // Something is stored already, so the pane's first-run guide does not cover the page these tests look at.
        const auto domainFile = root.path() / "var/mobile/Library/Preferences/com.Zorvanic.VantilePrefs.plist";
        std::filesystem::create_directories(domainFile.parent_path());
        if (!std::filesystem::exists(domainFile)) {
            ASSERT_TRUE(platform::writePropertyListFile(domainFile, Value(Value::Dictionary{{"toggleHaptics", Value(true)}})));
        }
        device.emplace(root.path());
        ASSERT_TRUE(device->setProfile(profile));
        sim::LaunchOptions options;
        options.loadTweak = false;
        auto error = device->launch(options);
        ASSERT_FALSE(error) << *error;
        device->advance(1);
    }
    void tapEntryNamed(const std::string& name) {
        auto root = device->rootController();
        const auto& list = root->specifiersIvar();
        for (std::size_t i = 0; i < list->count(); ++i)
            if (list->objectAtIndexAs<PSSpecifier>(i)->name() == name) {
                auto path = root->indexPathForIndex(static_cast<long>(i));
                ASSERT_TRUE(path);
                msgSend<void>(root, sel("tableView:didSelectRowAtIndexPath:"), root->table(),
                              NSIndexPath::indexPathForRowInSection(path->second, path->first));
                device->advance(1);
                return;
            }
        FAIL() << "no root entry " << name;
    }
    std::size_t depth() const { return device->navigationController()->viewControllers().size(); }

    // The pane as the installed bundle gives it: an instance of its principal class opened from the "Vantile"
    // entry, or, while the bundle's code defines no such class, the host's error page saying so.
    void expectPane(const Ref<UIViewController>& top) {
        ASSERT_TRUE(top);
        auto bundle = NSBundle::bundleWithPath(kPaneBundle);
        ASSERT_TRUE(bundle);
        EXPECT_TRUE(bundle->isLoaded()) << "the pane's code was loaded from the device root";
        const Value* principal = bundle->infoDictionary().find("NSPrincipalClass");
        ASSERT_TRUE(principal && principal->asString());
        EXPECT_EQ(*principal->asString(), "VNTPrimraryController");
        if (Class pane = objc_getClass(*principal->asString())) {
            EXPECT_EQ(top->isa(), pane);
            EXPECT_EQ(NSBundle::bundleForClass(pane), bundle) << "its pages read the bundle's folder";
            auto page = cast<PSListController>(top);
            ASSERT_TRUE(page);
            ASSERT_TRUE(page->specifier());
            EXPECT_EQ(page->specifier()->name(), "Vantile");
        } else {
            auto error = cast<PSBundleErrorController>(top);
            ASSERT_TRUE(error) << top->className();
            EXPECT_EQ(error->title(), "Vantile");
            EXPECT_NE(error->reason().find("VNTPrimraryController"), std::string::npos) << error->reason();
        }
    }

    simtest::TempDeviceRoot root;
    std::optional<sim::SimulatedDevice> device;
};

TEST_F(Pane, ATapOnItsRowLoadsTheInstalledBundleAndPushesThePane) {
    launch(true);
    tapEntryNamed("Vantile");
    EXPECT_EQ(depth(), 2u);
    expectPane(device->visibleController());

    // Back and again: a new controller from the code already in the process.
    auto first = device->visibleController();
    device->popToRoot();
    tapEntryNamed("Vantile");
    EXPECT_NE(device->visibleController(), first);
    expectPane(device->visibleController());
}

TEST_F(Pane, WithoutItsBundleTheRowShowsTheErrorPage) {
    launch(false);
    tapEntryNamed("Vantile");
    auto error = cast<PSBundleErrorController>(device->visibleController());
    ASSERT_TRUE(error) << device->visibleController()->className();
    EXPECT_EQ(error->title(), "Vantile");
    EXPECT_EQ(error->message(), "Vantile could not be loaded.");
    // The device has the bundle's resources from the build but not the package's Info.plist and executable.
    EXPECT_NE(error->reason().find("Info.plist"), std::string::npos) << error->reason();
    EXPECT_FALSE(NSBundle::bundleWithPath(kPaneBundle) && NSBundle::bundleWithPath(kPaneBundle)->isLoaded());
}

TEST_F(Pane, ItsAddressOpensItOverTheRootFromWhereverTheUserIs) {
    launch(true);
    device->openURL("prefs:root=Vantile");
    device->advance(1);
    EXPECT_EQ(depth(), 2u);
    expectPane(device->visibleController());

    tapEntryNamed("Wi-Fi");
    device->popToRoot();
    tapEntryNamed("Wi-Fi");
    device->openURL("prefs:root=Vantile");
    device->advance(1);
    EXPECT_EQ(depth(), 2u) << "straight over the root page";
    expectPane(device->visibleController());
}

TEST_F(Pane, ARespringAskedForFromAPageReturnsToThePaneOnALaterTurn) {
    launch(true);
    platform::clearEffectLog();
    auto asking = alloc<RespringAskingPage>();
    asking->init();
    device->navigationController()->pushViewControllerAnimated(asking, false);
    device->advance(1);
    Weak<RespringAskingPage> watched = asking;
    const auto oldRoot = device->rootController();

    msgSend<void>(asking, sel("askForRespring"));
    EXPECT_TRUE(asking->actionFinished) << "the page's action runs to its end";
    EXPECT_EQ(device->respringCount(), 0u) << "nothing restarts inside the action";
    EXPECT_EQ(device->visibleController(), asking);
    ASSERT_EQ(platform::effectsOfKind("respring").size(), 1u);
    EXPECT_EQ(platform::effectsOfKind("respring").front().detail, "prefs:root=Vantile");
    asking = nullptr;

    device->runUntilIdle();
    EXPECT_EQ(device->respringCount(), 1u);
    EXPECT_TRUE(device->isRunning());
    EXPECT_NE(device->rootController(), oldRoot) << "Settings started again";
    EXPECT_TRUE(watched.expired()) << "the page that asked went with the old interface";
    EXPECT_EQ(depth(), 2u);
    expectPane(device->visibleController());

    // The address is used once: a later respring lands on the root page.
    device->respring();
    device->advance(1);
    EXPECT_EQ(depth(), 1u);
}

TEST_F(Pane, ProfilesReportTheirSystemVersionAndATestCanChooseAnother) {
    struct Case {
        const char* profile;
        std::optional<NSOperatingSystemVersion> chosen;
        NSOperatingSystemVersion expected;
        bool atLeast11;
    };
    const Case cases[] = {
        {"iphone-x", std::nullopt, {14, 0, 0}, true},
        {"iphone-8-ios10", std::nullopt, {10, 3, 3}, false},
        {"iphone-12", NSOperatingSystemVersion{10, 3, 0}, {10, 3, 0}, false},
        {"iphone-8-ios10", NSOperatingSystemVersion{11, 0, 0}, {11, 0, 0}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.profile) + (c.chosen ? " with a chosen version" : ""));
        device.emplace(root.path());
        ASSERT_TRUE(device->setProfile(c.profile));
        if (c.chosen) {
            EXPECT_TRUE(device->setSystemVersion(*c.chosen));
        }
        sim::LaunchOptions options;
        options.loadTweak = false;
        ASSERT_FALSE(device->launch(options));
        EXPECT_EQ(NSProcessInfo::processInfo()->operatingSystemVersion(), c.expected);
        EXPECT_EQ(NSProcessInfo::processInfo()->isOperatingSystemAtLeastVersion({11, 0, 0}), c.atLeast11);
        EXPECT_FALSE(device->setSystemVersion({9, 0, 0})) << "no system change while running";
        device->respring();
        EXPECT_EQ(NSProcessInfo::processInfo()->operatingSystemVersion(), c.expected) << "a respring keeps it";
        device.reset();
    }
    EXPECT_NE(sim::profileSummary(*sim::deviceProfileNamed("iphone-8-ios10")).find("iOS 10.3.3"), std::string::npos);
    EXPECT_EQ(sim::profileSummary(*sim::deviceProfileNamed("iphone-8")).find("iOS"), std::string::npos);
}

TEST(PaneScenario, OpenLandsOnThePaneWithTheAddOnOffAndOn) {
    const auto dir = std::filesystem::temp_directory_path() / ("vantile-pane-scenario-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "pane.scenario") << "pref toggleHaptics bool yes\n"
                                            "launch settings\n"
                                            "wait 1s\n"
                                            "open prefs:root=Vantile\n"
                                            "wait 1s\n"
                                            "expect page \"Vantile\"\n"
                                            "expect url \"prefs:root=Vantile\"\n"
                                            "pref toggleVantile bool yes\n"
                                            "respring\n"
                                            "wait 1s\n"
                                            "expect visible gear\n"
                                            "open prefs:root=Vantile\n"
                                            "wait 1s\n"
                                            "expect page \"Vantile\"\n";
    auto run = simtest::runSimulator({"run", (dir / "pane.scenario").string(), "--root", (dir / "root").string(),
                                      "--out", (dir / "out").string()});
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    std::filesystem::remove_all(dir);
}

}  // namespace
