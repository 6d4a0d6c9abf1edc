#include "sim/device/SimulatedDevice.h"

#include "platform/core/Clock.h"
#include "platform/core/DeviceRoot.h"
#include "platform/core/DictionaryFile.h"
#include "platform/core/NSBundle.h"
#include "platform/core/NSLocale.h"
#include "platform/core/NSNotificationCenter.h"
#include "platform/core/NSTimeZone.h"
#include "platform/core/NSURL.h"
#include "platform/core/RunLoop.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/UIImage.h"
#include "platform/host/AppleAccount.h"
#include "platform/host/DeviceCapabilities.h"
#include "platform/host/HBRespringController.h"
#include "platform/host/InstalledApplications.h"
#include "platform/host/PSListController.h"
#include "platform/host/PSUIPrefsListController.h"
#include "platform/host/PSURLManager.h"
#include "platform/harness/Renderer.h"
#include "platform/system/BSDNetwork.h"
#include "platform/system/DeviceTelephony.h"
#include "platform/system/LSApplicationWorkspace.h"
#include "platform/ui/AnimationCenter.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UIView.h"
#include "platform/ui/UIWindow.h"
#include "sim/Loader.h"
#include "sim/ProcessProfile.h"
#include "sim/install/LibraryLoader.h"
#include "sim/install/PackageInstaller.h"

#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace sim {
namespace {

constexpr const char* kSettingsBundle = "/Applications/Preferences.app";

bool g_deviceExists = false;
bool g_tweakLoaded = false;

// The names Settings shows for Apple's store applications.
std::string appleApplicationName(const std::string& bundleIdentifier) {
    static const std::pair<const char*, const char*> kNames[] = {
        {"com.apple.Pages", "Pages"},     {"com.apple.Numbers", "Numbers"}, {"com.apple.Keynote", "Keynote"},
        {"com.apple.iMovie", "iMovie"},   {"com.apple.garageband10", "GarageBand"},
    };
    for (const auto& [id, name] : kNames)
        if (bundleIdentifier == id) return name;
    const auto dot = bundleIdentifier.rfind('.');
    return dot == std::string::npos ? bundleIdentifier : bundleIdentifier.substr(dot + 1);
}

// The account picture: a round portrait placeholder, as the phone draws one from a photo.
Ref<UIImage> accountPicture() {
    constexpr int kSize = 120;
    Bitmap bitmap(kSize, kSize);
    const double r = kSize / 2.0;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const double dx = x + 0.5 - r;
            const double dy = y + 0.5 - r;
            if (dx * dx + dy * dy > r * r) continue;
            // A head and shoulders in white on a blue ground.
            const bool head = dx * dx + (dy + 14) * (dy + 14) < 22 * 22;
            const bool body = dy > 18 && dx * dx + (dy - 52) * (dy - 52) < 40 * 40;
            const std::uint32_t colour = head || body ? 0xFFF2F2F7u : 0xFF3A7BD5u;
            bitmap.pixels[static_cast<std::size_t>(y) * kSize + x] = colour;
        }
    return UIImage::imageWithBitmap(std::move(bitmap), 3.0, "account-picture");
}

// A file of the repository's Settings application copied into the device root, replacing an older copy: the
// Settings application belongs to the system image, which the user does not change.
void copySystemFile(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    if (!fs::is_regular_file(from, ec)) return;
    fs::create_directories(to.parent_path(), ec);
    fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
}

// Where the address a respring returns to waits for the next Settings process: in the device, since that process
// may be a fresh simulator program.
constexpr const char* kReturnAddressFile = "/var/tmp/respring-return-url";

void writeReturnAddress(const std::string& url) {
    auto file = platform::devicePath(kReturnAddressFile);
    if (!file) return;
    std::error_code ec;
    fs::create_directories(file->parent_path(), ec);
    std::ofstream(*file, std::ios::trunc) << url;
}

// The waiting address, taken away so that it opens once; nothing when none waits.
std::optional<std::string> takeReturnAddress() {
    auto file = platform::devicePath(kReturnAddressFile);
    std::error_code ec;
    if (!file || !fs::is_regular_file(*file, ec)) return std::nullopt;
    std::string url;
    std::getline(std::ifstream(*file), url);
    fs::remove(*file, ec);
    if (url.empty()) return std::nullopt;
    return url;
}

// Present while the home screen is in the loader's safe mode.
constexpr const char* kSafeModeFile = "/var/tmp/safe-mode";
// The starts the device was asked for, oldest first.
constexpr const char* kSpawnHistoryFile = "/var/tmp/spawn-history.plist";
constexpr const char* kKillall = "/usr/bin/killall";
// What the status bar shows in place of the time in safe mode.
constexpr const char* kSafeModeNotice = "Safe Mode";

void setSafeMode(bool on) {
    auto file = platform::devicePath(kSafeModeFile);
    if (!file) return;
    std::error_code ec;
    if (on) {
        fs::create_directories(file->parent_path(), ec);
        std::ofstream(*file, std::ios::trunc) << "SpringBoard\n";
    } else {
        fs::remove(*file, ec);
    }
}

Value spawnValue(const platform::posix::SpawnRecord& r) {
    Value::Array arguments;
    for (const auto& a : r.arguments) arguments.push_back(a);
    // Key by key: GCC's flow analysis misreads long initializer lists of values as uninitialised.
    Value::Dictionary d;
    d["path"] = r.path;
    d["arguments"] = std::move(arguments);
    d["fileActions"] = r.fileActions;
    d["attributes"] = r.attributes;
    d["environment"] = r.environment;
    d["error"] = static_cast<long long>(r.error);
    return d;
}

void appendSpawnHistory(const platform::posix::SpawnRecord& record) {
    // The folder is made on first use: a fresh device has no /var/tmp.
    if (auto file = platform::devicePath(kSpawnHistoryFile)) {
        std::error_code ec;
        fs::create_directories(file->parent_path(), ec);
    }
    auto stored = platform::dictionaryWithContentsOfFile(kSpawnHistoryFile).value_or(Value::Dictionary{});
    Value::Array list;
    if (auto it = stored.find("spawns"); it != stored.end() && it->second.asArray()) list = *it->second.asArray();
    list.push_back(spawnValue(record));
    platform::writeDictionaryToFile(kSpawnHistoryFile, Value::Dictionary{{"spawns", std::move(list)}});
}

// Signals as killall names them, by name or by number.
bool isSegmentationFault(std::string_view signal) { return signal == "-SEGV" || signal == "-11"; }

}  // namespace

SimulatedDevice::SimulatedDevice(fs::path root) : m_root(std::move(root)), m_profile(defaultDeviceProfile()) {
    if (g_deviceExists) throw platform::RuntimeError("one simulated device per process");
    g_deviceExists = true;
}

SimulatedDevice::~SimulatedDevice() {
    tearDown();
    g_deviceExists = false;
}

bool SimulatedDevice::setProfile(std::string_view name) {
    if (m_running) return false;
    auto profile = deviceProfileNamed(name);
    if (!profile) return false;
    m_profile = std::move(*profile);
    return true;
}

void SimulatedDevice::setLanguage(std::string code) {
    m_language = std::move(code);
    // A person changing the language in Settings: the running process sees the new locale at once and hears of it.
    if (!m_running) return;
    platform::setPreferredLanguages({m_language});
    platform::currentLocaleDidChange();
}

bool SimulatedDevice::setSystemVersion(NSOperatingSystemVersion version) {
    if (m_running) return false;
    m_systemVersion = version;
    return true;
}

bool SimulatedDevice::setTimeZone(std::string_view name) {
    if (!NSTimeZone::setLocalTimeZoneName(name)) return false;
    if (m_running)
        NSNotificationCenter::defaultCenter()->postNotificationNameObject("NSSystemTimeZoneDidChangeNotification", nullptr);
    return true;
}

void SimulatedDevice::setDate(double secondsSince1970) { platform::Clock::setNow(secondsSince1970); }

void SimulatedDevice::setAppearance(long style) {
    m_appearance = style;
    if (m_running) UIView::setSystemUserInterfaceStyle(style);
}

bool SimulatedDevice::isTweakLoaded() const { return g_tweakLoaded; }

std::optional<std::string> SimulatedDevice::launch(const LaunchOptions& options) {
    if (m_running) return std::string("the device is already running a process");
    m_options = options;
    return startProcess();
}

void SimulatedDevice::applyProfile() {
    using namespace platform::host;
    UIScreen::setDeviceProfile(m_profile.screen);
    UIView::setSystemUserInterfaceStyle(m_appearance ? m_appearance : m_profile.interfaceStyle);
    platform::setPreferredLanguages({m_language});
    platform::setOperatingSystemVersion(m_systemVersion.value_or(m_profile.systemVersion));

    std::set<std::string, std::less<>> capabilities{"wifi"};
    capabilities.insert(m_profile.biometry);
    if (m_profile.developerSettings) capabilities.insert("developer-settings");
    if (m_profile.tvProvider) capabilities.insert("tv-provider");
    if (m_profile.carrier) capabilities.insert({"cellular", "telephony"});
    DeviceCapabilities::set(std::move(capabilities));

    std::vector<ApplicationEntry> installed;
    for (const auto& app : m_profile.installedApplications) installed.push_back({app.bundleIdentifier, app.name, {}});
    InstalledApplications::setInstalled(std::move(installed));
    std::vector<ApplicationEntry> moved;
    for (const auto& id : m_profile.movedAppleApplications) moved.push_back({id, appleApplicationName(id), {}});
    InstalledApplications::setMovedApple(std::move(moved));
    AppleAccount::setPicture(m_profile.accountPicture ? accountPicture() : nullptr);

    std::vector<platform::bsd::SimulatedInterface> interfaces;
    for (const auto& i : m_profile.networkInterfaces)
        if (i.up)
            interfaces.push_back({i.name, i.family == "inet6" ? platform::bsd::kAFInet6 : platform::bsd::kAFInet,
                                  i.address});
    platform::bsd::setSimulatedInterfaces(interfaces);
    platform::system::DeviceTelephony::setCarrierName(m_profile.carrier);
    std::vector<platform::system::ApplicationRecord> records;
    for (const auto& record : m_profile.applicationRecords) {
        std::optional<std::string> storeName;
        if (record.type == "User") {
            storeName = appleApplicationName(record.bundleIdentifier);
            for (const auto& app : m_profile.installedApplications)
                if (app.bundleIdentifier == record.bundleIdentifier) storeName = app.name;
        }
        records.push_back({record.bundleIdentifier, storeName});
    }
    platform::system::setApplicationRecords(std::move(records));
}

void SimulatedDevice::installSystemImage() {
    const fs::path settings = m_root / "Applications/Preferences.app";
    copySystemFile(fs::path(VANTILE_SOURCE_DIR) / "sim/settings/Settings.plist", settings / "Settings.plist");
    // Icons made by the build for the Settings application and the App Store.
    std::error_code ec;
    const fs::path built = defaultDeviceRoot() / "Applications";
    if (!fs::equivalent(defaultDeviceRoot(), m_root, ec) && fs::is_directory(built, ec))
        for (const auto& entry : fs::recursive_directory_iterator(built, ec))
            if (entry.is_regular_file(ec) && !fs::exists(m_root / "Applications" / fs::relative(entry.path(), built, ec)))
                copySystemFile(entry.path(), m_root / "Applications" / fs::relative(entry.path(), built, ec));
    // The add-on's pane entry, as its package lists it for PreferenceLoader.
    const fs::path loader = m_root / "Library/PreferenceLoader/Preferences";
    fs::create_directories(loader, ec);
    if (!fs::exists(loader / "VantilePrefs.plist")) {
        Value::Dictionary entry{{"bundle", "VantilePrefs"}, {"cell", "PSLinkCell"},
                                {"detail", "VNTPrimraryController"}, {"icon", "icon.png"},
                                {"isController", true}, {"label", "Vantile"}};
        platform::writeDictionaryToFile("/Library/PreferenceLoader/Preferences/VantilePrefs.plist",
                                        Value::Dictionary{{"entry", Value(std::move(entry))}});
    }
}

std::optional<std::string> SimulatedDevice::startProcess() {
    const ProcessProfile process = profileForProcess(m_options.process);
    if (auto error = prepareProcess(m_root, m_options.process, process.classGroups)) return error;
    installBundles(m_root);
    installPhotoLibrary(m_root);
    installSystemImage();
    applyProfile();
    m_loaded.clear();
    platform::posix::setSpawnHandler([this](const platform::posix::SpawnRecord& r) { return answerSpawn(r); });
    const bool safeMode = isInSafeMode();
    platform::harness::setStatusBarNotice(safeMode ? std::optional<std::string>(kSafeModeNotice) : std::nullopt);
    // The loader's safe mode injects nothing into any process.
    if (m_options.loadTweak && !g_tweakLoaded && !safeMode) {
        if (auto error = loadAddOn()) return error;
        g_tweakLoaded = true;
    }
    m_running = true;
    if (process.kind == ProcessKind::Settings) startSettings();
    platform::RunLoop::main().drain();
    return std::nullopt;
}

std::optional<std::string> SimulatedDevice::loadAddOn() {
    // As on the phone: the package installed into the root, then the code-injection loader admitting its library
    // by its filter. A build without package, or an explicit library, loads the library directly.
    if (!m_options.library)
        if (auto package = install::defaultPackage()) {
            if (!install::installedVersion(m_root, install::kPackageName)) {
                auto installed = install::installPackage(*package, m_root);
                if (installed.error) return "cannot install " + package->string() + ": " + *installed.error;
            }
            const install::LoadReport report = install::injectLibraries(m_root, m_options.process);
            if (!report.failures.empty()) return "the loader could not load " + report.failures.front();
            if (!report.loaded.empty()) {
                m_loaded = report.loaded;
                return std::nullopt;
            }
        }
    const auto library = m_options.library ? m_options.library : defaultTweakLibrary();
    if (!library) return std::string("libVantile.so not found beside the executable or in the build folder");
    if (auto error = loadTweakLibrary(*library)) return "cannot load " + library->string() + ": " + *error;
    m_loaded = {library->string()};
    return std::nullopt;
}

void SimulatedDevice::startSettings() {
    platform::setMainBundlePath(kSettingsBundle);
    // Preference panes are loaded from their bundle when their row is first opened (PSBundleErrorController.h).
    // A restart asked for by the interface waits until the device has control again: it takes down the page whose
    // code asked for it.
    HBRespringController::setHandler([this](Ref<NSURL> returnURL) {
        m_pendingRespring = true;
        m_returnAddress = returnURL ? returnURL->absoluteString() : std::string();
    });
    m_window = alloc<UIWindow>();
    m_window->initWithFrame(UIScreen::mainScreen()->bounds());
    m_rootController = cast<PSUIPrefsListController>(
        platform::runtime::createInstance(objc_getClass("PSUIPrefsListController")));
    if (!m_rootController) throw platform::RuntimeError("the Settings process has no PSUIPrefsListController");
    m_rootController->init();
    m_navigation = alloc<UINavigationController>();
    m_navigation->initWithRootViewController(m_rootController);
    m_window->setRootViewController(m_navigation);
    m_window->makeKeyAndVisible();
    m_window->layoutIfNeeded();
    // Settings started by a respring that asked to return somewhere opens that address.
    if (auto address = takeReturnAddress()) openURL(*address);
}

void SimulatedDevice::tearDown() {
    if (!m_running) return;
    m_running = false;
    if (m_window) m_window->setRootViewController(nullptr);
    m_window = nullptr;
    m_navigation = nullptr;
    m_rootController = nullptr;
    HBRespringController::setHandler({});
    platform::posix::setSpawnHandler({});
    m_pendingRespring = false;
    m_pendingSafeMode = false;
    UIApplication::sharedApplication()->reset();
    platform::AnimationCenter::shared().reset();
    // The run loop's reset sets the clock back to its start, but the device's clock goes on across a respring
    // (the status bar shows it): only the scheduled work of the ended process is dropped.
    const double now = platform::Clock::now();
    platform::resetRunLoop();
    platform::Clock::setNow(now);
}

void SimulatedDevice::respring() { restartInterface(false); }

void SimulatedDevice::restartInterface(bool safeMode) {
    if (!m_running) return;
    setSafeMode(safeMode);
    ++m_resprings;
    tearDown();
    if (g_tweakLoaded) {
        if (!m_respringHandler)
            throw platform::RuntimeError("a respring with the add-on loaded needs a new process; set a respring handler");
        m_respringHandler();
        return;
    }
    if (auto error = startProcess()) throw platform::RuntimeError("respring failed: " + *error);
}

void SimulatedDevice::installApplication(InstalledApplication application) {
    m_profile.installedApplications.push_back(application);
    m_profile.applicationRecords.push_back({application.bundleIdentifier, "User"});
    if (!m_running) return;
    auto installed = platform::host::InstalledApplications::installed();
    installed.push_back({application.bundleIdentifier, application.name, {}});
    platform::host::InstalledApplications::setInstalled(std::move(installed));
    if (m_rootController) m_rootController->loadInstalledApplications();
}

bool SimulatedDevice::removeApplication(std::string_view bundleIdentifier) {
    auto same = [&](const auto& id) { return id == bundleIdentifier; };
    std::size_t removed = std::erase_if(m_profile.installedApplications,
                                        [&](const InstalledApplication& a) { return same(a.bundleIdentifier); }) +
                          std::erase_if(m_profile.movedAppleApplications, same);
    if (removed == 0) return false;
    std::erase_if(m_profile.applicationRecords, [&](const ApplicationRecord& r) { return same(r.bundleIdentifier); });
    if (!m_running) return true;
    auto installed = platform::host::InstalledApplications::installed();
    std::erase_if(installed, [&](const platform::host::ApplicationEntry& e) { return same(e.bundleIdentifier); });
    platform::host::InstalledApplications::setInstalled(std::move(installed));
    auto moved = platform::host::InstalledApplications::movedApple();
    std::erase_if(moved, [&](const platform::host::ApplicationEntry& e) { return same(e.bundleIdentifier); });
    platform::host::InstalledApplications::setMovedApple(std::move(moved));
    auto records = platform::system::applicationRecords();
    std::erase_if(records, [&](const platform::system::ApplicationRecord& r) { return same(r.identifier); });
    platform::system::setApplicationRecords(std::move(records));
    if (m_rootController) m_rootController->loadInstalledApplications();
    return true;
}

Ref<UIWindow> SimulatedDevice::window() const { return m_window; }
Ref<UINavigationController> SimulatedDevice::navigationController() const { return m_navigation; }
Ref<PSUIPrefsListController> SimulatedDevice::rootController() const { return m_rootController; }

Ref<UIViewController> SimulatedDevice::visibleController() const {
    return m_navigation ? m_navigation->visibleViewController() : nullptr;
}

void SimulatedDevice::layout() {
    if (m_window) m_window->layoutIfNeeded();
}

void SimulatedDevice::openURL(std::string_view url) {
    // By name, as the cards reach the manager, so that replacements of the opener see the request.
    auto manager = PSURLManager::sharedManager();
    platform::msgSend<void>(manager, sel("processURL:animated:fromSearch:withCompletion:"), NSURL::URLWithString(url),
                            true, false, std::function<void()>());
}

void SimulatedDevice::popToRoot() {
    if (m_navigation) m_navigation->popToRootViewControllerAnimated(false);
}

void SimulatedDevice::advance(double seconds) {
    platform::RunLoop::main().advance(seconds);
    performRequestedRespring();
}

void SimulatedDevice::runUntilIdle() {
    platform::RunLoop::main().drain();
    performRequestedRespring();
}

void SimulatedDevice::performRequestedRespring() {
    if (!m_pendingRespring || !m_running) return;
    const std::string address = std::move(m_returnAddress);
    const bool safeMode = m_pendingSafeMode;
    m_pendingRespring = false;
    m_pendingSafeMode = false;
    m_returnAddress.clear();
    if (!address.empty()) writeReturnAddress(address);
    restartInterface(safeMode);
}

bool SimulatedDevice::isInSafeMode() const {
    auto file = platform::devicePath(kSafeModeFile);
    std::error_code ec;
    return file && fs::is_regular_file(*file, ec);
}

platform::posix::SpawnAnswer SimulatedDevice::answerSpawn(const platform::posix::SpawnRecord& record) {
    const platform::posix::SpawnAnswer answer = actOnSpawn(record);
    platform::posix::SpawnRecord kept = record;
    kept.error = answer.error;
    appendSpawnHistory(kept);
    return answer;
}

platform::posix::SpawnAnswer SimulatedDevice::actOnSpawn(const platform::posix::SpawnRecord& record) {
    if (m_spawnFailure) return {m_spawnFailure, 0};
    if (record.path != kKillall) return {platform::posix::kENOENT, 0};
    std::string signal = "-TERM";
    bool matched = false;
    for (std::size_t i = 1; i < record.arguments.size(); ++i) {
        const std::string& word = record.arguments[i];
        if (word.starts_with("-")) {
            signal = word;
            continue;
        }
        // Ending either daemon takes the interface, Settings included, down; the restart waits for the device to
        // have control again, as the page whose code asked is still running.
        if (word == "backboardd" || word == "SpringBoard") {
            matched = true;
            m_pendingRespring = true;
            // A crash of the home screen brings it back in safe mode; a plain end of either, asked for later in
            // the same turn, is a normal restart again.
            m_pendingSafeMode = word == "SpringBoard" && isSegmentationFault(signal);
        }
    }
    return {0, matched ? 0 : 1};
}

std::vector<platform::posix::SpawnRecord> SimulatedDevice::spawnHistory() {
    std::vector<platform::posix::SpawnRecord> out;
    const auto stored = platform::dictionaryWithContentsOfFile(kSpawnHistoryFile);
    if (!stored) return out;
    auto it = stored->find("spawns");
    if (it == stored->end() || !it->second.asArray()) return out;
    for (const auto& entry : *it->second.asArray()) {
        platform::posix::SpawnRecord r;
        auto text = [&](const char* key) {
            const Value* v = entry.find(key);
            return v && v->asString() ? *v->asString() : std::string();
        };
        auto flag = [&](const char* key) {
            const Value* v = entry.find(key);
            return v && v->asBoolean() && *v->asBoolean();
        };
        r.path = text("path");
        if (const Value* args = entry.find("arguments"); args && args->asArray())
            for (const auto& a : *args->asArray())
                if (a.asString()) r.arguments.push_back(*a.asString());
        r.fileActions = flag("fileActions");
        r.attributes = flag("attributes");
        r.environment = flag("environment");
        if (const Value* e = entry.find("error"); e && e->numberValue()) r.error = static_cast<int>(*e->numberValue());
        out.push_back(std::move(r));
    }
    return out;
}

void SimulatedDevice::clearSpawnHistory() {
    auto file = platform::devicePath(kSpawnHistoryFile);
    std::error_code ec;
    if (file) fs::remove(*file, ec);
}

}  // namespace sim
