#pragma once

// The applications of the simulated phone as the Settings application lists them: those the user installed (one
// row each among the installed applications) and Apple's applications that Settings shows among them (the
// `_movedThirdPartySpecifiers` of the root page). The device fills both at launch and when an application is
// installed; nothing is installed by default.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::host {

struct ApplicationEntry {
    std::string bundleIdentifier;
    std::string name;
    // The icon's device path; nothing for an application without icon file.
    std::optional<std::string> iconPath;
};

class InstalledApplications {
public:
    static const std::vector<ApplicationEntry>& installed();
    static void setInstalled(std::vector<ApplicationEntry> applications);
    static const std::vector<ApplicationEntry>& movedApple();
    static void setMovedApple(std::vector<ApplicationEntry> applications);
    // The entry of a bundle identifier among both lists, then among the system's own applications
    // ("com.apple.Preferences", "com.apple.AppStore"); nothing when unknown.
    static std::optional<ApplicationEntry> find(std::string_view bundleIdentifier);
    static void reset();
};

}  // namespace platform::host
