#pragma once

// The radio state of the simulated device, which the system-service classes (RadiosPreferences, BluetoothManager)
// report and change. The simulator and tests set it as the device's owner would; the add-on only ever sees it
// through those classes.

#include <cstddef>
#include <vector>

class RadiosPreferences;
class BluetoothManager;

namespace platform::host {

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

    // Back to a device with both radios off and no records.
    static void reset();

private:
    friend class ::RadiosPreferences;
    friend class ::BluetoothManager;
    static void recordAirplaneModeRequest(bool on);
    static void countAirplaneModeQuery();
    static void countBluetoothQuery();
};

}  // namespace platform::host
