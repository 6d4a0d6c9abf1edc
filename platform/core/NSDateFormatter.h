#pragma once

// Dates to text and back with ICU's SimpleDateFormat, in a locale and a time zone: the device's current locale
// (fixed when the formatter is made, as on the device) and the device's time zone unless set. Patterns are ICU's
// (and the device's): "dMMM" is the day without a leading zero directly followed by the abbreviated month name.

#include "platform/core/Object.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class NSDate;
class NSLocale;
class NSTimeZone;

class NSDateFormatter : public NSObject {
    VT_OBJECT(NSDateFormatter, NSObject)
public:
    NSDateFormatter();

    // The locale's best pattern for the fields of `dateTemplate` (ICU's DateTimePatternGenerator): "dMMM" gives
    // "MMM d" in English (United States), "d MMM" in English (United Kingdom), "d. MMM" in German; "j" stands for
    // the hour as the locale writes it, 12- or 24-hour. `options` is reserved (0). A null locale means the
    // device's current one. Nothing for an empty template or one ICU cannot read.
    static std::optional<std::string> dateFormatFromTemplateOptionsLocale(std::string_view dateTemplate,
                                                                           unsigned long options,
                                                                           const Ref<NSLocale>& locale);

    const std::string& dateFormat() const { return m_format; }
    void setDateFormat(std::string format) { m_format = std::move(format); }
    // Never null: the locale given, or the device's current one when the formatter was made. Setting null
    // restores the device's current locale.
    Ref<NSLocale> locale() const { return m_locale; }
    void setLocale(Ref<NSLocale> locale);
    // Never null; setting null restores the device's zone.
    Ref<NSTimeZone> timeZone() const { return m_timeZone; }
    void setTimeZone(Ref<NSTimeZone> zone);

    // The date in the format; empty for a null date or a pattern ICU refuses.
    std::string stringFromDate(const Ref<NSDate>& date) const;
    // The date the whole text names in the format, fields it lacks taken from 1970-01-01 00:00; null when the
    // text does not match (parsing is strict, as the device's is for fixed formats).
    Ref<NSDate> dateFromString(std::string_view text) const;

    // "Jan" … "Dec" in English, "Jan." … "Dez." in German: the locale's abbreviated month names for formatting.
    std::vector<std::string> shortMonthSymbols() const;
    std::string AMSymbol() const;
    std::string PMSymbol() const;

private:
    std::string m_format;
    Ref<NSLocale> m_locale;
    Ref<NSTimeZone> m_timeZone;
};
