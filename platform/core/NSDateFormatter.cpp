#include "platform/core/NSDateFormatter.h"

#include "platform/core/IcuDates.h"
#include "platform/core/NSDate.h"
#include "platform/core/NSLocale.h"
#include "platform/core/NSTimeZone.h"
#include "platform/core/Runtime.h"

#include <unicode/dtfmtsym.h>
#include <unicode/dtptngen.h>
#include <unicode/smpdtfmt.h>

#include <cmath>
#include <memory>

VT_REGISTER_CLASS(NSDateFormatter)

namespace {

using platform::icu_dates::localeFor;
using platform::icu_dates::toUTF8;
using platform::icu_dates::zoneFor;

std::unique_ptr<icu::SimpleDateFormat> makeFormat(const std::string& pattern, const Ref<NSLocale>& locale,
                                                  const Ref<NSTimeZone>& zone) {
    UErrorCode status = U_ZERO_ERROR;
    auto format = std::make_unique<icu::SimpleDateFormat>(icu::UnicodeString::fromUTF8(pattern), localeFor(locale),
                                                          status);
    if (U_FAILURE(status)) return nullptr;
    format->adoptTimeZone(zoneFor(zone).release());
    return format;
}

}  // namespace

NSDateFormatter::NSDateFormatter() : m_locale(NSLocale::currentLocale()), m_timeZone(NSTimeZone::localTimeZone()) {}

std::optional<std::string> NSDateFormatter::dateFormatFromTemplateOptionsLocale(std::string_view dateTemplate,
                                                                                 unsigned long,
                                                                                 const Ref<NSLocale>& locale) {
    if (dateTemplate.empty()) return std::nullopt;
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::DateTimePatternGenerator> generator(
        icu::DateTimePatternGenerator::createInstance(localeFor(locale), status));
    if (U_FAILURE(status) || !generator) return std::nullopt;
    const icu::UnicodeString best =
        generator->getBestPattern(icu::UnicodeString::fromUTF8(std::string(dateTemplate)), status);
    if (U_FAILURE(status) || best.isEmpty()) return std::nullopt;
    return toUTF8(best);
}

void NSDateFormatter::setLocale(Ref<NSLocale> locale) { m_locale = locale ? std::move(locale) : NSLocale::currentLocale(); }

void NSDateFormatter::setTimeZone(Ref<NSTimeZone> zone) {
    m_timeZone = zone ? std::move(zone) : NSTimeZone::localTimeZone();
}

std::string NSDateFormatter::stringFromDate(const Ref<NSDate>& date) const {
    if (!date) return {};
    auto format = makeFormat(m_format, m_locale, m_timeZone);
    if (!format) return {};
    icu::UnicodeString out;
    format->format(date->timeIntervalSince1970() * 1000.0, out);
    return toUTF8(out);
}

Ref<NSDate> NSDateFormatter::dateFromString(std::string_view text) const {
    auto format = makeFormat(m_format, m_locale, m_timeZone);
    if (!format) return nullptr;
    format->setLenient(false);
    const icu::UnicodeString input = icu::UnicodeString::fromUTF8(std::string(text));
    icu::ParsePosition position(0);
    const UDate millis = format->parse(input, position);
    // Only a match of the whole text counts, as the device's formatter answers nil for trailing characters.
    if (position.getErrorIndex() >= 0 || position.getIndex() != input.length() || !std::isfinite(millis))
        return nullptr;
    return NSDate::dateWithTimeIntervalSince1970(millis / 1000.0);
}

std::vector<std::string> NSDateFormatter::shortMonthSymbols() const {
    UErrorCode status = U_ZERO_ERROR;
    icu::DateFormatSymbols symbols(localeFor(m_locale), status);
    std::vector<std::string> names;
    if (U_FAILURE(status)) return names;
    int32_t count = 0;
    const icu::UnicodeString* months =
        symbols.getMonths(count, icu::DateFormatSymbols::FORMAT, icu::DateFormatSymbols::ABBREVIATED);
    for (int32_t i = 0; i < count; ++i) names.push_back(toUTF8(months[i]));
    return names;
}

std::string NSDateFormatter::AMSymbol() const {
    UErrorCode status = U_ZERO_ERROR;
    icu::DateFormatSymbols symbols(localeFor(m_locale), status);
    int32_t count = 0;
    const icu::UnicodeString* marks = symbols.getAmPmStrings(count);
    return U_SUCCESS(status) && count > 0 ? toUTF8(marks[0]) : std::string("AM");
}

std::string NSDateFormatter::PMSymbol() const {
    UErrorCode status = U_ZERO_ERROR;
    icu::DateFormatSymbols symbols(localeFor(m_locale), status);
    int32_t count = 0;
    const icu::UnicodeString* marks = symbols.getAmPmStrings(count);
    return U_SUCCESS(status) && count > 1 ? toUTF8(marks[1]) : std::string("PM");
}
