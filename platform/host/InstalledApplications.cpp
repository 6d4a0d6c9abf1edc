#include "platform/host/InstalledApplications.h"

namespace platform::host {
namespace {

struct Lists {
    std::vector<ApplicationEntry> installed;
    std::vector<ApplicationEntry> moved;
};

Lists& lists() {
    static auto* l = new Lists();
    return *l;
}

// Applications of the system image, whose bundles sit in /Applications.
const std::vector<ApplicationEntry>& systemApplications() {
    static const auto* apps = new std::vector<ApplicationEntry>{
        {"com.apple.Preferences", "Settings", "/Applications/Preferences.app/AppIcon60x60@2x.png"},
        {"com.apple.AppStore", "App Store", "/Applications/AppStore.app/AppIcon60x60@2x.png"},
    };
    return *apps;
}

}  // namespace

const std::vector<ApplicationEntry>& InstalledApplications::installed() { return lists().installed; }

void InstalledApplications::setInstalled(std::vector<ApplicationEntry> applications) {
    lists().installed = std::move(applications);
}

const std::vector<ApplicationEntry>& InstalledApplications::movedApple() { return lists().moved; }

void InstalledApplications::setMovedApple(std::vector<ApplicationEntry> applications) {
    lists().moved = std::move(applications);
}

std::optional<ApplicationEntry> InstalledApplications::find(std::string_view bundleIdentifier) {
    const std::vector<ApplicationEntry>* searched[] = {&lists().installed, &lists().moved, &systemApplications()};
    for (const auto* list : searched)
        for (const auto& app : *list)
            if (app.bundleIdentifier == bundleIdentifier) return app;
    return std::nullopt;
}

void InstalledApplications::reset() { lists() = Lists{}; }

}  // namespace platform::host
