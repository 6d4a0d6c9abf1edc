#pragma once

// The pane in a Settings process of its own: a temporary device root holding the preference bundle as the build
// installs it (plists, localizations, drawn images), the framework classes present, and a window with a navigation
// controller in which the pane's root page is shown the way Settings pushes it.

#include "platform/core/HBPreferences.h"
#include "platform/core/RunLoop.h"
#include "platform/core/Value.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UIWindow.h"
#include "tests/support/TemporaryRoot.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

class VNTPrimraryController;

namespace panetest {

inline constexpr std::string_view kBundle = "/Library/PreferenceBundles/VantilePrefs.bundle";

class PaneFixture : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The host path of a device path.
    std::filesystem::path hostPath(std::string_view devicePath) const;
    bool domainFileExists() const;
    // Empties the domain, which removes its backing file.
    void removeDomain() const;
    // Writes the domain's backing file with exactly these keys.
    void writeDomain(const Value::Dictionary& dict) const;
    // The stored value of a key; None when the file or the key is missing.
    Value stored(std::string_view key) const;
    // Stores the six theme flags: YES for the listed theme names, NO for the others.
    void storeThemes(std::initializer_list<std::string_view> on) const;

    // A new root page, made as the host makes the principal class (alloc, init), reading its lists from the bundle.
    Ref<VNTPrimraryController> makeRoot() const;
    // Puts `root` in a visible window inside a navigation controller and lays it out. Runs the turn that shows it
    // but not the later turns, so work scheduled for "a later turn" has not run yet.
    void present(const Ref<UIViewController>& root);
    // Runs the main run loop for `seconds` of virtual time (animations and transitions included), then lays the
    // window out as the screen's next frame would.
    void settle(double seconds = 1) {
        platform::RunLoop::main().advance(seconds);
        if (m_window) m_window->layoutIfNeeded();
    }

    std::optional<testing_support::TemporaryRoot> m_temporary;
    Ref<UIWindow> m_window;
    Ref<UINavigationController> m_navigation;
};

}  // namespace panetest
