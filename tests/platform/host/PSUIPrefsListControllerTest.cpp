// The Settings root page: its list from the data file and the pane entries, the installed applications loaded
// after it, the account picture, the airplane switch and the addresses it opens.
#include "platform/host/PSUIPrefsListController.h"

#include "platform/core/NSMutableDictionary.h"
#include "platform/core/NSURL.h"
#include "platform/gfx/UIImage.h"
#include "platform/host/PSTableCell.h"
#include "platform/host/PSURLManager.h"
#include "platform/ui/NSIndexPath.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UINavigationItem.h"
#include "platform/ui/UISearchBar.h"
#include "platform/ui/UISearchController.h"
#include "platform/ui/UISwitch.h"
#include "platform/ui/UITableView.h"
#include "tests/platform/host/HostFixture.h"
#include "tests/platform/host/TestPages.h"

#include <algorithm>
#include <fstream>

namespace {

using platform::msgSend;
using platform::host::ApplicationEntry;
using platform::host::InstalledApplications;

class RootPage : public hosttest::HostFixture {
protected:
    void SetUp() override {
        HostFixture::SetUp();
        Value::Array items{
            item({{"cell", "PSGroupCell"}}),
            item({{"label", "Apple ID"}, {"id", "APPLE_ACCOUNT"}, {"detail", "HostTestPage"}}),
            item({{"cell", "PSGroupCell"}}),
            item({{"cell", "PSSwitchCell"}, {"label", "Airplane Mode"}, {"id", "AIRPLANE_MODE"},
                  {"get", "airplaneModeValue:"}, {"set", "setAirplaneModeValue:specifier:"}}),
            item({{"label", "Wi-Fi"}, {"id", "WIFI"}, {"detail", "HostTestPage"}}),
            item({{"label", "Tweaks"}, {"detail", "HostTestPage"}}),
            item({{"label", "No page"}, {"id", "NO_PAGE"}}),
            item({{"cell", "PSGroupCell"}, {"preferenceLoaderGroup", true}}),
        };
        writePlist("/Applications/Preferences.app/Settings.plist", Value(Value::Dictionary{{"items", items}}));
    }
    void writePane(const std::string& file, const std::string& label, std::optional<std::string> bundle = {}) {
        Value::Dictionary entry{{"label", label}};
        if (bundle) entry["bundle"] = *bundle;
        writePlist("/Library/PreferenceLoader/Preferences/" + file, Value(Value::Dictionary{{"entry", Value(entry)}}));
    }
    Ref<PSUIPrefsListController> makeRoot() {
        auto root = cast<PSUIPrefsListController>(platform::runtime::createInstance(objc_getClass("PSUIPrefsListController")));
        root->init();
        return root;
    }
    static Ref<PSSpecifier> entry(const Ref<NSMutableArray>& list, std::string_view identifier) {
        for (const auto& e : *list)
            if (auto s = cast<PSSpecifier>(e); s && s->identifier() == identifier) return s;
        return nullptr;
    }
};

TEST_F(RootPage, ListComesFromTheDataFileWithPaneEntriesSortedByName) {
    writePane("Zeta.plist", "Zeta");
    writePane("alpha.plist", "Aurora", "AuroraPrefs");
    writePane("Mid.plist", "Beta");
    std::filesystem::create_directories(hostPath("/Library/PreferenceLoader/Preferences"));
    std::ofstream(hostPath("/Library/PreferenceLoader/Preferences/broken.plist")) << "not a plist";
    std::ofstream(hostPath("/Library/PreferenceLoader/Preferences/notes.txt")) << "ignored";
    writePlist("/Library/PreferenceBundles/AuroraPrefs.bundle/Info.plist",
               Value(Value::Dictionary{{"NSPrincipalClass", "AuroraRootController"}}));
    platform::host::AppleAccount::setName("Robin Appleseed");

    auto root = makeRoot();
    auto list = msgSend<Ref<NSMutableArray>>(root, sel("specifiers"));
    EXPECT_EQ(names(list), (std::vector<std::string>{"H", "Robin Appleseed", "H", "Airplane Mode",
                                                     "Wi-Fi", "Tweaks", "No page", "H", "Aurora", "Beta", "Zeta"}));
    auto aurora = list->objectAtIndexAs<PSSpecifier>(8);
    EXPECT_EQ(aurora->cellType(), PSSpecifier::PSLinkCell);
    EXPECT_EQ(aurora->stringProperty("detail"), "AuroraRootController") << "the pane bundle's principal class";
    EXPECT_EQ(msgSend<Ref<NSMutableArray>>(root, sel("specifiers")), list) << "built once, then the same list";
}

TEST_F(RootPage, WithoutPaneEntriesTheirHeaderIsLeftOutAndWithoutDataFileOnlyTheAccountRemains) {
    EXPECT_EQ(names(msgSend<Ref<NSMutableArray>>(makeRoot(), sel("specifiers"))),
              (std::vector<std::string>{"H", "Apple ID", "H", "Airplane Mode", "Wi-Fi", "Tweaks",
                                        "No page"}));
    std::filesystem::remove(hostPath("/Applications/Preferences.app/Settings.plist"));
    auto bare = msgSend<Ref<NSMutableArray>>(makeRoot(), sel("specifiers"));
    EXPECT_EQ(names(bare), (std::vector<std::string>{"H", "Apple ID"}));
    EXPECT_EQ(bare->objectAtIndexAs<PSSpecifier>(1)->identifier(), "APPLE_ACCOUNT");
}

TEST_F(RootPage, InstalledApplicationsArriveOnALaterTurnAndAgain) {
    InstalledApplications::setInstalled({{"com.example.bravo", "Bravo", {}}, {"com.example.alpha", "Alpha", {}}});
    InstalledApplications::setMovedApple({{"com.apple.Pages", "Pages", {}}});
    auto root = makeRoot();
    show(root);
    auto list = root->specifiersIvar();
    const auto before = names(list);

    std::vector<std::pair<std::size_t, std::size_t>> completions;
    Ref<NSMutableArray> handedOver;
    auto apps = NSMutableArray::array();
    for (const auto& app : InstalledApplications::installed()) {
        auto e = PSSpecifier::preferenceSpecifierNamedTargetSetGetDetailCellEdit(app.name, root, nullptr, nullptr,
                                                                                 nullptr, PSSpecifier::PSLinkCell, nullptr);
        e->setIdentifier(app.bundleIdentifier);
        apps->addObject(e);
    }
    apps->addObject(alloc<NSObject>());  // not an entry: skipped
    msgSend<void>(root, sel("_reallyLoadThirdPartySpecifiersForApps:withCompletion:"), apps,
                  ThirdPartySpecifiersCompletion([&](Ref<NSMutableArray> installed, Ref<NSMutableDictionary> moved) {
                      completions.emplace_back(installed->count(), moved->count());
                      handedOver = installed;
                  }));
    EXPECT_TRUE(completions.empty()) << "never within the call";
    EXPECT_EQ(names(list), before);
    platform::RunLoop::main().drain();
    ASSERT_EQ(completions.size(), 1u);
    EXPECT_EQ(completions[0], (std::pair<std::size_t, std::size_t>{2, 1}));
    auto expected = before;
    for (const char* n : {"H", "Alpha", "Bravo", "Pages"}) expected.push_back(n);
    EXPECT_EQ(names(list), expected) << "one group, the Apple application among them, sorted by name";
    EXPECT_EQ(handedOver->objectAtIndex(0), apps->objectAtIndex(1)) << "the entries handed in, in display order";
    EXPECT_EQ(handedOver->objectAtIndex(1), apps->objectAtIndex(0));
    auto pages = root->movedThirdPartySpecifiers()->objectForKey("com.apple.Pages");
    ASSERT_TRUE(pages);
    EXPECT_TRUE(list->containsObject(pages));

    // The page's own load after it appeared, and a later one after an installation: the group is replaced.
    platform::RunLoop::main().advance(1);
    InstalledApplications::setInstalled({{"com.example.charlie", "Charlie", {}}});
    root->loadInstalledApplications();
    platform::RunLoop::main().drain();
    expected = before;
    for (const char* n : {"H", "Charlie", "Pages"}) expected.push_back(n);
    EXPECT_EQ(names(list), expected);
    EXPECT_EQ(root->movedThirdPartySpecifiers()->objectForKey("com.apple.Pages"), pages)
        << "moved entries keep their identity from one load to the next";
    EXPECT_EQ(root->installedLoadCount(), 3u);
    EXPECT_EQ(root->table()->numberOfSections(), 3) << "the table shows the installed group";
}

TEST_F(RootPage, AccountPictureArrivesByARowReloadShortlyAfterLoad) {
    for (bool withPicture : {true, false}) {
        auto picture = UIImage::systemImageNamed("person.crop.circle");
        platform::host::AppleAccount::setPicture(withPicture ? picture : nullptr);
        auto root = makeRoot();
        show(root);
        auto account = entry(root->specifiersIvar(), "APPLE_ACCOUNT");
        ASSERT_TRUE(account);
        EXPECT_FALSE(account->propertyForKey("iconImage")) << "not at load";
        platform::RunLoop::main().advance(PSUIPrefsListController::kAccountPictureDelay - 0.1);
        EXPECT_FALSE(account->propertyForKey("iconImage"));
        platform::RunLoop::main().advance(0.2);
        const auto icon = account->propertyForKey("iconImage");
        EXPECT_EQ(icon.has_value(), withPicture);
        if (withPicture) {
            EXPECT_EQ(icon->object<UIImage>(), picture);
            auto cell = cast<PSTableCell>(root->table()->cellForRowAtIndexPath(IndexPath{0, 0}));
            ASSERT_TRUE(cell);
            EXPECT_EQ(cell->imageView()->image(), picture) << "the row shows it after its reload";
        }
        auto calls = root->nativeCalls();
        EXPECT_EQ(std::count(calls.begin(), calls.end(), "reloadSpecifierAtIndex:animated:"), withPicture ? 1 : 0);
        TearDown();
        SetUp();
    }
}

TEST_F(RootPage, AirplaneSwitchAsksTheRadiosWhenThePageAppearsAndWhenTheyChange) {
    using platform::system::DeviceRadios;
    auto root = makeRoot();
    show(root);
    auto switchOf = [&] {
        auto cell = cast<PSSwitchTableCell>(root->table()->cellForRowAtIndexPath(IndexPath{1, 0}));
        return cell ? cast<UISwitch>(cell->control()) : nullptr;
    };
    ASSERT_TRUE(switchOf());
    EXPECT_FALSE(switchOf()->isOn());
    const auto queriesAtAppearance = DeviceRadios::airplaneModeQueries();
    EXPECT_GE(queriesAtAppearance, 2u) << "the row's getter and the page's own read";

    DeviceRadios::setAirplaneMode(true);
    platform::RunLoop::main().drain();
    EXPECT_TRUE(switchOf()->isOn()) << "a change elsewhere shows on the row";
    EXPECT_GT(DeviceRadios::airplaneModeQueries(), queriesAtAppearance);

    switchOf()->setOn(false);
    switchOf()->sendActionsForControlEvents(UIControlEventValueChanged);
    EXPECT_EQ(DeviceRadios::airplaneModeRequests(), std::vector<bool>{false});
    EXPECT_FALSE(DeviceRadios::airplaneMode());
}

TEST_F(RootPage, SearchControllerIsThereBeforeTheViewLoads) {
    auto root = makeRoot();
    ASSERT_TRUE(root->navigationItem()->searchController());
    EXPECT_FALSE(root->isViewLoaded());
    EXPECT_TRUE(root->navigationItem()->searchController()->searchBar());
}

TEST_F(RootPage, AddressesOpenTheRootEntryByIdentifierThenByName) {
    auto root = makeRoot();
    show(root);
    auto manager = PSURLManager::sharedManager();
    struct Case {
        const char* url;
        const char* opens;  // title of the page on top afterwards; null: the navigation stays
    };
    const Case cases[] = {
        {"prefs:root=WIFI", "Wi-Fi"},
        {"prefs:root=Tweaks", "Tweaks"},
        {"prefs:root=WIFI&path=Networks", "Wi-Fi"},
        {"prefs:root=NOWHERE", nullptr},
        {"prefs:root=NO_PAGE", nullptr},
        {"prefs:root=", nullptr},
        {"https://example.com", nullptr},
    };
    for (const auto& c : cases) {
        // Each request starts from another page, so a request that opens nothing visibly stays there.
        msgSend<void>(root, sel("tableView:didSelectRowAtIndexPath:"), root->table(), NSIndexPath::indexPathForRowInSection(0, 0));
        platform::RunLoop::main().advance(1);
        auto from = m_navigation->topViewController();
        ASSERT_NE(from, root);
        msgSend<void>(manager, sel("processURL:animated:fromSearch:withCompletion:"), NSURL::URLWithString(c.url), true,
                      false, std::function<void()>());
        platform::RunLoop::main().advance(1);
        auto top = m_navigation->topViewController();
        if (c.opens) {
            EXPECT_EQ(m_navigation->viewControllers().size(), 2u) << c.url << ": over the root page";
            EXPECT_EQ(top->title(), c.opens) << c.url;
        } else {
            EXPECT_EQ(top, from) << c.url;
        }
        m_navigation->popToRootViewControllerAnimated(false);
    }
}

}  // namespace
