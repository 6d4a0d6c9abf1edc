#pragma once

// The phone a scenario drives, as the runner needs it. The simulated device (DevicePhone.h) is the real one; a
// part of the device that a phone does not have answers with a StepError saying it is not available, so a
// scenario never passes by pretending.

#include "platform/core/Object.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class UIWindow;
class UIViewController;

namespace sim::scenario {

class Phone {
public:
    virtual ~Phone() = default;

    // ----- set-up -----
    // Nothing when the profile was chosen, else why not (an unknown name, or a process already running).
    virtual std::optional<std::string> setProfile(std::string_view name);
    virtual void setLanguage(const std::string& code);
    // False for an unknown zone.
    virtual bool setTimeZone(std::string_view name);
    virtual void setDate(double secondsSince1970);
    // 1 light, 2 dark; live while a process runs.
    virtual void setAppearance(long style);

    // ----- radios and interfaces, before launch or live -----
    // The interface `name` (exact, as getifaddrs lists it: "en0" Wi-Fi, "pdp_ip0" cellular) with these IPv4 and
    // IPv6 addresses in this order; no address keeps the profile's (or a made-up) one for en0 and pdp_ip0;
    // nothing takes the interface down. A StepError names an address that is neither IPv4 nor IPv6.
    virtual void setInterface(const std::string& name, const std::optional<std::vector<std::string>>& addresses);
    // Nothing: no SIM.
    virtual void setCarrier(const std::optional<std::string>& name);

    // ----- what the user installed -----
    // A store application joins the installed ones; while Settings runs its root page loads its list again.
    virtual void installApplication(const std::string& bundleIdentifier, const std::string& name);
    // False when no installed application has that identifier.
    virtual bool removeApplication(const std::string& bundleIdentifier);
    // A preference bundle's pane entry (/Library/PreferenceLoader/Preferences/NAME.plist); Settings reads the
    // entries when it starts, so the row appears from the next launch or respring.
    virtual void installPreferenceBundle(const std::string& name, const std::string& label);
    // Nothing when the entry was removed, else why not.
    virtual std::optional<std::string> removePreferenceBundle(const std::string& name);

    // ----- processes -----
    // `process` is the first argument ("/Applications/Preferences.app/Preferences"). Nothing on success, else why
    // the process could not start.
    virtual std::optional<std::string> launch(const std::string& process);
    virtual bool isRunning() const { return false; }
    // True when starting another process needs a fresh simulator process (the running one has the add-on loaded).
    virtual bool launchNeedsFreshProcess() const { return false; }
    // Ends the interface and starts Settings again. True when that needs a fresh process of the simulator (the
    // add-on's code cannot be unloaded); the runner then restarts itself and resumes after the step.
    virtual bool respring();
    // True once, after something on the phone (a tap on the pane's respring, a theme choice) restarted the interface
    // while the add-on is loaded: the runner then goes on in a fresh simulator process, as after `respring`.
    virtual bool takeRequestedFreshProcess() { return false; }

    // Opens a Settings address ("prefs:root=WIFI") through the Settings URL manager, as a card tap does.
    virtual void openURL(const std::string& url);

    // ----- the device's system -----
    // Makes every program start the device is asked for fail with that error number (0: they succeed again).
    virtual void setSpawnFailure(int error);
    // Whether the home screen is in the code-injection loader's safe mode (no add-on is injected).
    virtual bool isInSafeMode() const;

    // ----- the screen and the clock -----
    // Null when nothing with an interface runs.
    virtual Ref<UIWindow> window() const { return nullptr; }
    // The controller the user sees (top of the navigation stack or what it presents); null when none.
    virtual Ref<UIViewController> visibleController() const { return nullptr; }
    // Moves the virtual clock, running what falls due.
    virtual void advance(double seconds);
    // Runs what is due now without moving the clock further than queued work needs.
    virtual void settle();
};

}  // namespace sim::scenario
