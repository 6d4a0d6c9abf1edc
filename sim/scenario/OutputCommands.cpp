// The output group: what a run leaves in its output folder for a person (screenshots and the gallery) or a test
// (the domain, the records and the start-up report as JSON).

#include "sim/scenario/Records.h"
#include "sim/scenario/ScenarioCommand.h"
#include "sim/scenario/ScenarioErrors.h"
#include "sim/scenario/ScenarioSession.h"
#include "sim/scenario/StartupReport.h"

#include "platform/harness/JSONValue.h"

#include "platform/core/PreferenceDomain.h"
#include "platform/harness/Renderer.h"
#include "platform/ui/UIWindow.h"
#include "platform/harness/ViewDump.h"

#include <fstream>

namespace sim::scenario {

namespace {

void cmdScreenshot(ScenarioSession& s, const Step& step) {
    auto window = s.requireWindow();
    auto png = s.outputFile(step.words[1], ".png");
    if (!platform::harness::writeViewPNG(window, png)) throw StepError("cannot write " + png.string());
    std::ofstream json(s.outputFile(step.words[1], ".json"), std::ios::trunc);
    json << platform::harness::dumpViewTree(window);
    if (!json) throw StepError("cannot write the view dump of " + step.words[1]);
    s.gallery().add({step.words[1], step.note.empty() ? step.text : step.note, step.line});
}

void cmdDump(ScenarioSession& s, const Step& step) {
    const std::string& what = step.words[1];
    std::string text;
    if (what == "prefs") text = toJSON(Value(*addOnDomain()->snapshot()), 2) + "\n";
    else if (what == "records") text = recordsJson();
    else if (what == "startup") text = toJSON(startupReport(), 2) + "\n";
    else throw StepError("wants prefs, records or startup, not " + inQuotes(what));
    auto file = s.outputFile(step.words[2], ".json");
    std::ofstream out(file, std::ios::trunc);
    out << text;
    if (!out) throw StepError("cannot write " + file.string());
}

}  // namespace

const std::vector<ScenarioCommand>& outputCommands() {
    static const std::vector<ScenarioCommand> kRows = {
        {{"screenshot", "NAME", "write NAME.png and NAME.json (the view tree) to the output folder and add the picture to the gallery"}, 1, 1, cmdScreenshot},
        {{"dump", "prefs|records|startup NAME", "write NAME.json: the add-on's domain, the records (URL opens, haptics, notifications, spawns, airplane-mode requests), or the running process's start-up report (hooks, loaded libraries, the add-on's own account)"}, 2, 2, cmdDump},
    };
    return kRows;
}

}  // namespace sim::scenario
