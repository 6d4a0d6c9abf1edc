#pragma once

// The system service that reads and switches airplane mode. Its state is the simulated device's (DeviceRadios).
// Present in a process only when the host enabled its class group "RadiosPreferences".

#include "platform/core/Object.h"

class RadiosPreferences : public NSObject {
    VT_OBJECT(RadiosPreferences, NSObject)
public:
    // Published as "airplaneMode" (B@:): the device's current airplane mode.
    virtual bool airplaneMode();
    // Published as "setAirplaneMode:" (v@:B): switches the device's airplane mode; every request is
    // recorded (DeviceRadios::airplaneModeRequests) and logged as effect "airplaneMode" ("on" 1 / "off" 0).
    virtual void setAirplaneMode(bool on);
};
