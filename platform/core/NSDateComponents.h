#pragma once

// A date broken into calendar fields. A field that was never set is NSDateComponentUndefined, and a calendar
// building a date from the components takes such a field from the reference date (2001-01-01 00:00:00).

#include "platform/core/Object.h"

#include <climits>

inline constexpr long NSDateComponentUndefined = LONG_MAX;

class NSDateComponents : public NSObject {
    VT_OBJECT(NSDateComponents, NSObject)
public:
    long year() const { return m_year; }
    void setYear(long v) { m_year = v; }
    // 1 to 12 as a calendar gives it; any number when building a date (13 is January of the next year).
    long month() const { return m_month; }
    void setMonth(long v) { m_month = v; }
    long day() const { return m_day; }
    void setDay(long v) { m_day = v; }
    long hour() const { return m_hour; }
    void setHour(long v) { m_hour = v; }
    long minute() const { return m_minute; }
    void setMinute(long v) { m_minute = v; }
    long second() const { return m_second; }
    void setSecond(long v) { m_second = v; }
    // 1 (Sunday) to 7 (Saturday); only read, never used to build a date.
    long weekday() const { return m_weekday; }
    void setWeekday(long v) { m_weekday = v; }

private:
    long m_year = NSDateComponentUndefined;
    long m_month = NSDateComponentUndefined;
    long m_day = NSDateComponentUndefined;
    long m_hour = NSDateComponentUndefined;
    long m_minute = NSDateComponentUndefined;
    long m_second = NSDateComponentUndefined;
    long m_weekday = NSDateComponentUndefined;
};
