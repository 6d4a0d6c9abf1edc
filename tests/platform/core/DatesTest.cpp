// Calendars, formats and locales of the platform, against hand-worked dates and against ICU asked directly.
#include "platform/core/NSCalendar.h"
#include "platform/core/NSBundle.h"
#include "platform/core/NSDate.h"
#include "platform/core/NSDateComponents.h"
#include "platform/core/NSDateFormatter.h"
#include "platform/core/NSLocale.h"
#include "platform/core/NSNotificationCenter.h"
#include "platform/core/NSTimeZone.h"
#include "platform/core/Runtime.h"

#include <unicode/dtfmtsym.h>
#include <unicode/dtptngen.h>
#include <unicode/smpdtfmt.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// Seconds since 1970 of a UTC civil time (days from civil, worked by hand for the table's dates).
constexpr double k2024Jan1 = 1704067200;     // 2024-01-01 00:00 UTC
constexpr double k2024Mar5 = 1709596800;     // 2024-03-05 00:00 UTC
constexpr double k2004Mar2 = 1078185600;     // 2004-03-02 00:00 UTC
constexpr double k2001Jan1 = 978307200;      // 2001-01-01 00:00 UTC, the reference date
constexpr double k2005Jan1 = 1104537600;     // 2005-01-01 00:00 UTC

// The device's locale and zone for one test, put back afterwards.
class Dates : public testing::Test {
protected:
    void TearDown() override {
        platform::setPreferredLanguages({});
        NSTimeZone::setLocalTimeZoneName("UTC");
    }
    static void useLocale(const std::string& id) { platform::setPreferredLanguages({id}); }
    static std::string icuFormat(const std::string& pattern, const char* locale, double seconds) {
        UErrorCode status = U_ZERO_ERROR;
        icu::SimpleDateFormat format(icu::UnicodeString::fromUTF8(pattern), icu::Locale(locale), status);
        format.adoptTimeZone(icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8("UTC")));
        icu::UnicodeString out;
        format.format(seconds * 1000, out);
        std::string text;
        out.toUTF8String(text);
        return text;
    }
    static std::string icuBestPattern(const char* locale, const char* skeleton) {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::DateTimePatternGenerator> generator(
            icu::DateTimePatternGenerator::createInstance(icu::Locale(locale), status));
        std::string text;
        generator->getBestPattern(icu::UnicodeString::fromUTF8(skeleton), status).toUTF8String(text);
        return text;
    }
};

TEST_F(Dates, ComponentsOfADateFollowTheDevicesZone) {
    struct Case {
        const char* zone;
        double seconds;
        long year, month, day, hour, minute;
    };
    const Case cases[] = {
        {"UTC", k2024Jan1, 2024, 1, 1, 0, 0},
        {"Asia/Kolkata", k2024Jan1, 2024, 1, 1, 5, 30},
        {"America/New_York", k2024Jan1, 2023, 12, 31, 19, 0},
        {"UTC", k2024Mar5 + 23 * 3600 + 59 * 60, 2024, 3, 5, 23, 59},
        {"UTC", NSDate::kDistantPast, 1, 1, 1, 0, 0},
        {"UTC", NSDate::kDistantFuture, 4001, 1, 1, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.zone) + " " + std::to_string(c.seconds));
        ASSERT_TRUE(NSTimeZone::setLocalTimeZoneName(c.zone));
        auto parts = NSCalendar::currentCalendar()->componentsFromDate(
            NSCalendarUnitYear | NSCalendarUnitMonth | NSCalendarUnitDay | NSCalendarUnitHour | NSCalendarUnitMinute,
            NSDate::dateWithTimeIntervalSince1970(c.seconds));
        EXPECT_EQ(parts->year(), c.year);
        EXPECT_EQ(parts->month(), c.month);
        EXPECT_EQ(parts->day(), c.day);
        EXPECT_EQ(parts->hour(), c.hour);
        EXPECT_EQ(parts->minute(), c.minute);
        EXPECT_EQ(parts->second(), NSDateComponentUndefined) << "only the asked units are filled";
    }
}

TEST_F(Dates, DatesFromComponentsAreLenient) {
    struct Case {
        long year, month, day;
        std::optional<double> seconds;
    };
    const long u = NSDateComponentUndefined;
    const Case cases[] = {
        {2004, 2, 31, k2004Mar2},           // past the month's end rolls into March
        {2004, 3, 2, k2004Mar2},
        {2004, 13, 1, k2005Jan1},           // a 13th month is January of the next year
        {u, u, u, k2001Jan1},               // nothing set: the reference date
        {2024, u, u, k2024Jan1},
        {2024, 3, 5, k2024Mar5},
        {2024, 3, 0, k2024Mar5 - 5 * 86400},  // day 0 is the last of February (a leap year)
    };
    auto calendar = NSCalendar::currentCalendar();
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.year) + "-" + std::to_string(c.month) + "-" + std::to_string(c.day));
        auto parts = alloc<NSDateComponents>();
        parts->setYear(c.year);
        parts->setMonth(c.month);
        parts->setDay(c.day);
        auto date = calendar->dateFromComponents(parts);
        ASSERT_TRUE(date);
        EXPECT_EQ(date->timeIntervalSince1970(), *c.seconds);
    }
    EXPECT_FALSE(calendar->dateFromComponents(nullptr));
    auto huge = alloc<NSDateComponents>();
    huge->setYear(1L << 40);
    EXPECT_FALSE(calendar->dateFromComponents(huge)) << "no date has a year past ICU's fields";
}

TEST_F(Dates, ComponentsAreBuiltInTheCalendarsZone) {
    ASSERT_TRUE(NSTimeZone::setLocalTimeZoneName("Europe/Berlin"));
    auto parts = alloc<NSDateComponents>();
    parts->setYear(2024);
    auto date = NSCalendar::currentCalendar()->dateFromComponents(parts);
    EXPECT_EQ(date->timeIntervalSince1970(), k2024Jan1 - 3600) << "midnight in Berlin is 23:00 UTC";
    EXPECT_TRUE(NSCalendar::calendarWithIdentifier("gregorian"));
    EXPECT_FALSE(NSCalendar::calendarWithIdentifier("hebrew"));
}

TEST_F(Dates, FixedFormatsSpeakTheCurrentLanguage) {
    struct Case {
        const char* locale;
        const char* pattern;
        const char* expected;  // empty: ICU asked directly is the oracle
    };
    const Case cases[] = {
        {"en", "dMMM", "5Mar"},
        {"en-GB", "dMMM", "5Mar"},
        {"de", "dMMM", "5März"},
        {"ja", "dMMM", ""},
        {"en", "yyyy-MM-dd HH:mm", "2024-03-05 00:00"},
    };
    const auto date = NSDate::dateWithTimeIntervalSince1970(k2024Mar5);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.locale) + " " + c.pattern);
        useLocale(c.locale);
        auto formatter = alloc<NSDateFormatter>();
        formatter->setDateFormat(c.pattern);
        const std::string expected = *c.expected ? std::string(c.expected)
                                                  : icuFormat(c.pattern, NSLocale::canonicalLocaleIdentifier(c.locale).c_str(),
                                                              k2024Mar5);
        EXPECT_EQ(formatter->stringFromDate(date), expected);
    }
    EXPECT_EQ(alloc<NSDateFormatter>()->stringFromDate(nullptr), "");
}

TEST_F(Dates, AFormatterKeepsTheLocaleItWasMadeIn) {
    useLocale("en");
    auto formatter = alloc<NSDateFormatter>();
    formatter->setDateFormat("dMMM");
    useLocale("de");
    EXPECT_EQ(formatter->stringFromDate(NSDate::dateWithTimeIntervalSince1970(k2024Mar5)), "5Mar");
    formatter->setLocale(NSLocale::autoupdatingCurrentLocale());
    EXPECT_EQ(formatter->stringFromDate(NSDate::dateWithTimeIntervalSince1970(k2024Mar5)), "5März");
}

TEST_F(Dates, BestPatternsForTemplatesAreTheLocales) {
    struct Case {
        const char* locale;
        const char* skeleton;
        const char* expected;
    };
    const Case cases[] = {
        {"en", "dMMM", "MMM d"},       // month before day
        {"en-GB", "dMMM", "d MMM"},
        {"de", "dMMM", "d. MMM"},
        {"ja", "dMMM", "M月d日"},       // month before day, another script
        {"en", "j", "h\u202Fa"},      // twelve hours (a narrow no-break space before the period)
        {"en-GB", "j", "HH"},          // twenty-four
        {"de", "jmm", "HH:mm"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.locale) + " " + c.skeleton);
        auto pattern = NSDateFormatter::dateFormatFromTemplateOptionsLocale(
            c.skeleton, 0, NSLocale::localeWithLocaleIdentifier(c.locale));
        ASSERT_TRUE(pattern);
        EXPECT_EQ(*pattern, c.expected);
        EXPECT_EQ(*pattern, icuBestPattern(NSLocale::canonicalLocaleIdentifier(c.locale).c_str(), c.skeleton));
    }
    EXPECT_FALSE(NSDateFormatter::dateFormatFromTemplateOptionsLocale("", 0, nullptr));
}

TEST_F(Dates, MonthAndDayPeriodSymbolsComeFromTheLocale) {
    for (const char* locale : {"en", "en-GB", "de", "ja"}) {
        SCOPED_TRACE(locale);
        auto formatter = alloc<NSDateFormatter>();
        formatter->setLocale(NSLocale::localeWithLocaleIdentifier(locale));
        UErrorCode status = U_ZERO_ERROR;
        icu::DateFormatSymbols symbols(icu::Locale(NSLocale::canonicalLocaleIdentifier(locale).c_str()), status);
        int32_t count = 0;
        const icu::UnicodeString* months =
            symbols.getMonths(count, icu::DateFormatSymbols::FORMAT, icu::DateFormatSymbols::ABBREVIATED);
        const auto names = formatter->shortMonthSymbols();
        ASSERT_EQ(names.size(), 12u);
        ASSERT_EQ(count, 12);
        for (int i = 0; i < 12; ++i) {
            std::string expected;
            months[i].toUTF8String(expected);
            EXPECT_EQ(names[static_cast<std::size_t>(i)], expected) << i;
        }
        const icu::UnicodeString* marks = symbols.getAmPmStrings(count);
        std::string am, pm;
        marks[0].toUTF8String(am);
        marks[1].toUTF8String(pm);
        EXPECT_EQ(formatter->AMSymbol(), am);
        EXPECT_EQ(formatter->PMSymbol(), pm);
    }
    auto english = alloc<NSDateFormatter>();
    english->setLocale(NSLocale::localeWithLocaleIdentifier("en_US"));
    EXPECT_EQ(english->shortMonthSymbols()[2], "Mar");
    EXPECT_EQ(english->AMSymbol(), "AM");
}

TEST_F(Dates, ParsingTakesOnlyWholeRealDates) {
    auto formatter = alloc<NSDateFormatter>();
    formatter->setLocale(NSLocale::localeWithLocaleIdentifier("en_US"));
    formatter->setDateFormat("dMMM");
    auto parsed = formatter->dateFromString("5Mar");
    ASSERT_TRUE(parsed);
    auto parts = NSCalendar::currentCalendar()->componentsFromDate(NSCalendarUnitMonth | NSCalendarUnitDay, parsed);
    EXPECT_EQ(parts->month(), 3);
    EXPECT_EQ(parts->day(), 5);
    for (const char* bad : {"31Feb", "5Mar!", "", "Mar5", "5März", "32Jan"})
        EXPECT_FALSE(formatter->dateFromString(bad)) << bad;
}

TEST_F(Dates, LocaleIdentifiersAreCanonicalAndKnownOnlyWithData) {
    EXPECT_EQ(NSLocale::canonicalLocaleIdentifier("en-GB"), "en_GB");
    EXPECT_EQ(NSLocale::canonicalLocaleIdentifier("de"), "de");
    EXPECT_EQ(NSLocale::canonicalLocaleIdentifier(""), "");
    for (const char* known : {"en", "en-US", "en_GB", "de", "de-AT", "ja", "fr"}) EXPECT_TRUE(NSLocale::isKnownLocaleIdentifier(known)) << known;
    for (const char* unknown : {"xx", "qq_ZZ", "en_QQ", "", "-"}) EXPECT_FALSE(NSLocale::isKnownLocaleIdentifier(unknown)) << unknown;
}

// Counts the posts it hears.
class LocaleListener : public NSObject {
    VT_OBJECT(LocaleListener, NSObject)
public:
    void heard() { ++count; identifiers.push_back(NSLocale::autoupdatingCurrentLocale()->localeIdentifier()); }
    int count = 0;
    std::vector<std::string> identifiers;
};

}  // namespace

VT_REGISTER_CLASS(LocaleListener, [](Class c) { platform::runtime::addMethod<&LocaleListener::heard>(c, "heard"); })

namespace {

TEST_F(Dates, TheAutoupdatingLocaleFollowsTheDeviceAndTheChangeIsAnnounced) {
    useLocale("en");
    auto fixed = NSLocale::currentLocale();
    auto following = NSLocale::autoupdatingCurrentLocale();
    auto listener = alloc<LocaleListener>();
    NSNotificationCenter::defaultCenter()->addObserverSelectorNameObject(
        listener, sel("heard"), std::string(NSCurrentLocaleDidChangeNotification), nullptr);
    useLocale("de");
    platform::currentLocaleDidChange();
    EXPECT_EQ(listener->count, 1);
    EXPECT_EQ(listener->identifiers, std::vector<std::string>{"de"}) << "observers already see the new locale";
    EXPECT_EQ(fixed->localeIdentifier(), "en");
    EXPECT_EQ(following->localeIdentifier(), "de");
    EXPECT_TRUE(following->isAutoupdating());
    NSNotificationCenter::defaultCenter()->removeObserver(listener);
}

}  // namespace
