#include "tweak/cards/BluetoothCell.h"

#include "tweak/cards/CardTable.h"
#include "tweak/cards/RadioFlags.h"

#include "platform/core/Runtime.h"

VT_REGISTER_CLASS(BluetoothCell, [](Class c) {
    platform::runtime::addMethod<&BluetoothCell::checkBluetoothStatus>(c, "checkBluetoothStatus");
})

// Its class is its own, not one made from the table; the table's row must still name it.
static_assert(vantile::cards::cardClassHasShape(BluetoothCell::kClassName, vantile::cards::CardShape::Bluetooth),
              "the Bluetooth row names this class");

void BluetoothCell::finishBuilding() {
    startPolling();
    addTapRecognizer();
    sendFetchColourOptions();
}

void BluetoothCell::checkBluetoothStatus() { showStatus(vantile::isBluetoothOn.load(std::memory_order_relaxed)); }
