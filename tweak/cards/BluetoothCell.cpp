// Start-up state of the Bluetooth card.
#include "tweak/cards/CardStartup.h"

#include "platform/core/Runtime.h"
#include "tweak/cards/RadioFlags.h"

namespace vantile {
std::atomic<bool> isBluetoothOn{false};
}  // namespace vantile

namespace vantile::cards {

CardSettings& bluetoothCellSettings() {
    static CardSettings settings("BluetoothCell");
    return settings;
}

void bluetoothCellStartup() { bluetoothCellSettings().load({"bluetooth", "statusON", "statusOFF"}); }

namespace {

bool (*g_previousPowered)(NSObject*, SEL) = nullptr;

bool recordPowered(NSObject* self, SEL cmd) {
    const bool on = g_previousPowered(self, cmd);
    isBluetoothOn.store(on, std::memory_order_relaxed);
    return on;
}

}  // namespace

// Installed in every process, like the airplane-mode recorder.
void bluetoothCellRecorderStartup() {
    MSHookMessageEx(objc_getClass("BluetoothManager"), sel("powered"), &recordPowered, &g_previousPowered);
}

}  // namespace vantile::cards
