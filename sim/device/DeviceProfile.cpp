#include "sim/device/DeviceProfile.h"

namespace sim {
namespace {

std::vector<InstalledApplication> storeApplications(std::initializer_list<const char*> pairs) {
    std::vector<InstalledApplication> apps;
    for (auto it = pairs.begin(); it != pairs.end() && it + 1 != pairs.end(); it += 2) apps.push_back({*it, *(it + 1)});
    return apps;
}

// Application records: every installed application as a store ("User") record, plus the system's own.
std::vector<ApplicationRecord> recordsFor(const std::vector<InstalledApplication>& installed,
                                          const std::vector<std::string>& moved) {
    std::vector<ApplicationRecord> records;
    for (const auto& app : installed) records.push_back({app.bundleIdentifier, "User"});
    for (const auto& id : moved) records.push_back({id, "User"});
    for (const char* system : {"com.apple.Preferences", "com.apple.AppStore", "com.apple.mobilesafari",
                               "com.apple.mobilemail", "com.apple.MobileSMS", "com.apple.camera",
                               "com.apple.mobileslideshow", "com.apple.Music", "com.apple.news", "com.apple.iBooks",
                               "com.apple.podcasts", "com.apple.Maps", "com.apple.weather"})
        records.push_back({system, "System"});
    return records;
}

DeviceProfile make(std::string name, long style, bool developer, bool tv, bool picture,
                   std::vector<InstalledApplication> installed, std::vector<std::string> moved,
                   std::vector<NetworkInterface> interfaces, std::optional<std::string> carrier) {
    DeviceProfile p;
    p.name = name;
    p.screen = std::move(name);
    p.interfaceStyle = style;
    p.biometry = p.screen == "iphone-8" || p.screen == "iphone-8-plus" ? "touch-id" : "face-id";
    p.developerSettings = developer;
    p.tvProvider = tv;
    p.accountPicture = picture;
    p.applicationRecords = recordsFor(installed, moved);
    p.installedApplications = std::move(installed);
    p.movedAppleApplications = std::move(moved);
    p.networkInterfaces = std::move(interfaces);
    if (carrier) p.radioAccessTechnology = "CTRadioAccessTechnologyLTE";
    p.carrier = std::move(carrier);
    return p;
}

const NetworkInterface kLoopback{"lo0", "inet", "127.0.0.1"};

DeviceProfile onSystem(DeviceProfile p, std::string name, NSOperatingSystemVersion version) {
    p.name = std::move(name);
    p.systemVersion = version;
    return p;
}

}  // namespace

const std::vector<DeviceProfile>& deviceProfiles() {
    static const auto* profiles = new std::vector<DeviceProfile>{
        make("iphone-8", 1, false, false, true,
             storeApplications({"com.spotify.client", "Spotify", "net.whatsapp.WhatsApp", "WhatsApp"}), {},
             {kLoopback, {"en0", "inet", "192.168.1.23"}, {"en0", "inet6", "fe80::1c2b:3aff:fe4d:5e6f"}},
             std::nullopt),
        make("iphone-8-plus", 1, true, false, false,
             storeApplications({"com.google.Maps", "Google Maps", "com.netflix.Netflix", "Netflix",
                                "com.spotify.client", "Spotify"}),
             {"com.apple.Pages"},
             {kLoopback, {"en0", "inet", "192.168.0.17"}, {"pdp_ip0", "inet", "10.64.12.7"}}, "Telekom.de"),
        make("iphone-x", 1, false, true, true,
             storeApplications({"com.burbn.instagram", "Instagram", "com.spotify.client", "Spotify",
                                "net.whatsapp.WhatsApp", "WhatsApp", "com.toyopagroup.picaboo", "Snapchat"}),
             {"com.apple.Keynote", "com.apple.iMovie"},
             {kLoopback, {"en0", "inet", "192.168.178.42"}, {"pdp_ip0", "inet", "10.120.3.88"}}, "Vodafone"),
        make("iphone-xr", 1, true, true, true,
             storeApplications({"com.duolingo.DuolingoMobile", "Duolingo", "org.telegram.Telegram", "Telegram"}), {},
             {kLoopback, {"pdp_ip0", "inet", "10.33.201.9"}}, "O2"),
        make("iphone-12", 1, true, false, true,
             storeApplications({"com.atebits.Tweetie2", "Twitter", "com.google.ios.youtube", "YouTube",
                                "com.burbn.instagram", "Instagram", "com.spotify.client", "Spotify",
                                "com.netflix.Netflix", "Netflix"}),
             {"com.apple.Pages", "com.apple.Numbers"},
             {kLoopback, {"en0", "inet", "10.0.1.5"}, {"en0", "inet6", "fe80::8a3f:4eff:fe21:9b10"},
              {"pdp_ip0", "inet", "100.71.4.250"}},
             "AT&T"),
        // The same phone on an older system, for what the add-on does only from iOS 11 on (large titles).
        onSystem(make("iphone-8", 1, false, false, true,
                      storeApplications({"com.spotify.client", "Spotify", "net.whatsapp.WhatsApp", "WhatsApp"}), {},
                      {kLoopback, {"en0", "inet", "192.168.1.23"}}, std::nullopt),
                 "iphone-8-ios10", {10, 3, 3}),
    };
    return *profiles;
}

std::optional<DeviceProfile> deviceProfileNamed(std::string_view name) {
    for (const auto& p : deviceProfiles())
        if (p.name == name) return p;
    return std::nullopt;
}

const DeviceProfile& defaultDeviceProfile() { return deviceProfiles()[2]; }

std::string profileSummary(const DeviceProfile& p) {
    std::string out = p.biometry == "touch-id" ? "Touch ID" : "Face ID";
    out += p.interfaceStyle == 2 ? ", dark" : ", light";
    out += p.developerSettings ? ", Developer group" : ", no Developer group";
    out += p.tvProvider ? ", TV provider" : ", no TV provider";
    out += p.accountPicture ? ", account picture" : ", no account picture";
    for (const char* name : {"en0", "pdp_ip0"}) {
        std::string addresses;
        for (const auto& i : p.networkInterfaces)
            if (i.name == name && i.up) addresses += (addresses.empty() ? "" : " ") + i.address;
        out += ", " + std::string(name) + (addresses.empty() ? " none" : " " + addresses);
    }
    out += p.carrier ? ", carrier " + *p.carrier : ", no SIM";
    if (p.systemVersion != kCurrentSystemVersion)
        out += ", iOS " + std::to_string(p.systemVersion.majorVersion) + "." +
               std::to_string(p.systemVersion.minorVersion) + "." + std::to_string(p.systemVersion.patchVersion);
    std::string apps;
    for (const auto& a : p.installedApplications) apps += (apps.empty() ? "" : ", ") + a.name;
    out += "; apps: " + (apps.empty() ? std::string("none") : apps);
    return out;
}

}  // namespace sim
