#pragma once

// What the date classes share of ICU, inside the platform only: the ICU zone of a device zone and the ICU locale
// of a locale object. Nothing outside platform/core includes it, so ICU's headers stay behind the seam.

#include "platform/core/Object.h"

#include <unicode/locid.h>
#include <unicode/timezone.h>

#include <memory>
#include <string>

class NSLocale;
class NSTimeZone;

namespace platform::icu_dates {

// A fixed-offset ICU zone with the device zone's offset and name (the device's zones are fixed offsets); UTC for
// a null zone.
std::unique_ptr<icu::TimeZone> zoneFor(const Ref<NSTimeZone>& zone);
// The ICU locale of a locale object (its current identifier for the autoupdating one); the device's current
// locale for null.
icu::Locale localeFor(const Ref<NSLocale>& locale);

std::string toUTF8(const icu::UnicodeString& text);

}  // namespace platform::icu_dates
