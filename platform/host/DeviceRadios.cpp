#include "platform/host/DeviceRadios.h"

#include <atomic>
#include <mutex>

namespace platform::host {
namespace {

// Recorders of the add-on may query from any thread the host calls on, so the state is guarded.
struct State {
    std::mutex mutex;
    bool airplaneMode = false;
    bool bluetoothPowered = false;
    std::vector<bool> requests;
    std::atomic<std::size_t> airplaneQueries{0};
    std::atomic<std::size_t> bluetoothQueries{0};
};

State& state() {
    static State* s = new State;  // never destroyed: objects may query during static destruction
    return *s;
}

}  // namespace

bool DeviceRadios::airplaneMode() {
    std::lock_guard lock(state().mutex);
    return state().airplaneMode;
}

void DeviceRadios::setAirplaneMode(bool on) {
    std::lock_guard lock(state().mutex);
    state().airplaneMode = on;
}

bool DeviceRadios::bluetoothPowered() {
    std::lock_guard lock(state().mutex);
    return state().bluetoothPowered;
}

void DeviceRadios::setBluetoothPowered(bool on) {
    std::lock_guard lock(state().mutex);
    state().bluetoothPowered = on;
}

const std::vector<bool>& DeviceRadios::airplaneModeRequests() { return state().requests; }
std::size_t DeviceRadios::airplaneModeQueries() { return state().airplaneQueries.load(); }
std::size_t DeviceRadios::bluetoothQueries() { return state().bluetoothQueries.load(); }

void DeviceRadios::reset() {
    std::lock_guard lock(state().mutex);
    state().airplaneMode = false;
    state().bluetoothPowered = false;
    state().requests.clear();
    state().airplaneQueries = 0;
    state().bluetoothQueries = 0;
}

void DeviceRadios::recordAirplaneModeRequest(bool on) {
    std::lock_guard lock(state().mutex);
    state().requests.push_back(on);
    state().airplaneMode = on;
}

void DeviceRadios::countAirplaneModeQuery() { ++state().airplaneQueries; }
void DeviceRadios::countBluetoothQuery() { ++state().bluetoothQueries; }

}  // namespace platform::host
