#pragma once

// CoreTelephony's view of the cellular subscription. What it answers is the simulated device's SIM
// (DeviceTelephony.h), read afresh by every call, so a change of the SIM reaches the next question.
//
// Published: "init"                        void init()
//            "subscriberCellularProvider"  Ref<CTCarrier> subscriberCellularProvider()

#include "platform/core/Object.h"

#include <optional>
#include <string>

class CTCarrier;

class CTTelephonyNetworkInfo : public NSObject {
    VT_OBJECT(CTTelephonyNetworkInfo, NSObject)
public:
    virtual void init() {}
    // The carrier of the SIM; null when the device has no SIM. Throws std::runtime_error while the device is set
    // to fail telephony calls, as the framework may raise on a device whose telephony daemon is unavailable.
    virtual Ref<CTCarrier> subscriberCellularProvider();
};
