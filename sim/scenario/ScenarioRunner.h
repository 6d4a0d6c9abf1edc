#pragma once

// Plays a scenario on a phone, one step at a time. Each command checks its arguments before it touches anything,
// so a bad step fails without side effects. Touches go through the platform's touch driver and its hit-testing,
// as a finger would; after every step the run loop runs what became due now, without moving the clock (only
// `wait` and the touches' own durations move it).

#include "sim/scenario/Gallery.h"
#include "sim/scenario/Phone.h"
#include "sim/scenario/ScenarioScript.h"

#include "platform/gfx/Geometry.h"

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sim::scenario {

struct RunnerOptions {
    // The device's file system (the preference domain lives below it).
    std::filesystem::path root;
    // Where screenshots, dumps and the gallery go; created when missing.
    std::filesystem::path out;
    // Relative file arguments (`pref KEY data FILE`) are read from here: the scenario file's folder.
    std::filesystem::path baseFolder;
    // A line per step goes here when set (the command line sets it on a terminal).
    std::ostream* progress = nullptr;
    // Start a new gallery (false when resuming in a fresh process after a respring).
    bool freshGallery = true;
    // A respring (or another launch) of a process the add-on is loaded into needs a fresh process: this continues
    // the run there, launching `process` and playing on from step `nextStep` with the clock at `clock`. It does not
    // return when it restarts. Without it, such a step is a StepError.
    std::function<void(std::size_t nextStep, double clock, const std::string& process)> restart;
};

struct CommandInfo {
    const char* name;
    const char* usage;     // the arguments, as --help shows them
    const char* meaning;
};

class ScenarioRunner {
public:
    ScenarioRunner(Phone& phone, RunnerOptions options);
    ~ScenarioRunner();

    // Plays the script from its first step. Answers the exit status: 0, kExitExpectationFailed or kExitStepError,
    // and writes the reason ("FILE:LINE: ...") to `errors`.
    int run(const Script& script, std::ostream& errors);
    // Continues a run in a fresh process: replays the set-up steps before `nextStep` (device, appearance, locale,
    // zone, date and radios), sets the clock, launches `process` as the respring or launch did, and plays on from
    // `nextStep`.
    int resume(const Script& script, std::size_t nextStep, double clock, const std::string& process,
               std::ostream& errors);

    // The first argument `launch settings` stands for.
    static const char* settingsProcess();

    // One step; throws StepError or ExpectationFailed.
    void execute(const Step& step);

    static const std::vector<CommandInfo>& commands();

private:
    struct Command;
    static const std::vector<Command>& table();
    int play(const Script& script, std::size_t first, std::ostream& errors);

    void cmdDevice(const Step&);
    void cmdAppearance(const Step&);
    void cmdLocale(const Step&);
    void cmdTimezone(const Step&);
    void cmdDate(const Step&);
    void cmdPref(const Step&);
    void cmdPrefRemove(const Step&);
    void cmdPrefDeleteFile(const Step&);
    void cmdWifi(const Step&);
    void cmdCellular(const Step&);
    void cmdAirplane(const Step&);
    void cmdBluetooth(const Step&);
    void cmdCarrier(const Step&);
    void cmdLaunch(const Step&);
    void cmdRespring(const Step&);
    void cmdOpen(const Step&);
    void cmdTap(const Step&);
    void cmdDrag(const Step&);
    void cmdReorder(const Step&);
    void cmdScroll(const Step&);
    void cmdBack(const Step&);
    void cmdWait(const Step&);
    void cmdScreenshot(const Step&);
    void cmdDump(const Step&);
    void cmdExpect(const Step&);

    void launchProcess(const std::string& process);
    [[noreturn]] void restartWith(const std::string& process);
    void applyRadios();
    Ref<UIWindow> requireWindow(const Step& step) const;
    CGPoint targetPoint(const Step& step, const std::string& target) const;
    std::filesystem::path outputFile(const std::string& name, const char* extension);

    Phone& m_phone;
    RunnerOptions m_options;
    std::unique_ptr<Gallery> m_gallery;
    const Script* m_script = nullptr;
    std::size_t m_stepIndex = 0;
    bool m_replaying = false;
    // The radios the scenario asked for, applied again after every launch (a process starts from the profile).
    std::optional<bool> m_airplane;
    std::optional<bool> m_bluetooth;
};

}  // namespace sim::scenario
