// With the master switch off, the Settings root page is the host's own. The hooks of a process cannot be taken
// back, so this runs in a fresh copy of the test program that never switched the add-on on.
#include "tests/tweak/startup/RootPageFixture.h"

#include "platform/core/DeviceRoot.h"
#include "platform/core/NSProcessInfo.h"
#include "platform/core/RunLoop.h"
#include "platform/core/Runtime.h"
#include "platform/host/InstalledApplications.h"
#include "platform/core/NSMutableArray.h"
#include "platform/core/NSMutableDictionary.h"
#include "platform/host/PSSpecifier.h"
#include "platform/ui/CALayer.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UINavigationItem.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UISearchBar.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UIWindow.h"
#include "tweak/regroup/RegroupHooks.h"
#include "tweak/startup/RootPageHooks.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::vector<std::string> switchedOffDifferences() {
    std::vector<std::string> problems;
    auto expect = [&](bool ok, const char* what) {
        if (!ok) problems.emplace_back(what);
    };
    const auto root = std::filesystem::temp_directory_path() / ("vantile-switched-off-" + std::to_string(::getpid()));
    std::filesystem::create_directories(root);
    platform::setDeviceRoot(root);
    platform::runtime::enableClassGroup("Preferences");
    NSProcessInfo::processInfo()->setArguments({"/Applications/Preferences.app/Preferences"});
    vantile::regroup::startup();
    vantile::rootpage::startup();

    for (const auto& hook : platform::runtime::hookLog())
        expect(hook.rfind("PS", 0) != 0 && hook.rfind("_UISearchBar", 0) != 0, "a Settings hook went in");

    auto page = alloc<PSUIPrefsListController>();
    page->init();
    auto navigation = alloc<UINavigationController>();
    navigation->initWithRootViewController(page);
    auto window = alloc<UIWindow>();
    window->initWithFrame(UIScreen::mainScreen()->bounds());
    window->setRootViewController(navigation);
    window->makeKeyAndVisible();
    window->layoutIfNeeded();
    platform::RunLoop::main().advance(0.5);

    expect(!vantile::rootpage::state().settingBaseView, "an overlay was laid over the list");
    expect(page->table()->isScrollEnabled(), "the root table was pinned");
    expect(page->navigationItem()->leftBarButtonItems().empty(), "bar buttons were set");
    expect(page->edgeToEdgeCells(), "edge-to-edge cells are not as the host sets them on a phone");
    expect(page->usesRegularWidthLayout() == false, "the phone reports regular width");

    platform::host::InstalledApplications::setInstalled({{"com.example.one", "One", std::nullopt}});
    page->loadInstalledApplications();
    platform::RunLoop::main().advance(1);
    expect(vantile::regroup::settings().completions == 0, "the loading of installed applications was wrapped");
    bool installedOnRoot = false;
    for (const id& entry : *page->specifiersIvar()) {
        auto s = cast<PSSpecifier>(entry);
        installedOnRoot |= s && s->name() == "One";
        expect(!s || !s->detailControllerClass() ||
                   platform::runtime::className(s->detailControllerClass()).find("SpecifiersController") ==
                       std::string_view::npos,
               "a link to a sub-page is on the root page");
    }
    expect(installedOnRoot, "the installed application left the root page");

    auto bar = alloc<UISearchBar>();
    bar->initWithFrame(CGRect{{0, 0}, {375, UISearchBar::kHeight}});
    bar->layoutIfNeeded();
    expect(bar->searchTextField()->backgroundView()->layer()->cornerRadius() == UISearchTextField::kCornerRadius,
           "the search field lost its own corners");

    std::filesystem::remove_all(root);
    return problems;
}

TEST(RootPageSwitchedOff, SettingsRootPageIsTheHostsOwn) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            const auto problems = switchedOffDifferences();
            for (const auto& p : problems) std::fprintf(stderr, "%s\n", p.c_str());
            std::_Exit(problems.empty() ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

}  // namespace
