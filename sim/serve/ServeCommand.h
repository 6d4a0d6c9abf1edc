#pragma once

// `vantile-sim serve [--root DIR] [--port N] [--profile NAME]`: the simulated phone in a browser. Prints the
// address and serves until Ctrl-C or SIGTERM (exit 0); a port that is taken, or a wrong command line, is exit
// status 2.

#include <string>
#include <vector>

namespace sim::serve {

std::string serveUsage();

// `arguments` are those after "serve"; `self` is the simulator's own executable, which each boot runs as
// `vantile-sim phone`.
int runServeCommand(const std::vector<std::string>& arguments, const std::string& self);

}  // namespace sim::serve
