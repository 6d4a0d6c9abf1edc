#include "sim/scenario/DevicePhone.h"

#include "sim/device/SimulatedDevice.h"
#include "sim/install/PackageInstaller.h"
#include "sim/scenario/ScenarioErrors.h"

#include "platform/core/DictionaryFile.h"
#include "platform/system/BSDNetwork.h"
#include "platform/system/DeviceTelephony.h"
#include "platform/ui/UIViewController.h"
#include "platform/ui/UIWindow.h"

#include <arpa/inet.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace sim::scenario {

namespace {

constexpr const char* kWifiInterface = "en0";
constexpr const char* kCellularInterface = "pdp_ip0";
// Addresses for an interface switched on when the profile has none for it.
constexpr const char* kWifiAddress = "192.168.1.23";
constexpr const char* kCellularAddress = "10.64.12.7";
constexpr const char* kPaneEntries = "/Library/PreferenceLoader/Preferences/";
// The add-on's own pane entry comes with the device's system image and its package, not with the scenario.
constexpr const char* kOwnPane = "VantilePrefs";

int familyOf(const std::string& address) {
    unsigned char buffer[16];
    if (inet_pton(AF_INET, address.c_str(), buffer) == 1) return platform::bsd::kAFInet;
    if (inet_pton(AF_INET6, address.c_str(), buffer) == 1) return platform::bsd::kAFInet6;
    return 0;
}

class DevicePhone : public Phone {
public:
    explicit DevicePhone(const std::filesystem::path& root) : m_root(root), m_device(root) {
        m_device.setRespringHandler([this] { m_needsFreshProcess = true; });
    }

    std::optional<std::string> setProfile(std::string_view name) override {
        if (!deviceProfileNamed(name)) {
            std::string known;
            for (const auto& p : deviceProfiles()) known += (known.empty() ? "" : ", ") + p.name;
            return "unknown device profile \"" + std::string(name) + "\" (" + known + ")";
        }
        if (m_device.isRunning())
            return "a process is already running; choose the device before the first launch";
        m_device.setProfile(name);
        return std::nullopt;
    }
    void setLanguage(const std::string& code) override { m_device.setLanguage(code); }
    bool setTimeZone(std::string_view name) override { return m_device.setTimeZone(name); }
    void setDate(double secondsSince1970) override { m_device.setDate(secondsSince1970); }
    void setAppearance(long style) override { m_device.setAppearance(style); }

    void setInterface(const std::string& name, const std::optional<std::vector<std::string>>& addresses) override {
        if (addresses)
            for (const auto& a : *addresses)
                if (!familyOf(a)) throw StepError("not an IPv4 or IPv6 address: \"" + a + "\"");
        auto it = std::find_if(m_interfaces.begin(), m_interfaces.end(), [&](const auto& i) { return i.first == name; });
        if (it == m_interfaces.end()) m_interfaces.emplace_back(name, addresses);
        else it->second = addresses;
        applyInterfaces();
    }
    void setCarrier(const std::optional<std::string>& name) override {
        m_carrier.emplace(name);
        platform::system::DeviceTelephony::setCarrierName(name);
    }

    void installApplication(const std::string& bundleIdentifier, const std::string& name) override {
        m_device.installApplication({bundleIdentifier, name});
    }
    bool removeApplication(const std::string& bundleIdentifier) override {
        return m_device.removeApplication(bundleIdentifier);
    }
    void installPreferenceBundle(const std::string& name, const std::string& label) override {
        if (name == kOwnPane) throw StepError("the add-on's own pane entry comes with its package");
        Value::Dictionary entry{{"bundle", name}, {"cell", "PSLinkCell"}, {"isController", true}, {"label", label}};
        if (!platform::writeDictionaryToFile(std::string(kPaneEntries) + name + ".plist",
                                             Value::Dictionary{{"entry", Value(std::move(entry))}}))
            throw StepError("cannot write the pane entry of " + name);
    }
    std::optional<std::string> removePreferenceBundle(const std::string& name) override {
        if (name == kOwnPane) return std::string("the add-on's own pane entry comes with its package");
        std::error_code ec;
        auto file = m_root / (std::string(kPaneEntries).substr(1) + name + ".plist");
        if (!std::filesystem::remove(file, ec)) return "no preference bundle \"" + name + "\" is installed";
        return std::nullopt;
    }

    std::optional<std::string> launch(const std::string& process) override {
        if (m_device.isRunning()) end();
        if (auto failure = installOnce()) return failure;
        LaunchOptions options;
        options.process = process;
        auto failure = m_device.launch(options);
        if (failure) return failure;
        applyRadios();
        return std::nullopt;
    }
    bool isRunning() const override { return m_device.isRunning(); }
    bool launchNeedsFreshProcess() const override { return m_device.isRunning() && m_device.isTweakLoaded(); }
    bool respring() override {
        m_needsFreshProcess = false;
        m_device.respring();
        if (m_needsFreshProcess) return true;
        applyRadios();
        return false;
    }

    void openURL(const std::string& url) override { m_device.openURL(url); }
    void setSpawnFailure(int error) override { m_device.setSpawnFailure(error); }
    bool isInSafeMode() const override { return m_device.isInSafeMode(); }
    Ref<UIWindow> window() const override { return m_device.window(); }
    Ref<UIViewController> visibleController() const override { return m_device.visibleController(); }
    void advance(double seconds) override { m_device.advance(seconds); }
    void settle() override { m_device.runUntilIdle(); }
    bool takeRequestedFreshProcess() override { return std::exchange(m_needsFreshProcess, false); }

private:
    // A launch replaces the running process. The device ends its interface when it is destroyed or resprung; a
    // respring without the add-on is the same as starting again, with the add-on it needs a fresh simulator
    // process, which a plain `launch` cannot give: say so rather than run two processes' code in one.
    void end() {
        m_needsFreshProcess = false;
        m_device.respring();
        if (m_needsFreshProcess)
            throw StepError("another process cannot start in this simulator process once the add-on is loaded; use respring");
    }

    // The profile's interfaces with those the scenario switched put in place of theirs: an interface keeps the
    // position of its first entry, so the order getifaddrs lists (which the network probe's "last entry wins"
    // reads) is the profile's until a scenario adds a new one at the end.
    void applyInterfaces() {
        using platform::bsd::SimulatedInterface;
        std::vector<SimulatedInterface> list;
        for (const auto& i : m_device.profile().networkInterfaces)
            if (i.up)
                list.push_back({i.name, i.family == "inet6" ? platform::bsd::kAFInet6 : platform::bsd::kAFInet, i.address});
        for (const auto& [name, addresses] : m_interfaces) {
            std::vector<SimulatedInterface> own;
            if (addresses && addresses->empty()) {
                for (const auto& i : list)
                    if (i.name == name) own.push_back(i);
                if (own.empty())
                    own.push_back({name, platform::bsd::kAFInet, name == kWifiInterface ? kWifiAddress : kCellularAddress});
            } else if (addresses) {
                for (const auto& a : *addresses) own.push_back({name, familyOf(a), a});
            }
            // A named copy: clang before 16 cannot capture a structured binding in a lambda.
            const std::string& interfaceName = name;
            auto first = std::find_if(list.begin(), list.end(), [&](const auto& i) { return i.name == interfaceName; });
            auto at = first - list.begin();
            std::erase_if(list, [&](const auto& i) { return i.name == interfaceName; });
            list.insert(list.begin() + std::min<std::ptrdiff_t>(at, static_cast<std::ptrdiff_t>(list.size())),
                        own.begin(), own.end());
        }
        platform::bsd::setSimulatedInterfaces(list);
    }

    // The add-on arrives on the device as on a phone: its package is installed into the root before the first
    // process starts, and the loader picks the libraries by their filter plists from there.
    std::optional<std::string> installOnce() {
        if (install::installedVersion(m_root, install::kPackageName)) return std::nullopt;
        auto package = install::defaultPackage();
        if (!package) return std::string("the add-on's package was not built (Vantile.deb)");
        auto result = install::installPackage(*package, m_root);
        if (result.error) return "installing " + package->string() + " failed: " + *result.error;
        return std::nullopt;
    }

    // The device applies its profile at every start; what the scenario switched goes on top.
    void applyRadios() {
        if (!m_interfaces.empty()) applyInterfaces();
        if (m_carrier) platform::system::DeviceTelephony::setCarrierName(*m_carrier);
    }

    std::filesystem::path m_root;
    SimulatedDevice m_device;
    bool m_needsFreshProcess = false;
    // The interfaces the scenario switched, in the order it first named them.
    std::vector<std::pair<std::string, std::optional<std::vector<std::string>>>> m_interfaces;
    std::optional<std::optional<std::string>> m_carrier;
};

}  // namespace

std::unique_ptr<Phone> makeDevicePhone(const std::filesystem::path& root) { return std::make_unique<DevicePhone>(root); }

}  // namespace sim::scenario
