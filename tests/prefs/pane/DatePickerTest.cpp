// The date picker and the birthday card: columns from the locale, endless wheels, the days of February, combining
// and clamping, the stored birthday, wheels turned by a finger, and the card presented from the profile page.
#include "prefs/pane/VNTDatePickerController.h"
#include "prefs/pane/VNTProfileController.h"
#include "prefs/pane/ZRVCDatePicker.h"

#include "common/Keys.h"
#include "platform/core/Clock.h"
#include "platform/core/NSBundle.h"
#include "platform/core/NSCalendar.h"
#include "platform/core/NSDate.h"
#include "platform/core/NSDateComponents.h"
#include "platform/core/NSLocale.h"
#include "platform/core/Runtime.h"
#include "platform/harness/TouchDriver.h"
#include "platform/host/PSSpecifier.h"
#include "platform/ui/CALayer.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UIScreen.h"
#include "prefs/pane/VNTPrimraryController.h"
#include "tests/prefs/pane/PaneFixture.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

using platform::msgSend;

constexpr double k2024Mar5 = 1709596800;  // 2024-03-05 00:00 UTC

Ref<NSDate> dateOf(long year, long month, long day, long hour = 0, long minute = 0) {
    auto parts = alloc<NSDateComponents>();
    parts->setYear(year);
    parts->setMonth(month);
    parts->setDay(day);
    parts->setHour(hour);
    parts->setMinute(minute);
    return NSCalendar::currentCalendar()->dateFromComponents(parts);
}

struct Ymd {
    long year, month, day;
    friend bool operator==(const Ymd&, const Ymd&) = default;
};
std::ostream& operator<<(std::ostream& os, const Ymd& d) { return os << d.year << "-" << d.month << "-" << d.day; }

Ymd ymd(const Ref<NSDate>& date) {
    auto c = NSCalendar::currentCalendar()->componentsFromDate(NSCalendarUnitYear | NSCalendarUnitMonth | NSCalendarUnitDay, date);
    return {c->year(), c->month(), c->day()};
}

// Hears the picker's delegate message.
class DateListener : public NSObject {
    VT_OBJECT(DateListener, NSObject)
public:
    std::vector<Ymd> heard;
    void didSelect(Ref<ZRVCDatePicker>, Ref<NSDate> date) { heard.push_back(ymd(date)); }
};

}  // namespace

VT_REGISTER_CLASS(DateListener, [](Class c) { platform::runtime::addMethod<&DateListener::didSelect>(c, "datePicker:didSelectDate:"); })

namespace {

class DatePicker : public panetest::PaneFixture {
protected:
    void SetUp() override {
        PaneFixture::SetUp();
        platform::Clock::setNow(k2024Mar5 + 9 * 3600);
    }
    void TearDown() override {
        platform::setPreferredLanguages({});
        PaneFixture::TearDown();
    }
    static Ref<ZRVCDatePicker> makePicker(const std::string& dateTemplate) {
        auto picker = alloc<ZRVCDatePicker>();
        picker->initWithFrame(CGRectMake(0, 0, 355, 250));
        picker->setDateFormatTemplate(dateTemplate);
        return picker;
    }
    // What the wheel shows in the band.
    static std::string shown(const Ref<ZRVCDatePicker>& p, long component) {
        return p->pickerViewTitleForRowForComponent(p, p->selectedRowInComponent(component), component);
    }
    // A wheel comes to rest on `row` as after a turn: the picker's own delegate method.
    static void rest(const Ref<ZRVCDatePicker>& p, long component, long realRow) {
        const long row = p->selectedRowInComponent(component) - p->realSelectedRowInComponent(component) + realRow;
        p->UIPickerView::selectRowInComponentAnimated(row, component, false);
        p->pickerViewDidSelectRowInComponent(p, row, component);
    }
};

TEST_F(DatePicker, ColumnsFollowTheLanguagesOrder) {
    struct Case {
        const char* language;
        const char* dateTemplate;
        std::vector<std::string> symbols;
        bool twentyFour;
    };
    const Case cases[] = {
        {"en", "dMMM", {"M", "d"}, true},
        {"en-GB", "dMMM", {"d", "M"}, true},
        {"de", "dMMM", {"d", "M"}, true},
        {"ja", "dMMM", {"M", "d"}, true},
        {"en", "yyyyMMMdjmm", {"M", "d", "y", "h", "m", "a"}, false},
        {"en-GB", "yyyyMMMdjmm", {"d", "M", "y", "H", "m"}, true},
        {"de", "yyyyMMMdjmm", {"d", "M", "y", "H", "m"}, true},
        // Long month names bring quoted words ("'at'", "'de'", "'às'") whose letters are no fields.
        {"en", "yyyyMMMMdjmm", {"M", "d", "y", "h", "m", "a"}, false},
        {"en-GB", "yyyyMMMMdjmm", {"d", "M", "y", "H", "m"}, true},
        {"pt", "yyyyMMMMdjmm", {"d", "M", "y", "H", "m"}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.language) + " " + c.dateTemplate);
        platform::setPreferredLanguages({c.language});
        auto picker = makePicker(c.dateTemplate);
        EXPECT_EQ(picker->uniqueSymbols(), c.symbols);
        EXPECT_EQ(picker->numberOfComponents(), static_cast<long>(c.symbols.size()));
        EXPECT_EQ(picker->is24HourMode(), c.twentyFour);
        const auto at = [&](const char* s) {
            auto it = std::find(c.symbols.begin(), c.symbols.end(), s);
            return it == c.symbols.end() ? ZRVCDatePicker::kNotFound : static_cast<long>(it - c.symbols.begin());
        };
        EXPECT_EQ(picker->dayComponent(), at("d"));
        EXPECT_EQ(picker->monthComponent(), at("M"));
        EXPECT_EQ(picker->yearComponent(), at("y"));
        EXPECT_EQ(picker->ampmComponent(), at("a"));
    }
}

TEST_F(DatePicker, EndlessWheelsSitNearTheMiddleAndShowTheirTitles) {
    platform::setPreferredLanguages({"en"});
    auto picker = makePicker("yyyyMMMdjmm");
    picker->setMinimumDate(dateOf(1990, 1, 1));
    picker->setMaximumDate(dateOf(2030, 12, 31));
    picker->setDate(dateOf(2024, 3, 5, 13, 7));
    EXPECT_EQ(picker->pickerViewNumberOfRowsInComponent(picker, picker->dayComponent()), 16384);
    EXPECT_EQ(picker->pickerViewNumberOfRowsInComponent(picker, picker->yearComponent()), 41);
    EXPECT_EQ(picker->pickerViewNumberOfRowsInComponent(picker, picker->ampmComponent()), 2);
    EXPECT_EQ(picker->selectedRowInComponent(picker->monthComponent()), 8184 + 2) << "682 × 12 + March";
    EXPECT_EQ(picker->selectedRowInComponent(picker->yearComponent()), 34);
    EXPECT_EQ(shown(picker, picker->monthComponent()), "Mar");
    EXPECT_EQ(shown(picker, picker->dayComponent()), "5");
    EXPECT_EQ(shown(picker, picker->yearComponent()), "2024");
    EXPECT_EQ(shown(picker, picker->hourComponent()), "1");
    EXPECT_EQ(shown(picker, picker->minuteComponent()), "07");
    EXPECT_EQ(shown(picker, picker->ampmComponent()), "PM");
    EXPECT_EQ(ymd(picker->date()), (Ymd{2024, 3, 5}));
    // Twelve-hour titles: row 0 is 12; twenty-four-hour: 00 to 23.
    EXPECT_EQ(picker->pickerViewTitleForRowForComponent(picker, 0, picker->hourComponent()), "12");
    EXPECT_EQ(picker->pickerViewTitleForRowForComponent(picker, 11, picker->hourComponent()), "11");
    platform::setPreferredLanguages({"en-GB"});
    auto british = makePicker("jmm");
    EXPECT_EQ(british->pickerViewTitleForRowForComponent(british, 0, british->hourComponent()), "00");
    EXPECT_EQ(british->pickerViewTitleForRowForComponent(british, 23, british->hourComponent()), "23");
    EXPECT_EQ(british->realNumberOfRowsInComponent(british->hourComponent()), 24);
    const std::pair<long, CGFloat> widths[] = {{picker->dayComponent(), 30}, {picker->monthComponent(), 65},
                                               {picker->yearComponent(), 60}, {picker->hourComponent(), 30},
                                               {picker->minuteComponent(), 30}, {picker->ampmComponent(), 50},
                                               {17, 0}};
    for (const auto& [component, width] : widths) EXPECT_EQ(picker->pickerViewWidthForComponent(picker, component), width);
    picker->selectRowInComponentAnimated(-4, picker->dayComponent(), false);
    EXPECT_EQ(picker->realSelectedRowInComponent(picker->dayComponent()), 0) << "a negative row counts as 0";
}

TEST_F(DatePicker, LeapYearsAndTheDaysOfFebruary) {
    const std::pair<long, bool> leapYears[] = {{1900, false}, {2000, true}, {2004, true}, {2100, false}, {2023, false}};
    for (const auto& [year, leap] : leapYears) EXPECT_EQ(ZRVCDatePicker::isLeapYear(year), leap) << year;

    struct Case {
        const char* dateTemplate;
        Ref<NSDate> date;
        long days;
    };
    const Case cases[] = {
        {"dMMM", dateOf(2004, 2, 10), 29},       // no year column: always 29
        {"yyyyMMMd", dateOf(1900, 2, 10), 28},
        {"yyyyMMMd", dateOf(2000, 2, 10), 29},
        {"yyyyMMMd", dateOf(2023, 2, 10), 28},
        {"yyyyMMMd", dateOf(2027, 2, 10), 29},   // after this year
        {"yyyyMMMd", dateOf(1899, 2, 10), 29},   // before 1900
        {"yyyyMMMd", dateOf(2023, 4, 10), 30},
        {"yyyyMMMd", dateOf(2023, 12, 10), 31},
    };
    platform::setPreferredLanguages({"en-GB"});
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.dateTemplate) + " " + c.date->description());
        auto picker = makePicker(c.dateTemplate);
        picker->setDate(c.date);
        picker->updateNumberOfDays();
        EXPECT_EQ(picker->numberOfDays(), c.days);
    }
}

TEST_F(DatePicker, TurningToFebruaryFromThe31stShowsSecondMarch) {
    platform::setPreferredLanguages({"en-GB"});
    auto picker = makePicker("dMMM");
    auto listener = alloc<DateListener>();
    picker->setDateDelegate(listener);
    std::vector<std::pair<Ref<NSDate>, double>> handled;
    picker->setHandler([&](Ref<NSDate> date, double seconds) { handled.emplace_back(date, seconds); });
    picker->setDate(dateOf(2004, 1, 31));
    rest(picker, picker->monthComponent(), 1);  // February
    EXPECT_EQ(ymd(picker->date()), (Ymd{2004, 3, 2}));
    EXPECT_EQ(shown(picker, picker->dayComponent()), "2") << "the wheels show the day the date rolled to";
    EXPECT_EQ(shown(picker, picker->monthComponent()), "Mar");
    EXPECT_EQ(listener->heard, (std::vector<Ymd>{{2004, 3, 2}}));
    ASSERT_EQ(handled.size(), 1u);
    EXPECT_EQ(handled[0].second, (31 + 29 + 1) * 86400.0) << "seconds since 1 January 2004";
    EXPECT_EQ(picker->numberOfDays(), 31);

    // 29 February exists without a year column.
    rest(picker, picker->monthComponent(), 1);
    rest(picker, picker->dayComponent(), 28);
    EXPECT_EQ(ymd(picker->date()), (Ymd{2004, 2, 29}));
    EXPECT_EQ(picker->numberOfDays(), 29);
}

TEST_F(DatePicker, APickedDayTheYearLacksRollsOverVisibly) {
    platform::setPreferredLanguages({"en-GB"});
    auto picker = makePicker("yyyyMMMd");
    picker->setMinimumDate(dateOf(1800, 1, 1));
    picker->setMaximumDate(dateOf(2100, 12, 31));
    for (long year : {2027L, 1899L}) {
        SCOPED_TRACE(year);
        picker->setDate(dateOf(year, 2, 10));
        picker->updateNumberOfDays();
        picker->updatePicker();
        ASSERT_EQ(picker->numberOfDays(), 29);
        rest(picker, picker->dayComponent(), 28);  // "29", which that February lacks
        EXPECT_EQ(ymd(picker->date()), (Ymd{year, 3, 1}));
        EXPECT_EQ(shown(picker, picker->dayComponent()), "1");
        EXPECT_EQ(shown(picker, picker->monthComponent()), "Mar");
    }
}

TEST_F(DatePicker, RestingDatesAreClampedToTheRange) {
    platform::setPreferredLanguages({"en-GB"});
    auto picker = makePicker("yyyyMMMd");
    picker->setMinimumDate(dateOf(2020, 1, 1));
    picker->setMaximumDate(dateOf(2024, 6, 15));
    picker->setDate(dateOf(2024, 6, 10));
    rest(picker, picker->monthComponent(), 8);  // September 2024, after the maximum
    EXPECT_EQ(ymd(picker->date()), (Ymd{2024, 6, 15}));
    rest(picker, picker->yearComponent(), 0);
    EXPECT_EQ(ymd(picker->date()), (Ymd{2020, 6, 15}));

    // A minimum after the maximum: the minimum wins, nothing breaks.
    picker->setMinimumDate(dateOf(2024, 6, 1));
    picker->setMaximumDate(dateOf(2024, 5, 1));
    rest(picker, picker->dayComponent(), 2);
    EXPECT_EQ(ymd(picker->date()), (Ymd{2024, 6, 1}));
    picker->setMinimumDate(nullptr);
    picker->setMaximumDate(nullptr);
    EXPECT_EQ(picker->minimumDate()->timeIntervalSince1970(), NSDate::kDistantPast);
    EXPECT_EQ(picker->maximumDate()->timeIntervalSince1970(), NSDate::kDistantFuture);
}

TEST_F(DatePicker, ALanguageChangeRebuildsTheColumns) {
    platform::setPreferredLanguages({"en-GB"});
    auto picker = makePicker("dMMM");
    auto listener = alloc<DateListener>();
    picker->setDateDelegate(listener);
    picker->setDate(dateOf(2004, 3, 5));
    EXPECT_EQ(picker->uniqueSymbols(), (std::vector<std::string>{"d", "M"}));
    platform::setPreferredLanguages({"en"});
    platform::currentLocaleDidChange();
    EXPECT_EQ(picker->uniqueSymbols(), (std::vector<std::string>{"M", "d"}));
    EXPECT_EQ(shown(picker, 0), "Mar");
    EXPECT_EQ(shown(picker, 1), "5");
    platform::setPreferredLanguages({"de"});
    platform::currentLocaleDidChange();
    EXPECT_EQ(shown(picker, picker->monthComponent()), "März");
    EXPECT_EQ(listener->heard.size(), 2u) << "each change tells the delegate";
}

TEST_F(DatePicker, AFingerTurnsAWheelAndTheCardStoresEachRest) {
    storeThemes({"Default"});
    platform::setPreferredLanguages({"en"});
    auto profile = alloc<VNTProfileController>();
    profile->setBundlePath(std::string(panetest::kBundle));
    profile->init();
    present(profile);
    settle();
    msgSend<void>(profile, sel("displayBirthdayDatePicker"));
    settle();
    auto card = VNTProfileController::datePickerController();
    ASSERT_TRUE(card);
    EXPECT_EQ(card->modalPresentationStyle(), UIModalPresentationOverCurrentContext);
    EXPECT_EQ(profile->presentedViewController(), card);
    auto picker = VNTDatePickerController::datePicker();
    ASSERT_TRUE(picker);
    EXPECT_EQ(picker->uniqueSymbols(), (std::vector<std::string>{"M", "d"})) << "month first in American English";
    EXPECT_EQ(shown(picker, picker->dayComponent()), "5") << "the card opens on today";

    // Two rows up on the day wheel with a finger: the 7th, stored at once.
    const CGRect wheel = picker->frameForComponent(picker->dayComponent());
    const CGPoint centre = picker->convertPointToView(CGPointMake(wheel.midX(), wheel.midY()), m_window);
    std::vector<CGPoint> path;
    for (int i = 0; i <= 8; ++i) path.push_back(CGPointMake(centre.x, centre.y - 2 * UIPickerView::kRowHeight * i / 8));
    platform::TouchDriver(m_window).drag(path, 0.4, CGPointMake(0, 0));
    settle(2);
    EXPECT_EQ(shown(picker, picker->dayComponent()), "7");
    EXPECT_EQ(stored(vantile::key::userBirthdayDate), Value("7Mar"));

    // Cancel keeps what was stored; a second use presents a fresh card.
    msgSend<void>(card, sel("dismissVC"));
    settle();
    EXPECT_FALSE(profile->presentedViewController());
    EXPECT_EQ(stored(vantile::key::userBirthdayDate), Value("7Mar"));
    msgSend<void>(profile, sel("displayBirthdayDatePicker"));
    settle();
    EXPECT_NE(VNTProfileController::datePickerController(), card);
    auto second = VNTDatePickerController::datePicker();
    rest(second, second->monthComponent(), 0);
    EXPECT_EQ(stored(vantile::key::userBirthdayDate), Value("5Jan"));
    msgSend<void>(VNTProfileController::datePickerController(), sel("doneWithVC"));
    settle();
    EXPECT_FALSE(profile->presentedViewController());
    EXPECT_EQ(stored(vantile::key::userBirthdayDate), Value("5Jan"));
}

TEST_F(DatePicker, TheCardIsLaidOutAndThemed) {
    storeThemes({"Ocean"});
    auto card = alloc<VNTDatePickerController>();
    card->init();
    card->view()->setFrame(UIScreen::mainScreen()->bounds());
    card->view()->layoutIfNeeded();
    const CGSize screen = UIScreen::mainScreen()->bounds().size;
    EXPECT_EQ(card->baseView()->frame(), CGRectMake(10, screen.height / 2 - 10, screen.width - 20, screen.height / 2));
    EXPECT_EQ(card->baseView()->layer()->cornerRadius(), 30);
    EXPECT_EQ(card->doneButton()->frame().size, CGSizeMake(300, 50));
    EXPECT_EQ(card->doneButton()->frame().maxY(), card->baseView()->bounds().height() - 50);
    EXPECT_EQ(card->closeButton()->frame().maxY(), card->baseView()->bounds().height() - 15);
    EXPECT_EQ(VNTDatePickerController::datePicker()->frame().width(), card->baseView()->bounds().width());
    EXPECT_FALSE(card->baseView()->layer()->sublayers().empty()) << "the theme's gradient";
}

}  // namespace
