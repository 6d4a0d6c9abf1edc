#include "platform/system/DeviceRadios.h"

#include "platform/core/RunLoop.h"
#include "platform/core/Runtime.h"
#include "platform/system/BluetoothManager.h"

#include <atomic>
#include <map>
#include <mutex>

namespace platform::system {
namespace {

// Recorders of the add-on may query from any thread the host calls on, so the state is guarded.
struct State {
    std::mutex mutex;
    bool airplaneMode = false;
    bool bluetoothPowered = false;
    std::vector<bool> requests;
    std::atomic<std::size_t> airplaneQueries{0};
    std::atomic<std::size_t> bluetoothQueries{0};
    std::map<std::size_t, std::function<void()>> observers;
    std::size_t nextToken = 1;
};

State& state() {
    static State* s = new State;  // never destroyed: objects may query during static destruction
    return *s;
}

// Called with the state unlocked. The observers run in a later turn and are looked up then, so one removed in
// between is not called.
void notifyChange() {
    std::vector<std::size_t> tokens;
    {
        std::lock_guard lock(state().mutex);
        for (const auto& [token, observer] : state().observers) tokens.push_back(token);
    }
    if (tokens.empty()) return;
    platform::dispatchMain([tokens] {
        for (std::size_t token : tokens) {
            std::function<void()> observer;
            {
                std::lock_guard lock(state().mutex);
                auto it = state().observers.find(token);
                if (it == state().observers.end()) continue;
                observer = it->second;
            }
            observer();
        }
    });
}

// Sets a flag and tells whether it changed.
bool assign(bool& flag, bool value) {
    std::lock_guard lock(state().mutex);
    const bool changed = flag != value;
    flag = value;
    return changed;
}

}  // namespace

bool DeviceRadios::airplaneMode() {
    std::lock_guard lock(state().mutex);
    return state().airplaneMode;
}

void DeviceRadios::setAirplaneMode(bool on) {
    if (assign(state().airplaneMode, on)) notifyChange();
}

bool DeviceRadios::bluetoothPowered() {
    std::lock_guard lock(state().mutex);
    return state().bluetoothPowered;
}

void DeviceRadios::setBluetoothPowered(bool on) {
    if (assign(state().bluetoothPowered, on)) notifyChange();
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
    state().observers.clear();
}

void DeviceRadios::readStatesAsHost() {
    if (Class radios = objc_getClass("RadiosPreferences")) {
        id service = platform::runtime::createInstance(radios);
        platform::msgSend<bool>(service, sel("airplaneMode"));
    }
    if (objc_getClass("BluetoothManager")) platform::msgSend<bool>(BluetoothManager::sharedInstance(), sel("powered"));
}

std::size_t DeviceRadios::addChangeObserver(std::function<void()> observer) {
    std::lock_guard lock(state().mutex);
    const std::size_t token = state().nextToken++;
    state().observers.emplace(token, std::move(observer));
    return token;
}

void DeviceRadios::removeChangeObserver(std::size_t token) {
    std::lock_guard lock(state().mutex);
    state().observers.erase(token);
}

void DeviceRadios::recordAirplaneModeRequest(bool on) {
    {
        std::lock_guard lock(state().mutex);
        state().requests.push_back(on);
    }
    if (assign(state().airplaneMode, on)) notifyChange();
}

void DeviceRadios::countAirplaneModeQuery() { ++state().airplaneQueries; }
void DeviceRadios::countBluetoothQuery() { ++state().bluetoothQueries; }

}  // namespace platform::system
