#include "platform/core/NSCalendar.h"

#include "platform/core/IcuDates.h"
#include "platform/core/NSDate.h"
#include "platform/core/NSDateComponents.h"
#include "platform/core/NSTimeZone.h"
#include "platform/core/Runtime.h"

#include <unicode/gregocal.h>

#include <array>
#include <cmath>
#include <limits>
#include <utility>

VT_REGISTER_CLASS(NSCalendar)
VT_REGISTER_CLASS(NSDateComponents)

namespace {

using platform::icu_dates::zoneFor;

std::unique_ptr<icu::Calendar> makeCalendar(const Ref<NSTimeZone>& zone) {
    UErrorCode status = U_ZERO_ERROR;
    auto calendar = std::make_unique<icu::GregorianCalendar>(zoneFor(zone).release(), status);
    if (U_FAILURE(status)) return nullptr;
    calendar->setLenient(true);
    return calendar;
}

// NSCalendarUnit to ICU field; UCAL_FIELD_COUNT for a unit that is not one of ours.
UCalendarDateFields fieldOf(NSCalendarUnit unit) {
    switch (unit) {
    case NSCalendarUnitEra: return UCAL_ERA;
    case NSCalendarUnitYear: return UCAL_YEAR;
    case NSCalendarUnitMonth: return UCAL_MONTH;
    case NSCalendarUnitDay: return UCAL_DATE;
    case NSCalendarUnitHour: return UCAL_HOUR_OF_DAY;
    case NSCalendarUnitMinute: return UCAL_MINUTE;
    case NSCalendarUnitSecond: return UCAL_SECOND;
    case NSCalendarUnitWeekday: return UCAL_DAY_OF_WEEK;
    }
    return UCAL_FIELD_COUNT;
}

// ICU counts months from 0; the device from 1.
long fromIcu(UCalendarDateFields field, int32_t value) { return field == UCAL_MONTH ? value + 1L : value; }

}  // namespace

Ref<NSCalendar> NSCalendar::currentCalendar() {
    auto calendar = alloc<NSCalendar>();
    calendar->m_timeZone = NSTimeZone::localTimeZone();
    return calendar;
}

Ref<NSCalendar> NSCalendar::calendarWithIdentifier(std::string_view identifier) {
    if (identifier != NSCalendarIdentifierGregorian) return nullptr;
    return currentCalendar();
}

void NSCalendar::setTimeZone(Ref<NSTimeZone> zone) {
    if (zone) m_timeZone = std::move(zone);
}

long NSCalendar::componentFromDate(NSCalendarUnit unit, const Ref<NSDate>& date) const {
    const UCalendarDateFields field = fieldOf(unit);
    if (!date || field == UCAL_FIELD_COUNT) return NSDateComponentUndefined;
    auto calendar = makeCalendar(m_timeZone);
    if (!calendar) return NSDateComponentUndefined;
    UErrorCode status = U_ZERO_ERROR;
    calendar->setTime(date->timeIntervalSince1970() * 1000.0, status);
    const int32_t value = calendar->get(field, status);
    return U_FAILURE(status) ? NSDateComponentUndefined : fromIcu(field, value);
}

Ref<NSDateComponents> NSCalendar::componentsFromDate(unsigned long units, const Ref<NSDate>& date) const {
    auto components = alloc<NSDateComponents>();
    if (!date) return components;
    static constexpr std::array<std::pair<NSCalendarUnit, void (NSDateComponents::*)(long)>, 7> kSetters{{
        {NSCalendarUnitYear, &NSDateComponents::setYear},
        {NSCalendarUnitMonth, &NSDateComponents::setMonth},
        {NSCalendarUnitDay, &NSDateComponents::setDay},
        {NSCalendarUnitHour, &NSDateComponents::setHour},
        {NSCalendarUnitMinute, &NSDateComponents::setMinute},
        {NSCalendarUnitSecond, &NSDateComponents::setSecond},
        {NSCalendarUnitWeekday, &NSDateComponents::setWeekday},
    }};
    for (const auto& [unit, setter] : kSetters)
        if (units & unit) (components.get()->*setter)(componentFromDate(unit, date));
    return components;
}

Ref<NSDate> NSCalendar::dateFromComponents(const Ref<NSDateComponents>& components) const {
    if (!components) return nullptr;
    auto calendar = makeCalendar(m_timeZone);
    if (!calendar) return nullptr;
    const std::array<std::pair<long, long>, 6> fields{{
        {components->year(), 2001},
        {components->month(), 1},
        {components->day(), 1},
        {components->hour(), 0},
        {components->minute(), 0},
        {components->second(), 0},
    }};
    static constexpr std::array<UCalendarDateFields, 6> kIcuFields{UCAL_YEAR, UCAL_MONTH, UCAL_DATE,
                                                                  UCAL_HOUR_OF_DAY, UCAL_MINUTE, UCAL_SECOND};
    calendar->clear();
    calendar->set(UCAL_ERA, icu::GregorianCalendar::AD);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        long value = fields[i].first == NSDateComponentUndefined ? fields[i].second : fields[i].first;
        if (kIcuFields[i] == UCAL_MONTH) value -= 1;
        // ICU keeps 32-bit fields; a larger one names no date.
        if (value > std::numeric_limits<int32_t>::max() / 2 || value < std::numeric_limits<int32_t>::min() / 2)
            return nullptr;
        calendar->set(kIcuFields[i], static_cast<int32_t>(value));
    }
    UErrorCode status = U_ZERO_ERROR;
    const UDate millis = calendar->getTime(status);
    if (U_FAILURE(status) || !std::isfinite(millis)) return nullptr;
    return NSDate::dateWithTimeIntervalSince1970(millis / 1000.0);
}
