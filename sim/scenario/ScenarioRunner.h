#pragma once

// Plays a scenario on a phone, one step at a time. Each command checks its arguments before it touches anything,
// so a bad step fails without side effects. Touches go through the platform's touch driver and its hit-testing,
// as a finger would; after every step the run loop runs what became due now, without moving the clock (only
// `wait` and the touches' own durations move it).
//
// The commands themselves live in their groups (ScenarioCommand.h): set-up, processes, touches, output and
// expectations. The runner looks a step up in their rows, checks its argument count and plays it.

#include "sim/scenario/ScenarioCommand.h"
#include "sim/scenario/ScenarioScript.h"
#include "sim/scenario/ScenarioSession.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace sim::scenario {

class ScenarioRunner {
public:
    ScenarioRunner(Phone& phone, RunnerOptions options);
    ~ScenarioRunner();

    // Plays the script from its first step. Answers the exit status: 0, kExitExpectationFailed or kExitStepError,
    // and writes the reason ("FILE:LINE: ...") to `errors`.
    int run(const Script& script, std::ostream& errors);
    // Continues a run in a fresh process: replays the set-up steps before `nextStep` (device, appearance, locale,
    // zone, date, radios, installed applications), sets the clock, launches `process` as the respring or launch
    // did, and plays on from `nextStep`.
    int resume(const Script& script, std::size_t nextStep, double clock, const std::string& process,
               std::ostream& errors);

    // The first argument `launch settings` stands for.
    static const char* settingsProcess();

    // One step; throws StepError or ExpectationFailed.
    void execute(const Step& step);

    // Every command, in the order --help lists them.
    static const std::vector<CommandInfo>& commands();

private:
    int play(const Script& script, std::size_t first, std::ostream& errors);

    ScenarioSession m_session;
};

}  // namespace sim::scenario
