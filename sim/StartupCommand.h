#pragma once

#include <span>
#include <string>

namespace sim {

// `vantile-sim startup ...`: plays one process of the device and prints, as one JSON object on standard output,
// what the tweak's start-up did. Answers the exit status: 0, 1 when the process could not be played (unusable
// device root, library that fails to load), 2 for a bad command line.
int runStartupCommand(std::span<const std::string> arguments);

}  // namespace sim
