#include "tests/prefs/pane/PaneFixture.h"

#include "common/Keys.h"
#include "platform/core/DeviceRoot.h"
#include "platform/core/DictionaryFile.h"
#include "platform/core/NSBundle.h"
#include "platform/core/NSProcessInfo.h"
#include "platform/core/NSTimeZone.h"
#include "platform/core/Runtime.h"
#include "platform/harness/EffectLog.h"
#include "platform/ui/AnimationCenter.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIScreen.h"
#include "prefs/drawer/VNTTheme.h"
#include "prefs/pane/VNTPrimraryController.h"

#include <algorithm>

namespace panetest {

void PaneFixture::SetUp() {
    m_temporary.emplace("pane");
    m_temporary->useAsDeviceRoot();
    const std::filesystem::path built = std::filesystem::path(VANTILE_BUILD_DIR) / "device" / std::string(kBundle).substr(1);
    ASSERT_TRUE(std::filesystem::is_directory(built)) << "the build installs the bundle at " << built;
    std::filesystem::create_directories(hostPath(kBundle).parent_path());
    std::filesystem::copy(built, hostPath(kBundle), std::filesystem::copy_options::recursive);
    platform::runtime::enableClassGroup("Preferences");
    platform::setMainBundlePath("/Applications/Preferences.app");
    // This program links the bundle's code in, so no load tells which classes are the bundle's: say it, so pages
    // the pane pushes read their lists from the bundle as they do on the phone.
    for (const char* page : {"VNTPrimraryController", "VNTSectionsController", "VNTColoursController",
                             "VNTOptionsController", "VNTProfileController"})
        platform::recordClassOfBundle(objc_getClass(page), NSBundle::bundleWithPath(kBundle));
    UIScreen::resetDeviceProfile();
    platform::clearEffectLog();
}

void PaneFixture::TearDown() {
    if (m_navigation && m_navigation->presentedViewController())
        m_navigation->dismissViewControllerAnimatedCompletion(false);
    if (m_window) m_window->setRootViewController(nullptr);
    m_window = nullptr;
    m_navigation = nullptr;
    UIApplication::sharedApplication()->reset();
    platform::AnimationCenter::shared().reset();
    platform::resetRunLoop();
    platform::setOperatingSystemVersion({14, 0, 0});
    NSTimeZone::setLocalTimeZoneName("UTC");
    platform::runtime::disableAllClassGroups();
    platform::flushBundleCaches();
    m_temporary.reset();
}

std::filesystem::path PaneFixture::hostPath(std::string_view devicePath) const {
    return m_temporary->path() / std::string(devicePath.substr(1));
}

bool PaneFixture::domainFileExists() const { return std::filesystem::exists(hostPath(vantile::kDomainFile)); }

void PaneFixture::removeDomain() const {
    ASSERT_TRUE(platform::writeDictionaryToFile(vantile::kDomainFile, {}));
    ASSERT_FALSE(domainFileExists());
}

void PaneFixture::writeDomain(const Value::Dictionary& dict) const {
    ASSERT_TRUE(platform::writeDictionaryToFile(vantile::kDomainFile, dict));
}

Value PaneFixture::stored(std::string_view key) const {
    const auto file = platform::dictionaryWithContentsOfFile(vantile::kDomainFile);
    if (!file) return Value();
    const auto found = file->find(std::string(key));
    return found == file->end() ? Value() : found->second;
}

void PaneFixture::storeThemes(std::initializer_list<std::string_view> on) const {
    auto dict = platform::dictionaryWithContentsOfFile(vantile::kDomainFile).value_or(Value::Dictionary{});
    for (const auto& row : vnt::kThemes)
        dict[std::string(row.key)] = Value(std::find(on.begin(), on.end(), row.name) != on.end());
    writeDomain(dict);
}

Ref<VNTPrimraryController> PaneFixture::makeRoot() const {
    auto root = cast<VNTPrimraryController>(platform::runtime::createInstance(objc_getClass("VNTPrimraryController")));
    EXPECT_TRUE(root) << "the principal class is found by name";
    if (!root) return nullptr;
    root->setBundlePath(std::string(kBundle));
    root->init();
    return root;
}

void PaneFixture::present(const Ref<UIViewController>& root) {
    m_window = alloc<UIWindow>();
    m_window->initWithFrame(UIScreen::mainScreen()->bounds());
    m_navigation = alloc<UINavigationController>();
    m_navigation->initWithRootViewController(root);
    m_window->setRootViewController(m_navigation);
    m_window->makeKeyAndVisible();
    m_window->layoutIfNeeded();
}

}  // namespace panetest
