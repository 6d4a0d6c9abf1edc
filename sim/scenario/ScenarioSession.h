#pragma once

// What the commands of a running scenario share: the phone, the run's options and gallery, where the run stands,
// and the radios the scenario switched. The runner owns one; each command group (set-up, processes, touches,
// output, expectations) works on it through the helpers below, so no group reaches into another.

#include "sim/scenario/Gallery.h"
#include "sim/scenario/Phone.h"
#include "sim/scenario/ScenarioScript.h"

#include "platform/gfx/Geometry.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class UIWindow;

namespace platform {
class PreferenceDomain;
}

namespace sim::scenario {

struct RunnerOptions {
    // The device's file system (the preference domain lives below it).
    std::filesystem::path root;
    // Where screenshots, dumps and the gallery go; created when missing.
    std::filesystem::path out;
    // Relative file arguments (`pref KEY data FILE`) are read from here: the scenario file's folder. Data files
    // must lie at or below it (or below `dataFolder`), so a scenario cannot read the machine's other files.
    std::filesystem::path baseFolder;
    // A further folder data files may come from, named by the user (`--data DIR`); empty for none.
    std::filesystem::path dataFolder;
    // A line per step goes here when set (the command line sets it on a terminal).
    std::ostream* progress = nullptr;
    // Start a new gallery (false when resuming in a fresh process after a respring).
    bool freshGallery = true;
    // A respring (or another launch) of a process the add-on is loaded into needs a fresh process: this continues
    // the run there, launching `process` and playing on from step `nextStep` with the clock at `clock`. It does not
    // return when it restarts. Without it, such a step is a StepError.
    std::function<void(std::size_t nextStep, double clock, const std::string& process)> restart;
};

class ScenarioSession {
public:
    ScenarioSession(Phone& phone, RunnerOptions options);
    ScenarioSession(const ScenarioSession&) = delete;
    ScenarioSession& operator=(const ScenarioSession&) = delete;

    Phone& phone() { return m_phone; }
    const RunnerOptions& options() const { return m_options; }
    Gallery& gallery();
    void setGallery(std::unique_ptr<Gallery> gallery) { m_gallery = std::move(gallery); }

    // The step being played (0-based) and whether set-up steps are being replayed in a fresh process.
    std::size_t stepIndex() const { return m_stepIndex; }
    void setStepIndex(std::size_t index) { m_stepIndex = index; }
    bool isReplaying() const { return m_replaying; }
    void setReplaying(bool replaying) { m_replaying = replaying; }

    // The window on screen; a StepError when nothing with an interface runs.
    Ref<UIWindow> requireWindow() const;
    // Where a touch aimed at `target` (a tap target or "@X,Y") lands, in window coordinates; a StepError naming
    // what is on screen when nothing visible shows it.
    CGPoint targetPoint(const std::string& target) const;
    // NAME + extension in the output folder; a StepError for a name that is not letters, digits, '-', '_', '.'.
    std::filesystem::path outputFile(const std::string& name, const char* extension) const;

    // Starts `process` in this simulator process: records start empty, the radios the scenario chose go on top.
    void launchProcess(const std::string& process);
    // Continues the run in a fresh simulator process that launches `process`; never returns.
    [[noreturn]] void restartWith(const std::string& process);

    // The radios the scenario switched, applied again after every launch (a process starts from the profile).
    void rememberAirplane(bool on) { m_airplane = on; }
    void rememberBluetooth(bool on) { m_bluetooth = on; }
    void applyRadios() const;

private:
    Phone& m_phone;
    RunnerOptions m_options;
    std::unique_ptr<Gallery> m_gallery;
    std::size_t m_stepIndex = 0;
    bool m_replaying = false;
    std::optional<bool> m_airplane;
    std::optional<bool> m_bluetooth;
};

// ----- small helpers the command groups share -----

std::string inQuotes(const std::string& s);
// Up to `limit` items, quoted and joined by ", " ("nothing" for none), as error messages list what is on screen.
std::string joined(const std::vector<std::string>& items, std::size_t limit = 12);
// Word `index` of the step as on/off; a StepError for anything else (other spellings of a bool included).
bool onOff(const Step& step, std::size_t index);
// The add-on's preference domain; a StepError when there is no device root.
std::shared_ptr<platform::PreferenceDomain> addOnDomain();

}  // namespace sim::scenario
