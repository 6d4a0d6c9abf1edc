// The root page's greeting and event banner: the greeting by hour, the events by date, the banner's geometry and
// the title view's fades for each offset of the list, and the list moved by a real finger.
#include "prefs/pane/VNTBannerView.h"
#include "prefs/pane/VNTPrimraryController.h"

#include "common/Keys.h"
#include "platform/core/Clock.h"
#include "platform/core/DictionaryFile.h"
#include "platform/core/NSBundle.h"
#include "platform/core/NSDate.h"
#include "platform/core/NSTimeZone.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIImage.h"
#include "platform/harness/TouchDriver.h"
#include "platform/ui/AnimationCenter.h"
#include "platform/ui/CAGradientLayer.h"
#include "platform/ui/CALayer.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UITableView.h"
#include "prefs/drawer/VNTTheme.h"
#include "tests/prefs/pane/PaneFixture.h"

#include <cmath>
#include <string>

namespace {

using platform::msgSend;

constexpr double kDay = 86400;
constexpr double k2024Jan1 = 1704067200;  // a Monday, New Year's Day
// Midnight UTC of a day of 2024 (a leap year), by month and day.
double day2024(int month, int day) {
    static constexpr int kBefore[] = {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335};
    return k2024Jan1 + (kBefore[month - 1] + day - 1) * kDay;
}

class Banner : public panetest::PaneFixture {
protected:
    void TearDown() override {
        platform::setPreferredLanguages({});
        PaneFixture::TearDown();
    }
    // The root page shown on `when`, with the Default theme and whatever else was stored.
    Ref<VNTPrimraryController> openAt(double when) {
        platform::Clock::setNow(when);
        auto root = makeRoot();
        present(root);
        return root;
    }
    void store(std::string_view key, Value value) {
        auto dict = platform::dictionaryWithContentsOfFile(vantile::kDomainFile).value_or(Value::Dictionary{});
        dict[std::string(key)] = std::move(value);
        writeDomain(dict);
    }
    static std::string headline(const Ref<VNTPrimraryController>& root) { return root->bannerView()->packageNameLabel()->text(); }
    static std::string pictureFile(const Ref<VNTPrimraryController>& root) {
        auto image = root->bannerView()->tweakIconImage()->image();
        if (!image) return "(none)";
        const std::string& source = image->source();
        return source.substr(source.find_last_of('/') + 1);
    }
    static bool whiteBorder(const Ref<VNTPrimraryController>& root) {
        const auto& colour = root->bannerView()->tweakIconImage()->layer()->borderColor();
        if (!colour || colour->components.empty()) return false;
        for (CGFloat c : colour->components)
            if (c != 1) return false;
        return true;
    }
    // The opacity animation in flight on a view, if any: its target and duration.
    static std::optional<std::pair<double, double>> fade(const Ref<UIView>& view) {
        for (const auto& a : platform::AnimationCenter::shared().inFlight())
            if (a.view == view && a.keyPath == "opacity") return std::make_pair(a.to.at(0), a.duration);
        return std::nullopt;
    }
};

TEST_F(Banner, GreetingFollowsTheHour) {
    const std::pair<int, const char*> cases[] = {
        {0, "Good Morning \nUsername"},    {11, "Good Morning \nUsername"},  {12, "Good Afternoon \nUsername"},
        {16, "Good Afternoon \nUsername"}, {17, "Good Evening \nUsername"},  {20, "Good Evening \nUsername"},
        {21, "Good Night \nUsername"},     {23, "Good Night \nUsername"},
    };
    storeThemes({"Default"});
    for (const auto& [hour, text] : cases) {
        SCOPED_TRACE(hour);
        auto root = openAt(day2024(5, 14) + hour * 3600 + 1800);
        EXPECT_EQ(root->greetingLabel()->text(), text);
    }
    store(vantile::key::profileNameString, Value("Ada"));
    auto root = openAt(day2024(5, 14) + 9 * 3600);
    EXPECT_EQ(root->greetingLabel()->text(), "Good Morning \nAda");
    NSTimeZone::setLocalTimeZoneName("America/Los_Angeles");
    root = openAt(day2024(5, 14) + 9 * 3600);  // 01:00 in Los Angeles
    EXPECT_EQ(root->greetingLabel()->text(), "Good Morning \nAda");
    root = openAt(day2024(5, 14) + 22 * 3600);  // 14:00 there
    EXPECT_EQ(root->greetingLabel()->text(), "Good Afternoon \nAda");
}

TEST_F(Banner, EventsByDateWithHolidaysOverTheBirthday) {
    struct Case {
        int month, day;
        const char* birthday;  // stored, or null
        const char* headline;
        const char* line;
        const char* picture;
        bool white;
    };
    const Case cases[] = {
        {5, 14, nullptr, "Vantile", "Made with 💜", "banner-icon.png", true},
        {7, 4, nullptr, "Happy 4th July", "From Zorvanic", "fourth-july.png", false},
        {10, 31, nullptr, "Happy Halloween", "From Zorvanic", "halloween.png", false},
        {12, 25, nullptr, "Merry Christmas", "From Zorvanic", "christmas.png", false},
        {12, 31, nullptr, "Happy New Year Eve", "From Zorvanic", "nye.png", false},
        {1, 1, nullptr, "Happy New Year", "From Zorvanic", "nyd.png", false},
        {3, 5, "5Mar", "Happy Birthday", "From Zorvanic", "birthday.png", false},
        {3, 6, "5Mar", "Vantile", "Made with 💜", "banner-icon.png", true},
        {12, 25, "25Dec", "Merry Christmas", "From Zorvanic", "christmas.png", false},
        {2, 29, "29Feb", "Happy Birthday", "From Zorvanic", "birthday.png", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.month) + "/" + std::to_string(c.day));
        storeThemes({"Default"});
        if (c.birthday) store(vantile::key::userBirthdayDate, Value(c.birthday));
        auto root = openAt(day2024(c.month, c.day) + 10 * 3600);
        EXPECT_EQ(headline(root), c.headline);
        EXPECT_EQ(root->bannerView()->loveLabel()->text(), c.line);
        EXPECT_EQ(pictureFile(root), c.picture);
        EXPECT_EQ(whiteBorder(root), c.white);
        removeDomain();
    }
}

TEST_F(Banner, BadStoredBirthdaysNeverMatchAndABadPictureLeavesAnEmptyFrame) {
    const Value bad[] = {Value(), Value(""), Value(5), Value("31Feb"), Value("Mar5"), Value(Value::Array{Value("5Mar")})};
    const auto today = NSDate::dateWithTimeIntervalSince1970(day2024(3, 5));
    for (const auto& value : bad) EXPECT_FALSE(VNTBannerView::isBirthday(value, today));
    EXPECT_FALSE(VNTBannerView::isBirthday(Value("5Mar"), nullptr));

    storeThemes({"Default"});
    store(vantile::key::userBirthdayDate, Value("5Mar"));
    store(vantile::key::profilePicture, Value(Value::Data{'n', 'o', 't'}));
    auto root = openAt(day2024(3, 5));
    EXPECT_EQ(headline(root), "Happy Birthday");
    EXPECT_FALSE(root->bannerView()->tweakIconImage()->image()) << "data that is no image shows nothing";
    EXPECT_TRUE(whiteBorder(root));
}

TEST_F(Banner, ABirthdayStoredInEnglishStillMatchesAfterTheLanguageChanges) {
    const auto today = NSDate::dateWithTimeIntervalSince1970(day2024(3, 5) + 3600);
    const std::pair<const char*, const char*> cases[] = {
        {"en", "5Mar"}, {"en-GB", "5Mar"}, {"de", "5Mar"}, {"de", "5März"}, {"ja", "5Mar"},
    };
    for (const auto& [language, stored] : cases) {
        platform::setPreferredLanguages({language});
        EXPECT_TRUE(VNTBannerView::isBirthday(Value(stored), today)) << language << " " << stored;
        EXPECT_FALSE(VNTBannerView::isBirthday(Value(stored), today->dateByAddingTimeInterval(kDay))) << language;
    }
    platform::setPreferredLanguages({"en"});
    EXPECT_FALSE(VNTBannerView::isBirthday(Value("5März"), today))
        << "a birthday stored in another language than English is only read in that language";
}

// The card's wheels have no year, so 29 February can be stored; once the language has changed it is read back as
// English text, in a year that has that day.
TEST_F(Banner, ALeapDayBirthdayStoredInEnglishMatchesInAnyLanguage) {
    struct Case {
        const char* language;
        const char* stored;
        double today;
        bool birthday;
    };
    const Case cases[] = {
        {"de", "29Feb", day2024(2, 29), true},
        {"ja", "29Feb", day2024(2, 29) + 3600, true},
        {"de", "29Feb", day2024(3, 1), false},
        {"de", "28Feb", day2024(2, 29), false},
        {"de", "30Feb", day2024(3, 1), false},
        {"de", "29Feb2004", day2024(2, 29), false},
        {"de", "29Feb|2024", day2024(2, 29), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.language) + " " + c.stored);
        platform::setPreferredLanguages({c.language});
        EXPECT_EQ(VNTBannerView::isBirthday(Value(c.stored), NSDate::dateWithTimeIntervalSince1970(c.today)),
                  c.birthday);
    }
    platform::setPreferredLanguages({"en"});
}

TEST_F(Banner, BannerAndListInsetsFollowTheOffset) {
    storeThemes({"Default"});
    auto root = openAt(day2024(5, 14));
    auto table = root->table();
    ASSERT_TRUE(table);
    const CGFloat width = root->view()->bounds().width();
    EXPECT_EQ(table->contentOffset().y, -370) << "the list starts under the banner";
    struct Case {
        CGFloat offset;
        CGRect frame;
        CGFloat indicatorTop;
    };
    const Case cases[] = {
        {-370, CGRectMake(0, 0, width, 370), 370},
        {-420, CGRectMake(0, 0, width, 420), 420},     // pulled 50 below rest
        {-270, CGRectMake(0, -100, width, 370), 370},  // scrolled up by 100
        {0, CGRectMake(0, -370, width, 370), 370},
        {200, CGRectMake(0, -770, width, 370), 370},   // past the banner the scroll counts twice, as written
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.offset);
        table->setContentOffset(CGPointMake(0, c.offset));
        EXPECT_EQ(root->bannerView()->frame(), c.frame);
        EXPECT_EQ(root->bannerView()->stretchBanner(), std::max<CGFloat>(0, -c.offset - 370));
        EXPECT_EQ(table->contentInset(), UIEdgeInsetsMake(370, 0, 0, 0));
        EXPECT_EQ(table->scrollIndicatorInsets().top, c.indicatorTop);
        EXPECT_FALSE(table->automaticallyAdjustsScrollIndicatorInsets());
    }
    EXPECT_EQ(root->bannerView()->contentHeightForWidth(10), 370);
    EXPECT_EQ(root->bannerView()->layer()->zPosition(), 1000);
    EXPECT_EQ(root->bannerView()->superview(), root->view()) << "beside the table, not inside it";
}

TEST_F(Banner, TitleIconAndGreetingFadeByOffset) {
    storeThemes({"Default"});
    auto root = openAt(day2024(5, 14));
    auto table = root->table();
    struct Case {
        CGFloat from, offset;
        std::optional<double> iconFade;   // animated to this over 0.2 s
        std::optional<double> iconAlpha;  // set at once
        double greeting;                  // the greeting's alpha
    };
    const Case cases[] = {
        {0, -100, 0.0, std::nullopt, 1},
        {-300, -65, std::nullopt, 0.5, 0},
        {-300, -30, 1.0, std::nullopt, 0},
        {0, -81, std::nullopt, 0.18, 1},
        {-300, -79, std::nullopt, 0.22, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.offset);
        table->setContentOffset(CGPointMake(0, c.from));
        settle(1);
        table->setContentOffset(CGPointMake(0, c.offset));
        const auto iconFade = fade(root->iconImage());
        if (c.iconFade) {
            ASSERT_TRUE(iconFade);
            EXPECT_EQ(iconFade->first, *c.iconFade);
            EXPECT_EQ(iconFade->second, 0.2);
        } else {
            EXPECT_FALSE(iconFade) << "between -90 and -40 the alpha is set at once";
            EXPECT_NEAR(root->iconImage()->alpha(), *c.iconAlpha, 1e-9);
        }
        EXPECT_EQ(root->greetingLabel()->alpha(), c.greeting);
    }
    // Exactly -90 leaves the icon as it was.
    table->setContentOffset(CGPointMake(0, -65));
    settle(1);
    table->setContentOffset(CGPointMake(0, -90));
    EXPECT_FALSE(fade(root->iconImage()));
    EXPECT_EQ(root->iconImage()->alpha(), 0.5);
}

TEST_F(Banner, AFingerPullsTheBannerAndItSpringsBack) {
    storeThemes({"Default"});
    auto root = openAt(day2024(5, 14));
    // A place of the list itself, not of the grid inside a row, which scrolls on its own.
    auto listAt = [&](CGFloat y) {
        Ref<UIScrollView> nearest;
        for (auto v = m_window->hitTest(CGPointMake(180, y)); v && !nearest; v = v->superview()) nearest = cast<UIScrollView>(v);
        return nearest == root->table();
    };
    CGFloat high = 0;
    for (CGFloat y = 380; y < 600 && !high; y += 4)
        if (listAt(y)) high = y;
    ASSERT_TRUE(high) << "some of the list lies outside the grid";
    platform::TouchDriver finger(m_window);
    finger.down(CGPointMake(180, high));
    for (int i = 1; i <= 6; ++i) {
        finger.wait(0.05);
        finger.move(CGPointMake(180, high + 10 * i), CGPointMake(0, 0));
    }
    EXPECT_EQ(root->bannerView()->frame().height(), 430) << "pulled 60 points below rest";
    EXPECT_EQ(root->bannerView()->frame().minY(), 0);
    finger.up();
    EXPECT_EQ(root->table()->contentOffset().y, -370);
    EXPECT_EQ(root->bannerView()->frame().height(), 370);

    // Pushed up by 100 points the banner slides away by as much; the greeting stays until -80.
    finger.down(CGPointMake(180, high));
    for (int i = 1; i <= 5; ++i) {
        finger.wait(0.05);
        finger.move(CGPointMake(180, high - 20 * i), CGPointMake(0, 0));
    }
    settle(0.5);
    EXPECT_EQ(root->bannerView()->frame().minY(), -100);
    EXPECT_EQ(root->bannerView()->frame().height(), 370);
    EXPECT_EQ(root->greetingLabel()->alpha(), 1);
    EXPECT_EQ(root->iconImage()->alpha(), 0);
    // Let go, the list stays within what its content allows, and the banner with it.
    finger.up();
    const CGFloat y = root->table()->contentOffset().y;
    EXPECT_EQ(y, std::min<CGFloat>(-270, root->table()->maximumContentOffset().y));
    EXPECT_EQ(root->bannerView()->frame().minY(), -370 - y);
}

TEST_F(Banner, ThePanelsGradientIsTheThemeReadAtEachLayout) {
    storeThemes({"Storm"});
    auto root = openAt(day2024(5, 14));
    auto gradient = root->bannerView()->gradientLayer();
    ASSERT_TRUE(gradient);
    EXPECT_EQ(gradient->colors().size(), 2u);
    EXPECT_EQ(gradient->frame(), CGRectMake(0, 0, root->view()->bounds().width(), 370));
    EXPECT_EQ(gradient->colors()[0]->components, vnt::gradientStartColour(vnt::Theme::Storm)->CGColor()->components);
    storeThemes({"Ocean"});
    root->table()->setContentOffset(CGPointMake(0, -400));
    EXPECT_EQ(gradient->colors()[0]->components, vnt::gradientStartColour(vnt::Theme::Ocean)->CGColor()->components);
    EXPECT_EQ(gradient->frame().height(), 400);
    storeThemes({});
    root->table()->setContentOffset(CGPointMake(0, -370));
    EXPECT_FALSE(root->bannerView()->gradientLayer()) << "no theme, no gradient";
}

}  // namespace
