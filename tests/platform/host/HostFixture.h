#pragma once

// A Settings process in a temporary device root: the framework classes present, the Settings bundle as main
// bundle, a window with a navigation controller for pages to be pushed on. Removes everything it made.

#include "platform/core/DeviceRoot.h"
#include "platform/core/NSBundle.h"
#include "platform/core/NSMutableArray.h"
#include "platform/core/PropertyList.h"
#include "platform/core/RunLoop.h"
#include "platform/core/Runtime.h"
#include "platform/host/AppleAccount.h"
#include "platform/host/DeviceCapabilities.h"
#include "platform/host/InstalledApplications.h"
#include "platform/host/PSSpecifier.h"
#include "platform/system/DeviceRadios.h"
#include "platform/ui/AnimationCenter.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UIWindow.h"
#include "tests/support/TemporaryRoot.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

namespace hosttest {

class HostFixture : public testing::Test {
protected:
    void SetUp() override {
        m_temporary.emplace("host");
        m_root = m_temporary->path();
        platform::setDeviceRoot(m_root);
        for (const char* group : {"Preferences", "RadiosPreferences", "BluetoothManager"})
            platform::runtime::enableClassGroup(group);
        platform::setMainBundlePath("/Applications/Preferences.app");
        UIScreen::resetDeviceProfile();
    }
    void TearDown() override {
        if (m_window) m_window->setRootViewController(nullptr);
        m_window = nullptr;
        m_navigation = nullptr;
        UIApplication::sharedApplication()->reset();
        platform::AnimationCenter::shared().reset();
        platform::resetRunLoop();
        platform::host::DeviceCapabilities::set({});
        platform::host::InstalledApplications::reset();
        platform::host::AppleAccount::reset();
        platform::system::DeviceRadios::reset();
        platform::runtime::disableAllClassGroups();
        platform::flushBundleCaches();
        m_temporary.reset();
    }

    std::filesystem::path hostPath(const std::string& devicePath) const { return m_root / devicePath.substr(1); }

    void writePlist(const std::string& devicePath, const Value& value) const {
        std::filesystem::create_directories(hostPath(devicePath).parent_path());
        ASSERT_TRUE(platform::writePropertyListFile(hostPath(devicePath), value));
    }

    // Shows `root` in a visible window inside a navigation controller, settled.
    void show(const Ref<UIViewController>& root) {
        m_window = alloc<UIWindow>();
        m_window->initWithFrame(UIScreen::mainScreen()->bounds());
        m_navigation = alloc<UINavigationController>();
        m_navigation->initWithRootViewController(root);
        m_window->setRootViewController(m_navigation);
        m_window->makeKeyAndVisible();
        m_window->layoutIfNeeded();
        platform::RunLoop::main().drain();
    }

    static Value::Dictionary item(std::initializer_list<std::pair<const std::string, Value>> entries) {
        return Value::Dictionary(entries);
    }

    static std::vector<std::string> names(const Ref<NSMutableArray>& list) {
        std::vector<std::string> out;
        if (list)
            for (const auto& e : *list)
                if (auto s = cast<PSSpecifier>(e)) out.push_back(s->isGroup() ? "H" + s->identifier().value_or("") : s->name());
        return out;
    }

    std::optional<testing_support::TemporaryRoot> m_temporary;
    std::filesystem::path m_root;
    Ref<UIWindow> m_window;
    Ref<UINavigationController> m_navigation;
};

}  // namespace hosttest
