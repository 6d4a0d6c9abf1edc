#include "prefs/pane/ZRVCDatePicker.h"

#include "platform/core/NSCalendar.h"
#include "platform/core/NSDate.h"
#include "platform/core/NSDateComponents.h"
#include "platform/core/NSDateFormatter.h"
#include "platform/core/NSLocale.h"
#include "platform/core/NSNotificationCenter.h"
#include "platform/core/NSTimeZone.h"
#include "platform/core/Runtime.h"
#include "platform/core/StringFormat.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIFont.h"
#include "platform/ui/UILabel.h"

#include <algorithm>
#include <cstdio>

VT_REGISTER_CLASS(ZRVCDatePicker, [](Class c) {
    using platform::runtime::addMethod;
    addMethod<&ZRVCDatePicker::date>(c, "date");
    addMethod<&ZRVCDatePicker::setDate>(c, "setDate:");
    addMethod<&ZRVCDatePicker::setDateAnimated>(c, "setDate:animated:");
    addMethod<&ZRVCDatePicker::refreshCurrentLocale>(c, "refreshCurrentLocale");
    addMethod<&ZRVCDatePicker::numberOfComponentsInPickerView>(c, "numberOfComponentsInPickerView:");
    addMethod<&ZRVCDatePicker::pickerViewNumberOfRowsInComponent>(c, "pickerView:numberOfRowsInComponent:");
    addMethod<&ZRVCDatePicker::pickerViewTitleForRowForComponent>(c, "pickerView:titleForRow:forComponent:");
    addMethod<&ZRVCDatePicker::pickerViewViewForRowForComponentReusingView>(
        c, "pickerView:viewForRow:forComponent:reusingView:");
    addMethod<&ZRVCDatePicker::pickerViewWidthForComponent>(c, "pickerView:widthForComponent:");
    addMethod<&ZRVCDatePicker::pickerViewDidSelectRowInComponent>(c, "pickerView:didSelectRow:inComponent:");
})

using platform::msgSend;

namespace {

constexpr std::string_view kDefaultTemplate = "yyyyMMMdjmm";
constexpr std::string_view kFieldLetters = "yMdHhma";
constexpr CGFloat kDefaultFontSize = 20;

std::string number(long value, bool twoDigits) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, twoDigits ? "%02ld" : "%ld", value);
    return buffer;
}

}  // namespace

void ZRVCDatePicker::initWithFrame(CGRect frame) {
    UIPickerView::initWithFrame(frame);
    commonInit();
}

void ZRVCDatePicker::commonInit() {
    setDataSource(self());
    setDelegate(self());
    setDateFormatTemplate(std::string(kDefaultTemplate));
    setMinimumDate(nullptr);
    setMaximumDate(nullptr);
    m_numberOfDays = 31;
    setDate(NSDate::date());
    setTextColor(nullptr);
    setTextFont(nullptr);
    updateNumberOfDays();
    NSNotificationCenter::defaultCenter()->addObserverSelectorNameObject(
        self(), sel("refreshCurrentLocale"), std::string(NSCurrentLocaleDidChangeNotification), nullptr);
}

void ZRVCDatePicker::setMinimumDate(Ref<NSDate> date) { m_minimumDate = date ? std::move(date) : NSDate::distantPast(); }

void ZRVCDatePicker::setMaximumDate(Ref<NSDate> date) {
    m_maximumDate = date ? std::move(date) : NSDate::distantFuture();
}

void ZRVCDatePicker::setTextColor(Ref<UIColor> color) { m_textColor = color ? std::move(color) : UIColor::blackColor(); }

void ZRVCDatePicker::setTextFont(Ref<UIFont> font) {
    m_textFont = font ? std::move(font) : UIFont::systemFontOfSize(kDefaultFontSize);
}

void ZRVCDatePicker::setDateFormatTemplate(std::string dateTemplate) {
    m_template = std::move(dateTemplate);
    const std::string format = NSDateFormatter::dateFormatFromTemplateOptionsLocale(
                                   m_template, 0, NSLocale::autoupdatingCurrentLocale())
                                   .value_or(std::string());
    m_uniqueSymbols.clear();
    // Text between single quotes is literal ("'at'" in English, "'às'" in Portuguese) and names no field; two
    // quotes in a row stand for a quote and leave the state as it was.
    bool literal = false;
    for (char c : format) {
        if (c == '\'') literal = !literal;
        if (literal || kFieldLetters.find(c) == std::string_view::npos) continue;
        const std::string letter(1, c);
        if (std::find(m_uniqueSymbols.begin(), m_uniqueSymbols.end(), letter) == m_uniqueSymbols.end())
            m_uniqueSymbols.push_back(letter);
    }
    auto position = [&](std::string_view letter) -> long {
        auto it = std::find(m_uniqueSymbols.begin(), m_uniqueSymbols.end(), letter);
        return it == m_uniqueSymbols.end() ? kNotFound : static_cast<long>(it - m_uniqueSymbols.begin());
    };
    m_day = position("d");
    m_month = position("M");
    m_year = position("y");
    m_hour = position("H");
    if (m_hour == kNotFound) m_hour = position("h");
    m_minute = position("m");
    m_ampm = position("a");
    updatePicker();
}

Ref<NSDateFormatter> ZRVCDatePicker::dateFormatter() {
    if (!m_dateFormatter) {
        m_dateFormatter = alloc<NSDateFormatter>();
        m_dateFormatter->setLocale(NSLocale::autoupdatingCurrentLocale());
        m_dateFormatter->setDateFormat(NSDateFormatter::dateFormatFromTemplateOptionsLocale(
                                           m_template, 0, NSLocale::autoupdatingCurrentLocale())
                                           .value_or(std::string()));
        m_dateFormatter->setTimeZone(NSTimeZone::localTimeZone());
    }
    return m_dateFormatter;
}

const std::vector<std::string>& ZRVCDatePicker::shortMonthNames() {
    if (m_shortMonthNames.empty()) m_shortMonthNames = dateFormatter()->shortMonthSymbols();
    return m_shortMonthNames;
}

const std::vector<std::string>& ZRVCDatePicker::ampmSymbols() {
    if (m_ampmSymbols.empty()) m_ampmSymbols = {dateFormatter()->AMSymbol(), dateFormatter()->PMSymbol()};
    return m_ampmSymbols;
}

long ZRVCDatePicker::yearOf(const Ref<NSDate>& date) const {
    return NSCalendar::currentCalendar()->componentFromDate(NSCalendarUnitYear, date);
}

bool ZRVCDatePicker::isLeapYear(long year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

long ZRVCDatePicker::rowForYear(long year) const { return year - yearOf(m_minimumDate) + 1; }

long ZRVCDatePicker::yearForRow(long row) const { return yearOf(m_minimumDate) + row; }

bool ZRVCDatePicker::isEndlessComponent(long component) const {
    return component == m_day || component == m_month || component == m_hour || component == m_minute;
}

long ZRVCDatePicker::realNumberOfRowsInComponent(long component) const {
    if (component == m_day) return m_numberOfDays;
    if (component == m_month) return 12;
    if (component == m_year) return yearOf(m_maximumDate) - yearOf(m_minimumDate) + 1;
    if (component == m_hour) return is24HourMode() ? 24 : 12;
    if (component == m_minute) return 60;
    if (component == m_ampm) return 2;
    return 0;
}

long ZRVCDatePicker::realSelectedRowInComponent(long component) const {
    const long n = realNumberOfRowsInComponent(component);
    const long row = selectedRowInComponent(component);
    if (n <= 0 || row < 0) return 0;
    return row % n;
}

void ZRVCDatePicker::selectRowInComponentAnimated(long row, long component, bool animated) {
    row = std::max(0L, row);
    if (isEndlessComponent(component)) {
        const long n = realNumberOfRowsInComponent(component);
        if (n > 0) row = (kEndlessMiddle / n) * n + row;
    }
    UIPickerView::selectRowInComponentAnimated(row, component, animated);
}

Ref<NSDate> ZRVCDatePicker::date() const {
    auto components = alloc<NSDateComponents>();
    if (m_day != kNotFound) components->setDay(realSelectedRowInComponent(m_day) + 1);
    if (m_month != kNotFound) components->setMonth(realSelectedRowInComponent(m_month) + 1);
    components->setYear(m_year != kNotFound ? yearForRow(realSelectedRowInComponent(m_year)) : kYearWithoutColumn);
    if (m_hour != kNotFound) {
        long hour = realSelectedRowInComponent(m_hour);
        if (!is24HourMode() && realSelectedRowInComponent(m_ampm) == 1) hour += 12;
        components->setHour(hour);
    }
    if (m_minute != kNotFound) components->setMinute(realSelectedRowInComponent(m_minute));
    return NSCalendar::currentCalendar()->dateFromComponents(components);
}

void ZRVCDatePicker::setDate(Ref<NSDate> date) { setDateAnimated(std::move(date), false); }

void ZRVCDatePicker::setDateAnimated(Ref<NSDate> date, bool animated) {
    if (!date) return;
    m_date = date;
    auto c = NSCalendar::currentCalendar()->componentsFromDate(
        NSCalendarUnitYear | NSCalendarUnitMonth | NSCalendarUnitDay | NSCalendarUnitHour | NSCalendarUnitMinute, date);
    if (m_day != kNotFound) selectRowInComponentAnimated(c->day() - 1, m_day, animated);
    if (m_month != kNotFound) selectRowInComponentAnimated(c->month() - 1, m_month, animated);
    if (m_year != kNotFound) selectRowInComponentAnimated(rowForYear(c->year()) - 1, m_year, animated);
    if (m_hour != kNotFound)
        selectRowInComponentAnimated(!is24HourMode() && c->hour() >= 12 ? c->hour() - 12 : c->hour(), m_hour, animated);
    if (m_minute != kNotFound) selectRowInComponentAnimated(c->minute(), m_minute, animated);
    if (m_ampm != kNotFound) selectRowInComponentAnimated(c->hour() > 11 ? 1 : 0, m_ampm, animated);
}

Ref<NSDate> ZRVCDatePicker::referenceDate() const {
    auto components = alloc<NSDateComponents>();
    if (m_year == kNotFound) components->setYear(kYearWithoutColumn);
    return NSCalendar::currentCalendar()->dateFromComponents(components);
}

double ZRVCDatePicker::seconds() const { return date()->timeIntervalSinceDate(referenceDate()); }

void ZRVCDatePicker::setSeconds(double seconds) { setDateAnimated(referenceDate()->dateByAddingTimeInterval(seconds), true); }

void ZRVCDatePicker::updateNumberOfDays() {
    auto combined = date();
    if (!combined) return;
    auto calendar = NSCalendar::currentCalendar();
    const long month = calendar->componentFromDate(NSCalendarUnitMonth, combined);
    const long year = calendar->componentFromDate(NSCalendarUnitYear, combined);
    const long thisYear = calendar->componentFromDate(NSCalendarUnitYear, NSDate::date());
    if (month == 4 || month == 6 || month == 9 || month == 11) m_numberOfDays = 30;
    else if (month == 2) {
        // Only past Februaries since 1900 are held to their real length; any other year offers the 29th, and a
        // 29th that the year does not have rolls over to 1 March, which the wheels then show.
        if (m_year != kNotFound && year >= 1900 && year <= thisYear) m_numberOfDays = isLeapYear(year) ? 29 : 28;
        else m_numberOfDays = 29;
    } else
        m_numberOfDays = 31;
}

void ZRVCDatePicker::updatePicker() {
    reloadAllComponents();
    if (m_date) setDate(m_date);
}

void ZRVCDatePicker::didSelectDate() {
    auto combined = date();
    if (auto delegate = dateDelegate(); delegate && delegate->respondsToSelector(sel("datePicker:didSelectDate:")))
        msgSend<void, Ref<ZRVCDatePicker>, Ref<NSDate>>(delegate.get(), sel("datePicker:didSelectDate:"),
                                                        self<ZRVCDatePicker>(), combined);
    if (m_handler) m_handler(combined, seconds());
}

void ZRVCDatePicker::refreshCurrentLocale() {
    m_dateFormatter = nullptr;
    m_shortMonthNames.clear();
    m_ampmSymbols.clear();
    setDateFormatTemplate(m_template);
    didSelectDate();
}

long ZRVCDatePicker::numberOfComponentsInPickerView(Ref<UIPickerView>) {
    return static_cast<long>(m_uniqueSymbols.size());
}

long ZRVCDatePicker::pickerViewNumberOfRowsInComponent(Ref<UIPickerView>, long component) {
    return isEndlessComponent(component) ? kEndlessRows : realNumberOfRowsInComponent(component);
}

std::string ZRVCDatePicker::pickerViewTitleForRowForComponent(Ref<UIPickerView>, long row, long component) {
    const long n = realNumberOfRowsInComponent(component);
    const long r = n > 0 ? row % n : row;
    if (component == m_day) return number(r + 1, false);
    if (component == m_month) {
        const auto& names = shortMonthNames();
        return r >= 0 && r < static_cast<long>(names.size()) ? names[static_cast<std::size_t>(r)] : std::string();
    }
    if (component == m_year) return number(yearForRow(r), false);
    if (component == m_hour) return is24HourMode() ? number(r, true) : number(r == 0 ? 12 : r, false);
    if (component == m_minute) return number(r, true);
    if (component == m_ampm) {
        const auto& marks = ampmSymbols();
        return r >= 0 && r < static_cast<long>(marks.size()) ? marks[static_cast<std::size_t>(r)] : std::string();
    }
    return {};
}

Ref<UIView> ZRVCDatePicker::pickerViewViewForRowForComponentReusingView(Ref<UIPickerView> picker, long row,
                                                                        long component, Ref<UIView> reusing) {
    auto label = cast<UILabel>(reusing);
    if (!label) {
        label = alloc<UILabel>();
        label->initWithFrame(CGRectZero);
    }
    label->setTextAlignment(NSTextAlignmentCenter);
    label->setTextColor(m_textColor);
    label->setFont(m_textFont);
    label->setText(pickerViewTitleForRowForComponent(std::move(picker), row, component));
    return label;
}

CGFloat ZRVCDatePicker::pickerViewWidthForComponent(Ref<UIPickerView>, long component) {
    if (component == m_day) return 30;
    if (component == m_month) return 65;
    if (component == m_year) return 60;
    if (component == m_hour) return 30;
    if (component == m_minute) return 30;
    if (component == m_ampm) return 50;
    return 0;
}

void ZRVCDatePicker::pickerViewDidSelectRowInComponent(Ref<UIPickerView>, long row, long component) {
    const long n = realNumberOfRowsInComponent(component);
    auto d = date();
    if (!d) return;
    if (d->timeIntervalSince1970() > m_maximumDate->timeIntervalSince1970()) d = m_maximumDate;
    if (d->timeIntervalSince1970() < m_minimumDate->timeIntervalSince1970()) d = m_minimumDate;
    selectRowInComponentAnimated(n > 0 ? row % n : row, component, false);
    setDateAnimated(d, true);
    didSelectDate();
    updateNumberOfDays();
    updatePicker();
}
