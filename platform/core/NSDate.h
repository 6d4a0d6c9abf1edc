#pragma once

// Instants on the virtual clock (Clock.h). "Now" is the platform clock's now, never the machine's.

#include "platform/core/Object.h"

#include <string>

enum class NSComparisonResult { OrderedAscending = -1, OrderedSame = 0, OrderedDescending = 1 };

class NSDate : public NSObject {
    VT_OBJECT(NSDate, NSObject)
public:
    // The clock's current instant.
    static Ref<NSDate> date();
    static Ref<NSDate> dateWithTimeIntervalSince1970(double seconds);
    // `seconds` after now (before, when negative).
    static Ref<NSDate> dateWithTimeIntervalSinceNow(double seconds);
    // Year 1 and year 4001, as on the device (in seconds since 1970).
    static Ref<NSDate> distantPast();
    static Ref<NSDate> distantFuture();

    double timeIntervalSince1970() const { return m_seconds; }
    // Seconds from `other` to the receiver (positive when the receiver is later). A null `other` counts as 1970.
    double timeIntervalSinceDate(const Ref<NSDate>& other) const;
    double timeIntervalSinceNow() const;
    NSComparisonResult compare(const Ref<NSDate>& other) const;
    Ref<NSDate> dateByAddingTimeInterval(double seconds) const;
    bool isEqualToDate(const Ref<NSDate>& other) const { return other && other->m_seconds == m_seconds; }

    // "2024-01-01 00:00:00 +0000", as the device describes a date.
    std::string description() const override;

    static constexpr double kDistantPast = -62135769600.0;
    static constexpr double kDistantFuture = 64092211200.0;

private:
    double m_seconds = 0;
};
