#pragma once

// The radio state of the simulated device, which the system-service classes (RadiosPreferences, BluetoothManager)
// report and change. The simulator and tests set it as the device's owner would; the add-on only ever sees it
// through those classes.

#include <cstddef>
#include <functional>
#include <vector>

class RadiosPreferences;
class BluetoothManager;

namespace platform::system {

class DeviceRadios {
public:
    static bool airplaneMode();
    static void setAirplaneMode(bool on);
    static bool bluetoothPowered();
    static void setBluetoothPowered(bool on);

    // Every `setAirplaneMode:` request received through RadiosPreferences, in order, so a test can tell what a tap
    // asked for even when it asked for the state the device already had.
    static const std::vector<bool>& airplaneModeRequests();
    // Calls of the getters `airplaneMode` / `powered` that reached the system classes' own implementation.
    static std::size_t airplaneModeQueries();
    static std::size_t bluetoothQueries();

    // What the host process does where the device's own code reads the radios (the Settings root page's airplane
    // switch when the page appears and when the state changes, the status bar): sends "airplaneMode" to a new
    // RadiosPreferences and "powered" to the shared BluetoothManager through the run-time, so replacements of those
    // getters see the reads. A service whose class the process does not contain is not asked.
    static void readStatesAsHost();

    // Observers of the device's radio state: called on the main run loop (a later turn, as the device's
    // notification arrives) after airplane mode or Bluetooth changed, by the device's owner or by a
    // `setAirplaneMode:` request. Nothing is called when a set leaves the state as it was. Answers a token.
    static std::size_t addChangeObserver(std::function<void()> observer);
    static void removeChangeObserver(std::size_t token);

    // Back to a device with both radios off, no records and no observers.
    static void reset();

private:
    friend class ::RadiosPreferences;
    friend class ::BluetoothManager;
    static void recordAirplaneModeRequest(bool on);
    static void countAirplaneModeQuery();
    static void countBluetoothQuery();
};

}  // namespace platform::system
