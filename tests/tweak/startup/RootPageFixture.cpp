#include "tests/tweak/startup/RootPageFixture.h"

#include "common/Keys.h"
#include "platform/core/DeviceRoot.h"
#include "platform/core/NSProcessInfo.h"
#include "platform/core/RunLoop.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/CGImage.h"
#include "platform/gfx/UIImage.h"
#include "platform/host/AppleAccount.h"
#include "platform/host/InstalledApplications.h"
#include "platform/core/NSMutableArray.h"
#include "platform/host/PSSpecifier.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UIWindow.h"
#include "tweak/regroup/RegroupCompletion.h"
#include "tweak/regroup/RegroupHooks.h"
#include "tweak/regroup/RegroupLinkRows.h"
#include "tweak/startup/RootPageHooks.h"

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
    platform::host::AppleAccount::reset();
    platform::host::InstalledApplications::reset();
    regroup::regrouping().reset();
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
    platform::host::AppleAccount::reset();
    platform::host::InstalledApplications::reset();
    CardFixture::TearDown();
}

Ref<PSUIPrefsListController> RootPageFixture::showRootPage(Ref<NSMutableArray> list, long style) {
    auto root = alloc<PSUIPrefsListController>();
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
    platform::RunLoop::main().advance(1);
    window->layoutIfNeeded();
    return root;
}

Ref<PSSpecifier> RootPageFixture::row(const std::string& name, const std::string& identifier) {
    auto s = PSSpecifier::preferenceSpecifierNamedTargetSetGetDetailCellEdit(
        name, nullptr, nullptr, nullptr, PSListController::classObject(), PSSpecifier::PSLinkCell, nullptr);
    s->setIdentifier(identifier);
    return s;
}

Ref<NSMutableArray> RootPageFixture::accountRootList() {
    auto list = NSMutableArray::array();
    list->addObject(PSSpecifier::groupSpecifierWithName(""));
    list->addObject(row("Apple ID", "APPLE_ACCOUNT"));
    list->addObject(PSSpecifier::groupSpecifierWithName(""));
    list->addObject(row("Wi-Fi", "WIFI"));
    list->addObject(row("General", "General"));
    return list;
}

void RootPageFixture::giveAccountPicture() {
    Bitmap pixels(2, 2);
    pixels.pixels.assign(4, 0xFFFF0000);
    platform::host::AppleAccount::setPicture(UIImage::imageWithBitmap(std::move(pixels), 1.0, "account"));
}

Ref<UIViewController> RootPageFixture::topPage() const { return navigation ? navigation->topViewController() : nullptr; }

}  // namespace vantile::testing
