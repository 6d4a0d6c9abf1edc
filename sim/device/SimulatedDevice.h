#pragma once

// The simulated phone as a scenario or a test drives it: choose a profile, set appearance, language, time zone and
// date, launch a process (Settings by default) with the add-on injected by the code-injection loader, then look at
// the window and run the virtual clock.
//
// One device per process: the platform's state (classes, run loop, screen, preferences) is process-wide, so a
// second device object while one is running is misuse (RuntimeError).
//
// Launching Settings does what the phone's Settings application does at start, all on the virtual clock:
//   - the window with a navigation controller whose root is PSUIPrefsListController, shown at once;
//   - the root list from the device's Settings data file, with the tweak pane entries of
//     "/Library/PreferenceLoader/Preferences/*.plist" (sorted by name);
//   - 0.2 s after the page loaded: the installed applications arrive through
//     "_reallyLoadThirdPartySpecifiersForApps:withCompletion:", whose completion runs on a later turn;
//   - 0.5 s after the page loaded: the account picture arrives (profiles with a picture) and the account row is
//     reloaded with "reloadSpecifierAtIndex:animated:".
// The device's system services report the profile: network interfaces (platform/system/BSDNetwork.h), carrier
// (DeviceTelephony.h), application records (LSApplicationWorkspace.h), and the Settings rows its capabilities
// ask for (Touch ID or Face ID, Developer, TV provider).
// So `advance(1)` after `launch()` shows the page as the user sees it once it settled.
//
// Nothing here reads the machine's clock; everything writes only inside the device root.

#include "sim/device/DeviceProfile.h"

#include "platform/core/Object.h"
#include "platform/system/ProcessSpawn.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class UIWindow;
class UINavigationController;
class UIViewController;
class PSUIPrefsListController;

namespace sim {

struct LaunchOptions {
    // The process's first argument, as the launcher gives it (ProcessProfile.h). Default: the Settings application.
    std::string process = "/Applications/Preferences.app/Preferences";
    // Whether the code-injection loader loads the add-on (libVantile.so) into the process.
    bool loadTweak = true;
    // The tweak library loaded directly. Default: none, which installs the build's package into the root (when it
    // is not installed yet) and lets the code-injection loader admit its library by its filter, as on the phone;
    // a build without package loads its libVantile.so (Loader.h).
    std::optional<std::filesystem::path> library;
};

class SimulatedDevice {
public:
    // A device whose file system is `root` (created when missing) with the default profile. Nothing runs yet.
    explicit SimulatedDevice(std::filesystem::path root);
    // Takes the interface down (windows, controllers, scheduled work); the process's loaded code stays.
    ~SimulatedDevice();
    SimulatedDevice(const SimulatedDevice&) = delete;
    SimulatedDevice& operator=(const SimulatedDevice&) = delete;

    const std::filesystem::path& root() const { return m_root; }

    // ----- set-up, before launch -----
    // Chooses a profile by name (DeviceProfile.h); answers false and changes nothing for an unknown name or once
    // launched (a phone does not change model while running).
    bool setProfile(std::string_view name);
    const DeviceProfile& profile() const { return m_profile; }
    // The device language ("en", "de", ...), as the user's first preferred language. Before launch.
    void setLanguage(std::string code);
    // The system version the processes see (NSProcessInfo), in place of the profile's. Before launch: answers false
    // and changes nothing once launched. A respring keeps it.
    bool setSystemVersion(NSOperatingSystemVersion version);
    // A named zone ("UTC", "Europe/Berlin", ...; platform/core/NSTimeZone.h) or nothing changes: answers false for
    // an unknown name. Any time.
    bool setTimeZone(std::string_view name);
    // The virtual clock's "now", seconds since 1970. Any time; scheduled work keeps its absolute times.
    void setDate(double secondsSince1970);

    // ----- while running, or before -----
    // 1 light, 2 dark. While running the change reaches every window and controller as a trait change, as the
    // user's switch in Control Centre does.
    void setAppearance(long style);
    long appearance() const { return m_appearance; }

    // Starts the process: device root, arguments, the process's classes, the add-on (when asked), then the host's
    // own start-up (for Settings: window, root page, the loads above). Nothing on success, else why it failed
    // (already running, unusable root, library missing or refused by the loader).
    std::optional<std::string> launch(const LaunchOptions& options = {});
    bool isRunning() const { return m_running; }
    // Whether the add-on is loaded into this process (it stays loaded until the process ends).
    bool isTweakLoaded() const;
    // What the last launch loaded: device paths of the libraries the loader injected, or the host path of a
    // library loaded directly. Empty when it loaded nothing.
    const std::vector<std::string>& loadedLibraries() const { return m_loaded; }

    // Ends the Settings interface and starts it again, as a respring does. The add-on's start-up runs once per
    // process and loaded code cannot be taken out again, so once the add-on is loaded a true respring needs a new
    // process: the device then calls the respring handler (a scenario runner restarts itself there and resumes).
    // Without a handler, respringing a process the add-on is loaded into is a RuntimeError; before the add-on was
    // loaded the device relaunches in place with the same options. Not running: nothing happens.
    void respring();
    using RespringHandler = std::function<void()>;
    void setRespringHandler(RespringHandler handler) { m_respringHandler = std::move(handler); }
    // Respring requests seen, including those handed to the handler.
    std::size_t respringCount() const { return m_resprings; }
    // The interface asks for a respring through Cephei (HBRespringController.h); the device performs it when it
    // has control again, at the end of `advance` or `runUntilIdle`, as above. When the request names an address,
    // the Settings process the respring starts opens it once it shows its root page ("prefs:root=Vantile" pushes
    // the pane), whether it runs in this program or in a fresh one on the same device root.
    bool isRespringRequested() const { return m_pendingRespring; }

    // ----- the device's own processes -----
    // The device answers posix_spawn (platform/system/ProcessSpawn.h) while a process runs, as the phone's system
    // would: only "/usr/bin/killall" exists; "killall -9 backboardd" ends the interface, "killall -SEGV SpringBoard"
    // crashes the home screen, which comes back in the code-injection loader's safe mode; either restart happens
    // when the device has control again, as a requested respring does. Any other name matches no process (exit
    // status 1). The children end at once, so a wait for them returns at once. Nothing runs on the machine.
    // With a failure set, every start fails with that error number (0: starts succeed again).
    void setSpawnFailure(int error) { m_spawnFailure = error; }
    // In safe mode the loader injects no add-on into any process, and the home screen says so in the status bar,
    // until the next restart that is not a crash of the home screen. Kept in the device root, so a Settings process
    // in a fresh simulator program sees it.
    bool isInSafeMode() const;
    // Every start asked of the device since its root was made (or the history was cleared), across restarts:
    // kept in the device root, as the restart a start causes may continue in a fresh simulator program.
    static std::vector<platform::posix::SpawnRecord> spawnHistory();
    static void clearSpawnHistory();

    // ----- what is on screen -----
    // Null before launch and for processes without an interface (only Settings has one).
    Ref<UIWindow> window() const;
    Ref<UINavigationController> navigationController() const;
    Ref<PSUIPrefsListController> rootController() const;
    // The controller the user sees: the top of the navigation stack, or what it presents. Null when not running.
    Ref<UIViewController> visibleController() const;
    // Lays out the window (as a screen refresh would), so frames and the search field's corner are current.
    void layout();

    // Installs an application from the store: it joins the profile's installed applications and, while Settings
    // runs, the root page loads its installed applications again (a second completion).
    void installApplication(InstalledApplication application);
    // Removes an installed application (a store one or a moved Apple one) the same way; false when none has that
    // identifier.
    bool removeApplication(std::string_view bundleIdentifier);

    // Opens a Settings address ("prefs:root=WIFI") through the Settings URL manager, as a card tap does.
    void openURL(std::string_view url);
    // Back to the root page without animation.
    void popToRoot();

    // ----- the virtual clock -----
    // Runs the main run loop for `seconds` of virtual time (timers, delayed loads, animations).
    void advance(double seconds);
    // Runs everything due now and then, without moving the clock further than needed for work already queued.
    void runUntilIdle();

private:
    std::optional<std::string> startProcess();
    std::optional<std::string> loadAddOn();
    void applyProfile();
    void installSystemImage();
    void startSettings();
    void tearDown();
    void performRequestedRespring();
    // The respring's work; `safeMode` says whether the home screen comes back in safe mode (else it leaves it).
    void restartInterface(bool safeMode);
    // Answers a start and keeps it, with that answer, in the device's history.
    platform::posix::SpawnAnswer answerSpawn(const platform::posix::SpawnRecord& record);
    platform::posix::SpawnAnswer actOnSpawn(const platform::posix::SpawnRecord& record);

    std::filesystem::path m_root;
    DeviceProfile m_profile;
    std::string m_language = "en";
    std::optional<NSOperatingSystemVersion> m_systemVersion;
    long m_appearance = 0;  // 0: the profile's
    LaunchOptions m_options;
    bool m_running = false;
    std::size_t m_resprings = 0;
    RespringHandler m_respringHandler;
    bool m_pendingRespring = false;
    bool m_pendingSafeMode = false;
    int m_spawnFailure = 0;
    std::string m_returnAddress;
    Ref<UIWindow> m_window;
    Ref<UINavigationController> m_navigation;
    Ref<PSUIPrefsListController> m_rootController;
    std::vector<std::string> m_loaded;
};

}  // namespace sim
