#include "tests/tweak/startup/RootPageFixture.h"

#include "common/Keys.h"
#include "platform/core/DeviceRoot.h"
#include "platform/core/NSProcessInfo.h"
#include "platform/core/RunLoop.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/CGImage.h"
#include "platform/gfx/UIImage.h"
#include "platform/host/NSMutableArray.h"
#include "platform/host/PSSpecifier.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UINavigationItem.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UISearchController.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UITableViewCell.h"
#include "platform/ui/UIWindow.h"
#include "tweak/regroup/RegroupHooks.h"
#include "tweak/regroup/RegroupLinkRows.h"
#include "tweak/startup/RootPageHooks.h"

VT_REGISTER_CLASS(TestSettingsRoot, [](Class c) {
    using platform::runtime::addMethod;
    addMethod<&TestSettingsRoot::table>(c, "table");
    addMethod<&TestSettingsRoot::tableViewNumberOfRowsInSection>(c, "tableView:numberOfRowsInSection:");
    addMethod<&TestSettingsRoot::tableViewCellForRowAtIndexPath>(c, "tableView:cellForRowAtIndexPath:");
    addMethod<&TestSettingsRoot::tableViewDidSelectRowAtIndexPath>(c, "tableView:didSelectRowAtIndexPath:");
})

void TestSettingsRoot::init() {
    PSUIPrefsListController::init();
    auto search = alloc<UISearchController>();
    search->initWithSearchResultsController(nullptr);
    navigationItem()->setSearchController(search);
}

void TestSettingsRoot::loadView() {
    auto view = alloc<UIView>();
    view->initWithFrame(UIScreen::mainScreen()->bounds());
    m_table = alloc<UITableView>();
    m_table->initWithFrameStyle(view->bounds(), UITableViewStyleInsetGrouped);
    m_table->setDataSource(self());
    m_table->setDelegate(self());
    view->addSubview(m_table);
    setView(view);
}

long TestSettingsRoot::tableViewNumberOfRowsInSection(Ref<UITableView>, long) {
    auto list = platform::msgSend<Ref<NSMutableArray>>(this, sel("specifiers"));
    return list ? static_cast<long>(list->count()) : 0;
}

Ref<UITableViewCell> TestSettingsRoot::tableViewCellForRowAtIndexPath(Ref<UITableView>, Ref<NSIndexPath>) {
    auto cell = alloc<UITableViewCell>();
    cell->initWithStyleReuseIdentifier(0, "row");
    return cell;
}

void TestSettingsRoot::tableViewDidSelectRowAtIndexPath(Ref<UITableView>, Ref<NSIndexPath> path) {
    selectedRows.push_back(path->value());
}

namespace vantile::testing {

void RootPageFixture::SetUpTestSuite() { CardFixture::SetUpTestSuite(); }

// Once per program, on the card device that CardFixture::SetUp has just made current: the bindings follow the
// device they were made on.
void RootPageFixture::startOnce() {
    static bool started = false;
    if (started) return;
    started = true;
    platform::runtime::enableClassGroup("Preferences");
    // The tweak link's icon; the application icons are the host's.
    const std::uint32_t pixels[4] = {0xFF8E8E93, 0xFF8E8E93, 0xFF8E8E93, 0xFF8E8E93};
    CGImageRef icon = platform::gfx::createImageFromARGB32(2, 2, pixels, 8);
    platform::gfx::writePNG(icon, *platform::devicePath(regroup::kTweaksIconPath));
    CGImageRelease(icon);
    store(key::toggleVantile, true);
    auto info = NSProcessInfo::processInfo();
    const auto saved = info->arguments();
    info->setArguments({"/Applications/Preferences.app/Preferences"});
    regroup::startup();
    rootpage::startup();
    info->setArguments(saved);
    store(key::toggleVantile, Value());
}

void RootPageFixture::SetUp() {
    CardFixture::SetUp();
    startOnce();
    UIApplication::sharedApplication()->reset();
    auto& s = rootpage::state();
    s.account = nullptr;
    s.accountIcon.reset();
    s.settingBaseView = nullptr;
    s.vantileBaseView = nullptr;
    s.vantileViewController = nullptr;
    s.impactGenerator = nullptr;
}

void RootPageFixture::TearDown() {
    navigation = nullptr;
    window = nullptr;
    UIApplication::sharedApplication()->reset();
    CardFixture::TearDown();
}

Ref<TestSettingsRoot> RootPageFixture::showRootPage(Ref<NSMutableArray> list, long style) {
    auto root = alloc<TestSettingsRoot>();
    root->init();
    if (list) root->setSpecifiers(std::move(list));
    navigation = alloc<UINavigationController>();
    navigation->initWithRootViewController(root);
    window = alloc<UIWindow>();
    window->initWithFrame(UIScreen::mainScreen()->bounds());
    window->setOverrideUserInterfaceStyle(style);
    window->setRootViewController(navigation);
    window->makeKeyAndVisible();
    window->layoutIfNeeded();
    platform::RunLoop::main().advance(0.5);
    return root;
}

Ref<NSMutableArray> RootPageFixture::accountRootList(bool accountPicture) {
    auto list = NSMutableArray::array();
    auto row = [&](std::string name, std::string identifier) {
        auto s = PSSpecifier::preferenceSpecifierNamedTargetSetGetDetailCellEdit(std::move(name), nullptr, nullptr,
                                                                                 nullptr, nullptr,
                                                                                 PSSpecifier::PSLinkCell, nullptr);
        s->setIdentifier(std::move(identifier));
        list->addObject(s);
        return s;
    };
    list->addObject(PSSpecifier::groupSpecifierWithName(""));
    auto account = row("Apple ID", "APPLE_ACCOUNT");
    if (accountPicture) {
        Bitmap pixels(2, 2);
        pixels.pixels.assign(4, 0xFFFF0000);
        account->setPropertyForKey(Property(UIImage::imageWithBitmap(std::move(pixels), 1.0, "account")), "iconImage");
    }
    list->addObject(PSSpecifier::groupSpecifierWithName(""));
    row("Wi-Fi", "WIFI");
    row("General", "General");
    return list;
}

}  // namespace vantile::testing
