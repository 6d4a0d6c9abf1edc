#include "platform/system/RadiosPreferences.h"

#include "platform/core/EffectSink.h"
#include "platform/core/Runtime.h"
#include "platform/system/DeviceRadios.h"

using platform::system::DeviceRadios;

VT_REGISTER_CLASS_IN(RadiosPreferences, "RadiosPreferences", [](Class c) {
    platform::runtime::addMethod<&RadiosPreferences::airplaneMode>(c, "airplaneMode");
    platform::runtime::addMethod<&RadiosPreferences::setAirplaneMode>(c, "setAirplaneMode:");
})

bool RadiosPreferences::airplaneMode() {
    DeviceRadios::countAirplaneModeQuery();
    return DeviceRadios::airplaneMode();
}

// Logged beside the haptics and URL opens, so a test sees a tap's request in order with its haptic.
void RadiosPreferences::setAirplaneMode(bool on) {
    platform::recordEffect("airplaneMode", on ? "on" : "off", on ? 1 : 0);
    DeviceRadios::recordAirplaneModeRequest(on);
}
