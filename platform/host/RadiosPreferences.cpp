#include "platform/host/RadiosPreferences.h"

#include "platform/core/Runtime.h"
#include "platform/host/DeviceRadios.h"

using platform::host::DeviceRadios;

VT_REGISTER_CLASS_IN(RadiosPreferences, "RadiosPreferences", [](Class c) {
    platform::runtime::addMethod<&RadiosPreferences::airplaneMode>(c, "airplaneMode");
    platform::runtime::addMethod<&RadiosPreferences::setAirplaneMode>(c, "setAirplaneMode:");
})

bool RadiosPreferences::airplaneMode() {
    DeviceRadios::countAirplaneModeQuery();
    return DeviceRadios::airplaneMode();
}

void RadiosPreferences::setAirplaneMode(bool on) { DeviceRadios::recordAirplaneModeRequest(on); }
