#include "platform/core/NSDate.h"

#include "platform/core/Clock.h"
#include "platform/core/Runtime.h"

#include <cmath>
#include <cstdio>

VT_REGISTER_CLASS(NSDate)

Ref<NSDate> NSDate::date() { return dateWithTimeIntervalSince1970(platform::Clock::now()); }

Ref<NSDate> NSDate::dateWithTimeIntervalSince1970(double seconds) {
    auto d = alloc<NSDate>();
    d->m_seconds = seconds;
    return d;
}

Ref<NSDate> NSDate::dateWithTimeIntervalSinceNow(double seconds) {
    return dateWithTimeIntervalSince1970(platform::Clock::now() + seconds);
}

Ref<NSDate> NSDate::distantPast() { return dateWithTimeIntervalSince1970(kDistantPast); }

Ref<NSDate> NSDate::distantFuture() { return dateWithTimeIntervalSince1970(kDistantFuture); }

double NSDate::timeIntervalSinceDate(const Ref<NSDate>& other) const {
    return m_seconds - (other ? other->m_seconds : 0.0);
}

double NSDate::timeIntervalSinceNow() const { return m_seconds - platform::Clock::now(); }

NSComparisonResult NSDate::compare(const Ref<NSDate>& other) const {
    const double o = other ? other->m_seconds : 0.0;
    if (m_seconds < o) return NSComparisonResult::OrderedAscending;
    if (m_seconds > o) return NSComparisonResult::OrderedDescending;
    return NSComparisonResult::OrderedSame;
}

Ref<NSDate> NSDate::dateByAddingTimeInterval(double seconds) const {
    return dateWithTimeIntervalSince1970(m_seconds + seconds);
}

std::string NSDate::description() const {
    // Civil date from days since 1970 (Howard Hinnant's algorithm), so no time-zone database is consulted.
    const auto total = static_cast<long long>(std::floor(m_seconds));
    long long days = total / 86400;
    long long rem = total % 86400;
    if (rem < 0) {
        rem += 86400;
        --days;
    }
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long doe = days - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long long year = yoe + era * 400;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    const long long day = doy - (153 * mp + 2) / 5 + 1;
    const long long month = mp < 10 ? mp + 3 : mp - 9;
    if (month <= 2) ++year;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%04lld-%02lld-%02lld %02lld:%02lld:%02lld +0000", year, month, day,
                  rem / 3600, rem / 60 % 60, rem % 60);
    return buffer;
}
