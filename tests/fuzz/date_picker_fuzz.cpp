// What the date picker and the birthday banner read: the stored birthday string, read back as "dMMM" in the
// language it was written in; the date format template, whose best pattern in the device's language decides the
// wheels; and the minimum and maximum dates a turned wheel is held between. The language, the time zone and the
// dates come from the input too. None of it may crash; a text the strict reader accepts formats to a text it reads
// back as the same date; the wheels name each field once and in range; a birthday the card stores in the pane's
// own language is recognised on its day in any language; and a wheel that comes to rest shows a date between the
// bounds.

#include "platform/core/NSBundle.h"
#include "platform/core/NSCalendar.h"
#include "platform/core/NSDate.h"
#include "platform/core/NSDateComponents.h"
#include "platform/core/NSDateFormatter.h"
#include "platform/core/NSLocale.h"
#include "platform/core/NSTimeZone.h"
#include "platform/core/Value.h"
#include "prefs/pane/VNTBannerView.h"
#include "prefs/pane/VNTDatePickerController.h"
#include "prefs/pane/ZRVCDatePicker.h"
#include "tests/fuzz/FuzzValue.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>

namespace {

constexpr std::array<const char*, 12> kLanguages{"en",    "en-GB", "de", "fr", "ja",    "ar",
                                                 "fa",    "th",    "zh-Hans", "ru", "he", "hi"};
constexpr std::array<const char*, 4> kZones{"UTC", "Asia/Kolkata", "GMT-11", "GMT+14"};
constexpr std::array<const char*, 6> kTemplates{"yyyyMMMdjmm", "dMMM", "yyyyMMMd", "jmm", "MMMd", "yMdHm"};
// The birthday is written in the pane's shipping language, the one the banner reads an unmatched text in.
constexpr std::string_view kStoredLanguage = "en_US";

Ref<NSDate> dateWithin(FuzzedDataProvider& input, double from, double to) {
    return NSDate::dateWithTimeIntervalSince1970(input.ConsumeFloatingPointInRange(from, to));
}

Ref<NSDateFormatter> formatter(std::string format, Ref<NSLocale> locale) {
    auto f = alloc<NSDateFormatter>();
    f->setDateFormat(std::move(format));
    if (locale) f->setLocale(std::move(locale));
    return f;
}

// A text the strict reader accepts names one date: written out and read again it is that date, and written again
// it is the same text.
void checkReadBack(const Ref<NSDateFormatter>& reader, std::string_view text) {
    const Ref<NSDate> parsed = reader->dateFromString(text);
    if (!parsed) return;
    const std::string written = reader->stringFromDate(parsed);
    const Ref<NSDate> again = reader->dateFromString(written);
    fuzz::require(again && again->isEqualToDate(parsed), "an accepted date does not read back from its own text");
    fuzz::require(reader->stringFromDate(again) == written, "an accepted date's text drifts through a rewrite");
}

void storedBirthday(FuzzedDataProvider& input) {
    const Ref<NSDate> today = dateWithin(input, NSDate::kDistantPast, NSDate::kDistantFuture);
    const std::string text = input.ConsumeRemainingBytesAsString();
    VNTBannerView::isBirthday(Value(text), today);
    checkReadBack(formatter("dMMM", NSLocale::localeWithLocaleIdentifier(kStoredLanguage)), text);
    checkReadBack(formatter("dMMM", nullptr), text);
    checkReadBack(formatter("yyyy-MM-dd'T'HH:mm:ss", NSLocale::localeWithLocaleIdentifier("en_US_POSIX")), text);
}

void birthdayAcrossLanguages(FuzzedDataProvider& input, const char* language) {
    // A day of a year the wheels offer without a year column, at any time of the day.
    const Ref<NSDate> day = dateWithin(input, 1072915200, 1104537599);  // 2004-01-01 … 2004-12-31 UTC
    platform::setPreferredLanguages({"en"});
    const std::string stored = VNTDatePickerController::birthdayString(day);
    platform::setPreferredLanguages({language});
    fuzz::require(!stored.empty(), "a birthday was stored as nothing");
    fuzz::require(VNTBannerView::isBirthday(Value(stored), day), "a stored birthday is not recognised on its day");
}

// Making a picker asks ICU for the locale's patterns, which costs more than the rest of an input: one picker per
// language and template is kept, as the pane keeps its picker while the values it is given change. Setting a date
// sets every wheel, and the days of the month follow the date's month, so what an earlier input left does not
// decide what this one shows.
Ref<ZRVCDatePicker> pickerFor(const std::string& language, const std::string& dateTemplate) {
    static std::map<std::pair<std::string, std::string>, Ref<ZRVCDatePicker>> pickers;
    Ref<ZRVCDatePicker>& picker = pickers[{language, dateTemplate}];
    if (!picker) {
        picker = alloc<ZRVCDatePicker>();
        picker->initWithFrame(CGRectMake(0, 0, 355, 250));
        picker->setDateFormatTemplate(dateTemplate);
    }
    return picker;
}

void columns(FuzzedDataProvider& input, const char* language) {
    const std::string dateTemplate = input.ConsumeRandomLengthString(32);
    NSDateFormatter::dateFormatFromTemplateOptionsLocale(dateTemplate, 0, nullptr);
    auto picker = pickerFor(language, "");
    picker->setDateFormatTemplate(dateTemplate);
    const long count = picker->numberOfComponentsInPickerView(picker);
    fuzz::require(static_cast<std::size_t>(count) == picker->uniqueSymbols().size(), "wheels and fields differ");
    fuzz::require(count <= 6, "a field has two wheels");
    for (long component : {picker->dayComponent(), picker->monthComponent(), picker->yearComponent(),
                           picker->hourComponent(), picker->minuteComponent(), picker->ampmComponent()})
        fuzz::require(component == ZRVCDatePicker::kNotFound || (component >= 0 && component < count),
                      "a field's wheel is past the last wheel");
    for (long component = 0; component < count; ++component)
        picker->pickerViewTitleForRowForComponent(picker, input.ConsumeIntegral<long>(), component);
    fuzz::require(static_cast<bool>(picker->date()), "the wheels name no date");
}

void clamping(FuzzedDataProvider& input, const char* language) {
    auto picker = pickerFor(language, input.PickValueInArray(kTemplates));
    // Bounds within the centuries a birthday or an alarm lives in, so that a year wheel stays a wheel.
    Ref<NSDate> low = dateWithin(input, -5e9, 5e9), high = dateWithin(input, -5e9, 5e9);
    if (low->timeIntervalSince1970() > high->timeIntervalSince1970()) std::swap(low, high);
    picker->setMinimumDate(low);
    picker->setMaximumDate(high);
    const Ref<NSDate> shownFirst = dateWithin(input, -6e9, 6e9);
    picker->setDate(shownFirst);
    picker->updateNumberOfDays();
    picker->setDate(shownFirst);
    const long count = picker->numberOfComponentsInPickerView(picker);
    if (count == 0) return;
    const long component = input.ConsumeIntegralInRange<long>(0, count - 1);
    const long row = input.ConsumeIntegralInRange<long>(0, picker->pickerViewNumberOfRowsInComponent(picker, component));
    picker->UIPickerView::selectRowInComponentAnimated(row, component, false);
    picker->pickerViewDidSelectRowInComponent(picker, row, component);

    // Only a picker with every field down to the minute shows the date it was held to; the wheels drop seconds.
    const bool everyField = picker->yearComponent() != ZRVCDatePicker::kNotFound &&
                            picker->monthComponent() != ZRVCDatePicker::kNotFound &&
                            picker->dayComponent() != ZRVCDatePicker::kNotFound &&
                            picker->hourComponent() != ZRVCDatePicker::kNotFound &&
                            picker->minuteComponent() != ZRVCDatePicker::kNotFound;
    if (!everyField) return;
    const double shown = picker->date()->timeIntervalSince1970();
    const double lowest = std::floor(low->timeIntervalSince1970() / 60) * 60;
    fuzz::require(shown >= lowest && shown <= high->timeIntervalSince1970(),
                  "a wheel came to rest on a date outside the bounds");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const char* language = input.PickValueInArray(kLanguages);
    platform::setPreferredLanguages({language});
    NSTimeZone::setLocalTimeZoneName(input.PickValueInArray(kZones));
    switch (input.ConsumeIntegralInRange(0, 3)) {
        case 0: storedBirthday(input); break;
        case 1: birthdayAcrossLanguages(input, language); break;
        case 2: columns(input, language); break;
        default: clamping(input, language); break;
    }
    return 0;
}
