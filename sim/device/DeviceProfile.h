#pragma once

// What makes one simulated phone different from another: its screen, its appearance, which optional Settings
// groups it shows, what the user installed, whether the Apple account has a picture, and what its system services
// report (network interfaces, carrier, application records).
//
// Profiles: "iphone-8", "iphone-8-plus", "iphone-x", "iphone-xr", "iphone-12" (screens as UIScreen's profiles of
// the same names). They differ on purpose, so that each optional part of the Settings root list is exercised by
// some profile; every one starts in light mode (a scenario says `appearance dark` for dark). What each has is
// listed by profileSummary, which `vantile-sim --help` and docs/scenarios.md show:
//   iphone-8       no Developer group, no TV provider, account picture, Wi-Fi only (no SIM, no cellular interface)
//   iphone-8-plus  Developer group, no TV provider, no account picture, Wi-Fi and cellular
//   iphone-x       no Developer group, TV provider, account picture, Wi-Fi and cellular (the default)
//   iphone-xr      Developer group, TV provider, account picture, cellular only (no Wi-Fi interface)
//   iphone-12      Developer group, no TV provider, account picture, Wi-Fi (with IPv6) and cellular
//   iphone-8-ios10 the iphone-8 on iOS 10.3.3 (Wi-Fi without IPv6); every other profile runs iOS 14.0.0

#include "platform/core/NSProcessInfo.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

// An application the user installed from the App Store: it gets a row among the installed applications.
struct InstalledApplication {
    std::string bundleIdentifier;
    std::string name;
};

// One address of a network interface, as getifaddrs lists it: "en0" is Wi-Fi, "pdp_ip0" cellular, "lo0" loopback.
struct NetworkInterface {
    std::string name;
    // "inet" or "inet6".
    std::string family;
    std::string address;
    bool up = true;
};

// An application record as the application workspace lists it.
struct ApplicationRecord {
    std::string bundleIdentifier;
    // "User" for installed applications, "System" for Apple's own.
    std::string type;
};

inline constexpr NSOperatingSystemVersion kCurrentSystemVersion{14, 0, 0};

struct DeviceProfile {
    std::string name;
    // The UIScreen profile (points and scale).
    std::string screen;
    // "touch-id" on phones with a home button, "face-id" on the others: names the passcode page.
    std::string biometry = "face-id";
    // 1 light, 2 dark: the appearance the phone starts in.
    long interfaceStyle = 1;
    // The Developer group ("DEVELOPER_SETTINGS") appears once a phone was used for development.
    bool developerSettings = false;
    // The TV-provider group ("VIDEO_SUBSCRIBER_GROUP") appears in regions that have TV providers.
    bool tvProvider = false;
    // Whether the Apple account has a picture; without one the account row never gets an "iconImage".
    bool accountPicture = true;
    std::vector<InstalledApplication> installedApplications;
    // Apple applications the Settings application shows among the installed ones (their bundle identifiers).
    std::vector<std::string> movedAppleApplications;
    std::vector<NetworkInterface> networkInterfaces;
    // The cellular carrier's name; nothing on a phone without SIM.
    std::optional<std::string> carrier;
    // The radio technology the carrier reports ("CTRadioAccessTechnologyLTE"); nothing without SIM.
    std::optional<std::string> radioAccessTechnology;
    std::vector<ApplicationRecord> applicationRecords;
    // The system version NSProcessInfo reports to the processes of the phone.
    NSOperatingSystemVersion systemVersion = kCurrentSystemVersion;
};

// Every known profile, in the order above.
const std::vector<DeviceProfile>& deviceProfiles();
// The profile of that name; nothing for an unknown name.
std::optional<DeviceProfile> deviceProfileNamed(std::string_view name);
// The profile a device starts with when none is chosen: "iphone-x".
const DeviceProfile& defaultDeviceProfile();

// What sets the profile apart, in one line of plain words: screen and biometry, appearance, the optional groups,
// account picture, interfaces with their addresses, carrier, the system version when it is not 14.0.0, and the
// installed applications by name.
std::string profileSummary(const DeviceProfile& profile);

}  // namespace sim
