#include "platform/core/IcuDates.h"

#include "platform/core/NSLocale.h"
#include "platform/core/NSTimeZone.h"

#include <unicode/simpletz.h>

namespace platform::icu_dates {

std::unique_ptr<icu::TimeZone> zoneFor(const Ref<NSTimeZone>& zone) {
    const long offset = zone ? zone->secondsFromGMT() : 0;
    const std::string name = zone ? zone->name() : std::string("UTC");
    return std::make_unique<icu::SimpleTimeZone>(static_cast<int32_t>(offset * 1000),
                                                 icu::UnicodeString::fromUTF8(name));
}

icu::Locale localeFor(const Ref<NSLocale>& locale) {
    const std::string identifier = (locale ? locale : NSLocale::currentLocale())->localeIdentifier();
    return icu::Locale(identifier.empty() ? "en" : identifier.c_str());
}

std::string toUTF8(const icu::UnicodeString& text) {
    std::string out;
    text.toUTF8String(out);
    return out;
}

}  // namespace platform::icu_dates
