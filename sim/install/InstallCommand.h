#pragma once

// `vantile-sim install [--root DIR] [--package FILE]`: installs the add-on's package into a device root as the
// phone's package manager would, and prints what it did as one JSON object on standard output:
//   {"package": "...", "version": "...", "root": "...", "installed": [...], "removed": [...]}
// Without --root the build's device root, without --package the build's Vantile.deb. A missing or broken package
// is reported on standard error with exit status 1 and leaves the root as it was; a bad command line exits with 2.

#include <span>
#include <string>

namespace sim::install {

extern const char* const kInstallUsage;

int runInstallCommand(std::span<const std::string> arguments);

}  // namespace sim::install
