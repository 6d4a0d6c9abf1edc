#pragma once

// `vantile-sim run FILE [--root DIR] [--out DIR]`: plays a scenario on the simulated device. FILE "-" reads the
// scenario from standard input. Exit status 0 when every step ran and every expectation held, 1 when an
// expectation failed, 2 when a step could not be carried out or the command line is wrong.

#include <string>
#include <vector>

namespace sim::scenario {

// The text of `vantile-sim run --help`, with every command.
std::string runUsage();

// `arguments` are those after "run"; `self` is the simulator's own executable, restarted for resprings.
int runScenarioCommand(const std::vector<std::string>& arguments, const std::string& self);

}  // namespace sim::scenario
