#pragma once

// The Gregorian calendar on ICU, in a time zone (the device's, platform/core/NSTimeZone.h, unless set). Building a
// date is lenient, as on the device: a day beyond the end of its month rolls into the next (31 February 2004 is
// 2 March 2004), a month of 13 into the next year.

#include "platform/core/Object.h"

#include <string_view>

class NSDate;
class NSDateComponents;
class NSTimeZone;

enum NSCalendarUnit : unsigned long {
    NSCalendarUnitEra = 1UL << 1,
    NSCalendarUnitYear = 1UL << 2,
    NSCalendarUnitMonth = 1UL << 3,
    NSCalendarUnitDay = 1UL << 4,
    NSCalendarUnitHour = 1UL << 5,
    NSCalendarUnitMinute = 1UL << 6,
    NSCalendarUnitSecond = 1UL << 7,
    NSCalendarUnitWeekday = 1UL << 9,
};

inline constexpr std::string_view NSCalendarIdentifierGregorian = "gregorian";

class NSCalendar : public NSObject {
    VT_OBJECT(NSCalendar, NSObject)
public:
    // The device's calendar (Gregorian) in the device's time zone as it is at this call.
    static Ref<NSCalendar> currentCalendar();
    // "gregorian" gives a Gregorian calendar in the device's time zone; any other identifier gives null.
    static Ref<NSCalendar> calendarWithIdentifier(std::string_view identifier);

    Ref<NSTimeZone> timeZone() const { return m_timeZone; }
    // A null zone keeps the current one.
    void setTimeZone(Ref<NSTimeZone> zone);

    // The fields named by `units` (NSCalendarUnit bits) of `date` in the calendar's zone; the others stay
    // undefined. A null date gives components with every field undefined.
    Ref<NSDateComponents> componentsFromDate(unsigned long units, const Ref<NSDate>& date) const;
    // One field of `date`; NSDateComponentUndefined for a null date or a unit that is not a single known one.
    long componentFromDate(NSCalendarUnit unit, const Ref<NSDate>& date) const;
    // The date of the components, undefined fields taken from 2001-01-01 00:00:00 in the calendar's zone. Null for
    // null components or fields so large that no date has them.
    Ref<NSDate> dateFromComponents(const Ref<NSDateComponents>& components) const;

private:
    Ref<NSTimeZone> m_timeZone;
};
