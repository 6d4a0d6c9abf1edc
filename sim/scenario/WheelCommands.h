#pragma once

// The wheel group's expectation, for the expectation table: `expect wheel COLUMN "TITLE"`.

namespace sim::scenario {

class ScenarioSession;
struct Step;

void expectWheel(ScenarioSession& s, const Step& step);

}  // namespace sim::scenario
