// The Bluetooth card, its start-up state and the recorder of the Bluetooth power state.
#include "tweak/cards/BluetoothCell.h"

#include "tweak/cards/CardStartup.h"
#include "tweak/cards/RadioFlags.h"

#include "platform/core/NSTimer.h"
#include "platform/core/Runtime.h"

VT_REGISTER_CLASS(BluetoothCell, [](Class c) {
    platform::runtime::addMethod<&BluetoothCell::checkBluetoothStatus>(c, "checkBluetoothStatus");
})

namespace vantile {
std::atomic<bool> isBluetoothOn{false};
Ref<NSTimer> refreshBluetoothTimer;
}  // namespace vantile

void BluetoothCell::finishBuilding() {
    vantile::refreshBluetoothTimer = schedulePollTimer("checkBluetoothStatus");
    addTapRecognizer();
    sendFetchColourOptions();
}

void BluetoothCell::checkBluetoothStatus() { showStatus(vantile::isBluetoothOn.load(std::memory_order_relaxed)); }

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
