#pragma once

// What the simulated phone has, as the Settings application's data files ask for it with "requiredCapabilities":
// "developer-settings" (a phone used for development shows the Developer page), "tv-provider" (a region with TV
// providers), "cellular", "wifi", "telephony". The device sets them at launch; nothing is set by default.

#include <set>
#include <string>
#include <string_view>

namespace platform::host {

class DeviceCapabilities {
public:
    static bool has(std::string_view capability);
    static void set(std::set<std::string, std::less<>> capabilities);
    static const std::set<std::string, std::less<>>& all();
};

}  // namespace platform::host
