#include "sim/scenario/DevicePhone.h"

#include "sim/device/SimulatedDevice.h"
#include "sim/install/PackageInstaller.h"
#include "sim/scenario/ScenarioErrors.h"

#include "platform/system/BSDNetwork.h"
#include "platform/system/DeviceTelephony.h"
#include "platform/ui/UIViewController.h"
#include "platform/ui/UIWindow.h"

#include <map>

namespace sim::scenario {

namespace {

constexpr const char* kWifiInterface = "en0";
constexpr const char* kCellularInterface = "pdp_ip0";
// Addresses for an interface switched on when the profile has none for it.
constexpr const char* kWifiAddress = "192.168.1.23";
constexpr const char* kCellularAddress = "10.64.12.7";

class DevicePhone : public Phone {
public:
    explicit DevicePhone(const std::filesystem::path& root) : m_root(root), m_device(root) {
        m_device.setRespringHandler([this] { m_needsFreshProcess = true; });
    }

    bool setProfile(std::string_view name) override { return m_device.setProfile(name); }
    void setLanguage(const std::string& code) override { m_device.setLanguage(code); }
    bool setTimeZone(std::string_view name) override { return m_device.setTimeZone(name); }
    void setDate(double secondsSince1970) override { m_device.setDate(secondsSince1970); }
    void setAppearance(long style) override { m_device.setAppearance(style); }

    void setWifi(bool on, const std::optional<std::string>& address) override {
        setInterface(kWifiInterface, on, address, kWifiAddress);
    }
    void setCellular(bool on, const std::optional<std::string>& address) override {
        setInterface(kCellularInterface, on, address, kCellularAddress);
    }
    void setCarrier(const std::optional<std::string>& name) override {
        m_carrier.emplace(name);
        platform::system::DeviceTelephony::setCarrierName(name);
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
    Ref<UIWindow> window() const override { return m_device.window(); }
    Ref<UIViewController> visibleController() const override { return m_device.visibleController(); }
    void advance(double seconds) override { m_device.advance(seconds); }
    void settle() override { m_device.runUntilIdle(); }

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

    void setInterface(const std::string& name, bool on, const std::optional<std::string>& address,
                      const char* fallback) {
        std::optional<std::string> chosen;
        if (on) {
            chosen = address;
            if (!chosen)
                for (const auto& i : m_device.profile().networkInterfaces)
                    if (i.name == name && i.family == "inet") chosen = i.address;
            if (!chosen) chosen = fallback;
        }
        try {
            platform::bsd::setSimulatedIPv4Address(name, chosen);
        } catch (const std::invalid_argument&) {
            throw StepError("not an IPv4 address: \"" + chosen.value_or("") + "\"");
        }
        m_interfaces[name] = chosen;
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
        for (const auto& [name, address] : m_interfaces) platform::bsd::setSimulatedIPv4Address(name, address);
        if (m_carrier) platform::system::DeviceTelephony::setCarrierName(*m_carrier);
    }

    std::filesystem::path m_root;
    SimulatedDevice m_device;
    bool m_needsFreshProcess = false;
    std::map<std::string, std::optional<std::string>> m_interfaces;
    std::optional<std::optional<std::string>> m_carrier;
};

}  // namespace

std::unique_ptr<Phone> makeDevicePhone(const std::filesystem::path& root) { return std::make_unique<DevicePhone>(root); }

}  // namespace sim::scenario
