#pragma once

#include "platform/core/Value.h"

namespace vantile {

// Runs the 28 start-up constructors of the tweak library, in their fixed order, once per process: later calls do
// nothing. The shared library calls it when it is loaded; tests call it in a process they have prepared.
void runStartupConstructors();

// What start-up did, for the simulator: "constructors" (names in the order they ran), "filter" (whether the process
// filter let the process through; absent when no filtering constructor ran), "bound" (every bound key with the value
// of its first variable), "bindingCounts" (key → number of variables bound to it), "disagreeing" (keys whose
// variables hold different values: always empty unless the preferences machinery is broken) and "radios"
// (isAirplaneModeOn, isBluetoothOn).
Value startupReport();

}  // namespace vantile

// The report as a C entry point, so that a loader that opened the library with dlopen can find it with dlsym.
extern "C" void vantileStartupReport(Value* out);
