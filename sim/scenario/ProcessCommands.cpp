// The process group: starting and ending the processes the add-on is injected into. A process the add-on was
// loaded into cannot be replaced in place (its code cannot be unloaded), so these continue the run in a fresh
// simulator process when they must (ScenarioSession::restartWith).

#include "sim/ProcessProfile.h"
#include "sim/scenario/Records.h"
#include "sim/scenario/ScenarioCommand.h"
#include "sim/scenario/ScenarioErrors.h"
#include "sim/scenario/ScenarioSession.h"

namespace sim::scenario {

namespace {

constexpr const char* kSpringBoardProcess = "/System/Library/CoreServices/SpringBoard.app/SpringBoard";

void cmdLaunch(ScenarioSession& s, const Step& step) {
    const std::string& which = step.words[1];
    std::string process = which == "settings" ? std::string(sim::kSettingsProcess) : which == "springboard" ? kSpringBoardProcess : which;
    if (process.empty() || process.front() != '/')
        throw StepError("wants settings, springboard or an absolute first argument, not " + inQuotes(which));
    if (s.phone().isRunning() && s.phone().launchNeedsFreshProcess()) s.restartWith(process);
    s.launchProcess(process);
}

void cmdRespring(ScenarioSession& s, const Step&) {
    if (!s.phone().isRunning()) throw StepError("nothing is running");
    if (!s.phone().respring()) {
        clearRecords();
        s.applyRadios();
        return;
    }
    s.restartWith(std::string(sim::kSettingsProcess));
}

void cmdOpen(ScenarioSession& s, const Step& step) {
    const std::string& url = step.words[1];
    if (url.find(':') == std::string::npos) throw StepError("not an address: " + inQuotes(url));
    if (!s.phone().isRunning()) throw StepError("nothing is running");
    s.phone().openURL(url);
}

}  // namespace

const std::vector<ScenarioCommand>& processCommands() {
    static const std::vector<ScenarioCommand> kRows = {
        {{"launch", "settings|springboard|ARGV0", "start that process (ending any running one) with the add-on injected by the loader"}, 1, 1, cmdLaunch},
        {{"respring", "", "end the processes and start Settings again"}, 0, 0, cmdRespring},
        {{"open", "URL", "open a Settings address (prefs:root=WIFI) through the Settings URL manager, as a card does"}, 1, 1, cmdOpen},
    };
    return kRows;
}

}  // namespace sim::scenario
