#pragma once

// What `expect` can check, one row per kind: its name, the shape of its arguments, what it holds for (--help and
// the error for a wrong shape are made from these), and the check. A check throws ExpectationFailed with what was
// expected and what was found, or StepError when an argument is not of its shape.
//
// Adding an expectation is adding a row here; `expect` itself, --help and the list in the error for an unknown
// kind follow from the table.

#include "sim/scenario/ScenarioScript.h"

#include <cstddef>
#include <vector>

namespace sim::scenario {

class ScenarioSession;

struct Expectation {
    const char* name;
    const char* usage;    // the arguments after the name, as --help shows them
    const char* meaning;  // when it holds
    std::size_t minArgs, maxArgs;
    // Reads the arguments from step.words[2] on.
    void (*check)(ScenarioSession&, const Step&);
};

const std::vector<Expectation>& expectations();

}  // namespace sim::scenario
