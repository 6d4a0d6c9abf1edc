#include "tweak/cards/RadioFlags.h"

#include "platform/core/Runtime.h"

#include <stdexcept>

namespace vantile {

std::atomic<bool> isAirplaneModeOn{false};
std::atomic<bool> isBluetoothOn{false};

namespace cards {
namespace {

// One replacement per radio, each with its own pointer to the getter it replaced.
template <Radio R>
struct Recorder {
    static inline bool (*previous)(NSObject*, SEL) = nullptr;
    static bool record(NSObject* self, SEL cmd) {
        const bool on = previous(self, cmd);
        radioFlag(R).store(on, std::memory_order_relaxed);
        return on;
    }
};

template <Radio R>
void install(std::string_view cls, std::string_view getter) {
    MSHookMessageEx(objc_getClass(cls), sel(getter), &Recorder<R>::record, &Recorder<R>::previous);
}

}  // namespace

std::atomic<bool>& radioFlag(Radio radio) {
    switch (radio) {
    case Radio::AirplaneMode: return isAirplaneModeOn;
    case Radio::Bluetooth: return isBluetoothOn;
    case Radio::None: break;
    }
    throw std::logic_error("no flag for a card that records no radio");
}

void installRadioRecorder(Radio radio) {
    switch (radio) {
    case Radio::AirplaneMode: install<Radio::AirplaneMode>("RadiosPreferences", "airplaneMode"); break;
    case Radio::Bluetooth: install<Radio::Bluetooth>("BluetoothManager", "powered"); break;
    case Radio::None: break;
    }
}

}  // namespace cards
}  // namespace vantile
