#pragma once

// The colour picker's group: dragging its square and bars to a value, the general pasteboard, and what `expect`
// checks of colours and the pasteboard (rows of the expectation table).

#include "sim/scenario/ScenarioScript.h"

namespace sim::scenario {

class ScenarioSession;

// expect pasteboard "TEXT"
void expectPasteboard(ScenarioSession& s, const Step& step);
// expect colour TARGET RRGGBB[AA] [TOLERANCE]
void expectColour(ScenarioSession& s, const Step& step);
// expect preview "TITLE" RRGGBB[AA]|none [TOLERANCE]
void expectPreview(ScenarioSession& s, const Step& step);

}  // namespace sim::scenario
