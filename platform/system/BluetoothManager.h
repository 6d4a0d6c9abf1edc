#pragma once

// The system service that knows whether Bluetooth is powered. Its state is the simulated device's (DeviceRadios).
// Present in a process only when the host enabled its class group "BluetoothManager".

#include "platform/core/Object.h"

class BluetoothManager : public NSObject {
    VT_OBJECT(BluetoothManager, NSObject)
public:
    // The one manager of the process, created on first use. It exists even when the class group is off, as the C++
    // class is compiled in; callers that play the add-on look the class up with objc_getClass first.
    static Ref<BluetoothManager> sharedInstance();
    // Published as "powered" (B@:): whether the device's Bluetooth is on.
    virtual bool powered();
};
