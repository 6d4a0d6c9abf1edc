#pragma once

// The running process's start-up as a scenario reads it (`dump startup`, `expect hook`, `expect startup`).

#include "platform/core/Value.h"

namespace sim::scenario {

// As `vantile-sim startup` reports it: the process's first argument ("process"), the hooks installed ("hooks",
// "Class selector" each, in order) and refused ("refusedHooks"), and the add-on's own account merged in once it
// is loaded ("filter", "constructors", ...); without the add-on only the first three.
Value startupReport();

}  // namespace sim::scenario
