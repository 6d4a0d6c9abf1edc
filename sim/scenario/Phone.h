#pragma once

// The phone a scenario drives, as the runner needs it. The simulated device (DevicePhone.h) is the real one; a
// part of the device that a phone does not have answers with a StepError saying it is not available, so a
// scenario never passes by pretending.

#include "platform/core/Object.h"

#include <optional>
#include <string>
#include <string_view>

class UIWindow;
class UIViewController;

namespace sim::scenario {

class Phone {
public:
    virtual ~Phone() = default;

    // ----- set-up -----
    // False for an unknown profile or while a process runs.
    virtual bool setProfile(std::string_view name);
    virtual void setLanguage(const std::string& code);
    // False for an unknown zone.
    virtual bool setTimeZone(std::string_view name);
    virtual void setDate(double secondsSince1970);
    // 1 light, 2 dark; live while a process runs.
    virtual void setAppearance(long style);

    // ----- radios and interfaces, before launch or live -----
    // An address of nothing keeps the profile's (or a made-up) one.
    virtual void setWifi(bool on, const std::optional<std::string>& address);
    virtual void setCellular(bool on, const std::optional<std::string>& address);
    // Nothing: no SIM.
    virtual void setCarrier(const std::optional<std::string>& name);

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

    // Opens a Settings address ("prefs:root=WIFI") through the Settings URL manager, as a card tap does.
    virtual void openURL(const std::string& url);

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
