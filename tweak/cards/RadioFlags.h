#pragma once

// The last airplane-mode and Bluetooth states that any code of the host process obtained from the system services,
// recorded by the replacements of `airplaneMode` and `powered`. NO until the first recorded call. The recorders run
// on whatever thread the host queries on; the cards read on the main thread, hence atomics.

#include <atomic>

namespace vantile {

extern std::atomic<bool> isAirplaneModeOn;
extern std::atomic<bool> isBluetoothOn;

}  // namespace vantile
