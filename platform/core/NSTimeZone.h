#pragma once

// The simulated device's time zone. Local times (a greeting by time of day, a date shown to the user) are the
// virtual clock's "now" plus secondsFromGMT. Zones are fixed offsets: the named ones use their standard time all
// year, since the simulated phone's dates are chosen by the scenario and daylight saving would only blur them.
//
// Named zones: "UTC" (the default), "Europe/London", "Europe/Berlin", "Europe/Moscow", "Asia/Dubai",
// "Asia/Kolkata" (+5:30), "Asia/Shanghai", "Asia/Tokyo", "Australia/Sydney", "America/Sao_Paulo",
// "America/New_York", "America/Chicago", "America/Denver", "America/Los_Angeles", and "GMT+H" / "GMT-H" /
// "GMT+HH:MM" for any offset up to 14 hours.

#include "platform/core/Object.h"

#include <optional>
#include <string>
#include <string_view>

class NSTimeZone : public NSObject {
    VT_OBJECT(NSTimeZone, NSObject)
public:
    // The zone of that name; null for an unknown name.
    static Ref<NSTimeZone> timeZoneWithName(std::string_view name);
    // The device's zone; never null.
    static Ref<NSTimeZone> localTimeZone();
    // Makes the named zone the device's; answers false (and changes nothing) for an unknown name.
    static bool setLocalTimeZoneName(std::string_view name);

    const std::string& name() const { return m_name; }
    long secondsFromGMT() const { return m_offset; }

private:
    std::string m_name;
    long m_offset = 0;
};
