#pragma once

// A phone for the runner's own tests: a real window of the platform with a navigation controller, as the Settings
// process shows one, but without a device behind it, so device commands answer "not available". Tests add views
// to its pages and play steps against it.

#include "sim/scenario/Phone.h"

#include "platform/core/Object.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UIViewController.h"
#include "platform/ui/UIWindow.h"

#include <optional>
#include <string>
#include <vector>

namespace scenariotest {

class WindowPhone : public sim::scenario::Phone {
public:
    WindowPhone() {
        home = alloc<UIViewController>();
        home->init();
        home->setTitle("Home");
        navigation = alloc<UINavigationController>();
        navigation->initWithRootViewController(home);
        m_window = alloc<UIWindow>();
        m_window->initWithFrame(UIScreen::mainScreen()->bounds());
        m_window->setRootViewController(navigation);
        m_window->makeKeyAndVisible();
        m_window->layoutIfNeeded();
    }
    Ref<UIWindow> window() const override { return m_window; }
    Ref<UIViewController> visibleController() const override { return m_window->topmostPresentedController(); }
    bool isRunning() const override { return true; }
    void setAppearance(long style) override { m_window->setOverrideUserInterfaceStyle(style); }
    // Launching only records the process: the window stays, so a test can look at what a resumed run did.
    std::optional<std::string> launch(const std::string& process) override {
        launched.push_back(process);
        return std::nullopt;
    }
    void setDate(double secondsSince1970) override { dates.push_back(secondsSince1970); }

    std::vector<std::string> launched;
    std::vector<double> dates;

    Ref<UIViewController> home;
    Ref<UINavigationController> navigation;

private:
    Ref<UIWindow> m_window;
};

}  // namespace scenariotest
