#pragma once

// The last airplane-mode and Bluetooth states that any code of the host process obtained from the system services,
// recorded by the replacements of `airplaneMode` and `powered`. NO until the first recorded call. The recorders run
// on whatever thread the host queries on; the cards read on the main thread, hence atomics.

#include "tweak/cards/CardTable.h"

#include <atomic>

namespace vantile {

extern std::atomic<bool> isAirplaneModeOn;
extern std::atomic<bool> isBluetoothOn;

namespace cards {

// The flag a radio's recorder writes; Radio::None has none and is a logic error.
std::atomic<bool>& radioFlag(Radio radio);

// Replaces the getter that the host calls for the radio's state (RadiosPreferences airplaneMode, BluetoothManager
// powered) by one that records the answer and hands it back unchanged. Installed in every process, whatever the
// master switch says: the cards show the state even in a process where the Settings hooks are off. A process
// without the class gets no hook (the run-time counts the refusal). Radio::None installs nothing.
void installRadioRecorder(Radio radio);

}  // namespace cards
}  // namespace vantile
