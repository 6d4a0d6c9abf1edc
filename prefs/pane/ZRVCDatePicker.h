#pragma once

// A date picker on the platform's wheel picker with calendar logic of its own: its columns come from a date
// format template in the user's locale (the locale's best pattern for the template, so "dMMM" gives day then
// month in British English and month then day in American English); the day, month, hour and minute wheels are
// endless (16384 rows, kept near row 8192); February has 28 or 29 days by the year; the chosen date stays between a
// minimum and a maximum. Without a year column the year is 2004, a leap year, so 29 February can be picked.
//
// It is its own data source and delegate. Published (besides the picker's own):
//   "date" Ref<NSDate> ()   "setDate:" void (Ref<NSDate>)   "setDate:animated:" void (Ref<NSDate>, bool)
//   "refreshCurrentLocale" void ()  — the observer of the current-locale-did-change notification
// Delegate protocol of `dateDelegate` (weak): "datePicker:didSelectDate:" void (Ref<ZRVCDatePicker>, Ref<NSDate>).

#include "platform/ui/UIPickerView.h"

#include <climits>
#include <functional>
#include <string>
#include <vector>

class NSDate;
class NSDateFormatter;
class UIColor;
class UIFont;

class ZRVCDatePicker : public UIPickerView {
    VT_OBJECT(ZRVCDatePicker, UIPickerView)
public:
    // The column index of a field the format does not have.
    static constexpr long kNotFound = LONG_MAX;
    static constexpr long kEndlessRows = 16384;
    static constexpr long kEndlessMiddle = 8192;
    static constexpr long kYearWithoutColumn = 2004;

    using Handler = std::function<void(Ref<NSDate> date, double seconds)>;

    void initWithFrame(CGRect frame) override;

    // The date the wheels show, combined (lenient: 31 February 2004 is 2 March 2004).
    Ref<NSDate> date() const;
    void setDate(Ref<NSDate> date);
    void setDateAnimated(Ref<NSDate> date, bool animated);
    // Null restores the distant past / future.
    Ref<NSDate> minimumDate() const { return m_minimumDate; }
    void setMinimumDate(Ref<NSDate> date);
    Ref<NSDate> maximumDate() const { return m_maximumDate; }
    void setMaximumDate(Ref<NSDate> date);
    // Null restores black / the 20-point system font.
    Ref<UIColor> textColor() const { return m_textColor; }
    void setTextColor(Ref<UIColor> color);
    Ref<UIFont> textFont() const { return m_textFont; }
    void setTextFont(Ref<UIFont> font);
    const std::string& dateFormatTemplate() const { return m_template; }
    // Decides the columns from the locale's best pattern for the template, then reloads.
    void setDateFormatTemplate(std::string dateTemplate);
    id dateDelegate() const { return m_dateDelegate.lock(); }
    void setDateDelegate(const id& delegate) { m_dateDelegate = delegate; }
    void setHandler(Handler handler) { m_handler = std::move(handler); }

    long dayComponent() const { return m_day; }
    long monthComponent() const { return m_month; }
    long yearComponent() const { return m_year; }
    long hourComponent() const { return m_hour; }
    long minuteComponent() const { return m_minute; }
    long ampmComponent() const { return m_ampm; }
    long numberOfDays() const { return m_numberOfDays; }
    const std::vector<std::string>& uniqueSymbols() const { return m_uniqueSymbols; }
    const std::vector<std::string>& shortMonthNames();
    const std::vector<std::string>& ampmSymbols();
    Ref<NSDateFormatter> dateFormatter();
    bool is24HourMode() const { return m_ampm == kNotFound; }
    // The date of empty components in the current calendar, in 2004 when there is no year column.
    Ref<NSDate> referenceDate() const;
    double seconds() const;
    void setSeconds(double seconds);

    static bool isLeapYear(long year);
    long rowForYear(long year) const;
    long yearForRow(long row) const;
    bool isEndlessComponent(long component) const;
    long realNumberOfRowsInComponent(long component) const;
    long realSelectedRowInComponent(long component) const;

    // Selection near the middle of an endless wheel; a negative row counts as 0.
    void selectRowInComponentAnimated(long row, long component, bool animated) override;

    // Data source and delegate of the wheels.
    long numberOfComponentsInPickerView(Ref<UIPickerView> picker);
    long pickerViewNumberOfRowsInComponent(Ref<UIPickerView> picker, long component);
    std::string pickerViewTitleForRowForComponent(Ref<UIPickerView> picker, long row, long component);
    Ref<UIView> pickerViewViewForRowForComponentReusingView(Ref<UIPickerView> picker, long row, long component,
                                                            Ref<UIView> reusing);
    CGFloat pickerViewWidthForComponent(Ref<UIPickerView> picker, long component);
    void pickerViewDidSelectRowInComponent(Ref<UIPickerView> picker, long row, long component);

    // Forgets the formatter, the month names and the am/pm symbols, applies the template again (the columns may
    // change) and tells the delegate and the handler.
    void refreshCurrentLocale();
    void updateNumberOfDays();
    void updatePicker();

private:
    void commonInit();
    void didSelectDate();
    long yearOf(const Ref<NSDate>& date) const;

    Ref<NSDate> m_date;          // the date last shown, shown again after each reload
    Ref<NSDate> m_minimumDate;
    Ref<NSDate> m_maximumDate;
    Ref<UIColor> m_textColor;
    Ref<UIFont> m_textFont;
    std::string m_template;
    Weak<NSObject> m_dateDelegate;
    Handler m_handler;
    long m_day = kNotFound, m_month = kNotFound, m_year = kNotFound;
    long m_hour = kNotFound, m_minute = kNotFound, m_ampm = kNotFound;
    long m_numberOfDays = 31;
    std::vector<std::string> m_uniqueSymbols;
    std::vector<std::string> m_shortMonthNames;
    std::vector<std::string> m_ampmSymbols;
    Ref<NSDateFormatter> m_dateFormatter;
};
