#include "platform/system/BluetoothManager.h"

#include "platform/core/Runtime.h"
#include "platform/system/DeviceRadios.h"

using platform::system::DeviceRadios;

VT_REGISTER_CLASS_IN(BluetoothManager, "BluetoothManager",
                     [](Class c) { platform::runtime::addMethod<&BluetoothManager::powered>(c, "powered"); })

Ref<BluetoothManager> BluetoothManager::sharedInstance() {
    static Ref<BluetoothManager>* shared = new Ref<BluetoothManager>(alloc<BluetoothManager>());
    return *shared;
}

bool BluetoothManager::powered() {
    DeviceRadios::countBluetoothQuery();
    return DeviceRadios::bluetoothPowered();
}
