#include "prefs/pane/VNTBannerView.h"

#include "common/Keys.h"
#include "platform/core/HBPreferences.h"
#include "platform/core/NSCalendar.h"
#include "platform/core/NSDate.h"
#include "platform/core/NSDateComponents.h"
#include "platform/core/NSDateFormatter.h"
#include "platform/core/NSLocale.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIFont.h"
#include "platform/gfx/UIImage.h"
#include "platform/ui/CAGradientLayer.h"
#include "platform/ui/CALayer.h"
#include "platform/ui/NSLayoutConstraint.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UINavigationBar.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UIStatusBarManager.h"
#include "platform/ui/UIViewController.h"
#include "platform/ui/UIWindowScene.h"
#include "prefs/drawer/VNTTheme.h"
#include "prefs/pane/ZRVCDatePicker.h"

#include <array>
#include <string>

VT_REGISTER_CLASS(VNTBannerView, [](Class c) {
    platform::runtime::addMethod<&VNTBannerView::contentHeightForWidth>(c, "contentHeightForWidth:");
})

using platform::msgSend;

namespace {

// Declared before the object that binds them, so they outlive it.
vnt::ThemeFlags g_bannerThemeFlags;
Value g_profilePicture;
Ref<HBPreferences> g_bannerPreferences;
// The date of the last event test, its formatter and today's string in it.
Ref<NSDate> g_eventDate;
Ref<NSDateFormatter> g_eventFormatter;
std::string g_eventString;

constexpr std::string_view kBirthdayFormat = "dMMM";
// The language the pane ships in, in which a birthday written before a change of language was most likely stored.
constexpr std::string_view kStoredLanguage = "en_US";

constexpr std::array<std::pair<std::pair<long, long>, VNTBannerView::Holiday>, 5> kHolidays{{
    {{7, 4}, {"Happy 4th July", "fourth-july.png"}},
    {{10, 31}, {"Happy Halloween", "halloween.png"}},
    {{12, 25}, {"Merry Christmas", "christmas.png"}},
    {{12, 31}, {"Happy New Year Eve", "nye.png"}},
    {{1, 1}, {"Happy New Year", "nyd.png"}},
}};

Ref<UILabel> makeLabel(std::string_view text, Ref<UIFont> font) {
    auto label = alloc<UILabel>();
    label->initWithFrame(CGRectZero);
    label->setText(text);
    label->setTextAlignment(NSTextAlignmentCenter);
    label->setFont(std::move(font));
    label->setTextColor(UIColor::whiteColor());
    label->setTranslatesAutoresizingMaskIntoConstraints(false);
    return label;
}

void activate(const Ref<NSLayoutConstraint>& constraint) { constraint->setActive(true); }

}  // namespace

const VNTBannerView::Holiday* VNTBannerView::holidayOn(long month, long day) {
    for (const auto& [date, holiday] : kHolidays)
        if (date.first == month && date.second == day) return &holiday;
    return nullptr;
}

bool VNTBannerView::isBirthday(const Value& stored, const Ref<NSDate>& today) {
    const std::string* text = stored.asString();
    if (!text || text->empty() || !today) return false;
    auto formatter = alloc<NSDateFormatter>();
    formatter->setDateFormat(std::string(kBirthdayFormat));
    if (*text == formatter->stringFromDate(today)) return true;
    // Read back in the language it was most likely written in; a day that does not exist ("31Feb") reads as
    // nothing, as the strict parse refuses it. The text is read in the leap year the card's wheels pick in: left
    // without a year, the reader would take 1970's, which has no 29 February. The year follows a character no
    // month name holds, so a text with a year of its own ("5Mar12") stays refused.
    auto reader = alloc<NSDateFormatter>();
    reader->setDateFormat(std::string(kBirthdayFormat) + "'|'yyyy");
    reader->setLocale(NSLocale::localeWithLocaleIdentifier(kStoredLanguage));
    auto parsed = reader->dateFromString(*text + "|" + std::to_string(ZRVCDatePicker::kYearWithoutColumn));
    if (!parsed) return false;
    auto calendar = NSCalendar::currentCalendar();
    auto birthday = calendar->componentsFromDate(NSCalendarUnitMonth | NSCalendarUnitDay, parsed);
    auto now = calendar->componentsFromDate(NSCalendarUnitMonth | NSCalendarUnitDay, today);
    return birthday->month() == now->month() && birthday->day() == now->day();
}

void VNTBannerView::initWithFrame(CGRect frame) {
    UIView::initWithFrame(frame);
    g_bannerPreferences = alloc<HBPreferences>();
    g_bannerPreferences->initWithIdentifier(vantile::kDomain);
    g_bannerThemeFlags.bind(*g_bannerPreferences);
    g_bannerPreferences->registerObjectDefaultForKey(&g_profilePicture, Value(), vantile::key::profilePicture);

    setBackgroundColor(UIColor::clearColor());
    setClipsToBounds(true);
    const CGFloat width = frame.width();

    m_bannerView = alloc<UIView>();
    m_bannerView->initWithFrame(CGRectMake(0, 75, width, 0));
    m_bannerView->layer()->setCornerRadius(30);
    m_bannerView->setBackgroundColor(UIColor::clearColor());
    m_bannerView->setClipsToBounds(true);
    addSubview(m_bannerView);

    m_containerView = alloc<UIView>();
    m_containerView->initWithFrame(CGRectMake(0, 75, width, 250));
    m_containerView->setBackgroundColor(UIColor::clearColor());
    m_containerView->layer()->setZPosition(10);
    m_bannerView->addSubview(m_containerView);

    m_tweakIconImage = alloc<UIImageView>();
    m_tweakIconImage->initWithFrame(CGRectZero);
    m_tweakIconImage->setContentMode(UIViewContentModeScaleAspectFill);
    m_tweakIconImage->layer()->setCornerRadius(60);
    m_tweakIconImage->setClipsToBounds(true);
    m_tweakIconImage->layer()->setBorderColor(UIColor::whiteColor()->CGColor());
    m_tweakIconImage->layer()->setBorderWidth(1);
    m_tweakIconImage->setUserInteractionEnabled(true);
    m_tweakIconImage->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_tweakIconImage->setImage(vnt::themedImage(g_bannerThemeFlags.current(), "Icons", "banner-icon.png"));
    m_containerView->addSubview(m_tweakIconImage);
    activate(m_tweakIconImage->widthAnchor().constraintEqualToConstant(120));
    activate(m_tweakIconImage->heightAnchor().constraintEqualToConstant(120));
    activate(m_tweakIconImage->centerXAnchor().constraintEqualToAnchor(m_containerView->centerXAnchor()));
    activate(m_tweakIconImage->topAnchor().constraintEqualToAnchorConstant(m_containerView->topAnchor(), 20));

    m_packageNameLabel = makeLabel("Vantile", UIFont::boldSystemFontOfSize(30));
    m_containerView->addSubview(m_packageNameLabel);
    activate(m_packageNameLabel->centerXAnchor().constraintEqualToAnchor(m_containerView->centerXAnchor()));
    activate(m_packageNameLabel->topAnchor().constraintEqualToAnchorConstant(m_tweakIconImage->bottomAnchor(), 10));
    activate(m_packageNameLabel->leadingAnchor().constraintEqualToAnchorConstant(m_containerView->leadingAnchor(), 10));
    activate(m_packageNameLabel->trailingAnchor().constraintEqualToAnchorConstant(m_containerView->trailingAnchor(), -10));

    m_loveLabel = makeLabel("Made with 💜", UIFont::systemFontOfSize(14));
    m_containerView->addSubview(m_loveLabel);
    activate(m_loveLabel->centerXAnchor().constraintEqualToAnchor(m_containerView->centerXAnchor()));
    activate(m_loveLabel->topAnchor().constraintEqualToAnchorConstant(m_packageNameLabel->bottomAnchor(), 10));
    activate(m_loveLabel->leadingAnchor().constraintEqualToAnchorConstant(m_containerView->leadingAnchor(), 10));
    activate(m_loveLabel->trailingAnchor().constraintEqualToAnchorConstant(m_containerView->trailingAnchor(), -10));

    chooseEvent();
}

void VNTBannerView::chooseEvent() {
    g_eventDate = NSDate::date();
    g_eventFormatter = alloc<NSDateFormatter>();
    g_eventFormatter->setDateFormat(std::string(kBirthdayFormat));
    g_eventString = g_eventFormatter->stringFromDate(g_eventDate);

    if (isBirthday(g_bannerPreferences->objectForKey(vantile::key::userBirthdayDate), g_eventDate)) {
        m_packageNameLabel->setText("Happy Birthday");
        m_loveLabel->setText("From Zorvanic");
        if (const Value::Data* picture = g_profilePicture.asData()) {
            // Data that is no image leaves the picture empty, still framed in white.
            m_tweakIconImage->setImage(UIImage::imageWithData(*picture));
            m_tweakIconImage->layer()->setBorderColor(UIColor::whiteColor()->CGColor());
        } else {
            m_tweakIconImage->setImage(UIImage::imageWithContentsOfFile(vnt::assetPath("Events/birthday.png")));
            m_tweakIconImage->layer()->setBorderColor(UIColor::clearColor()->CGColor());
        }
    }

    auto gregorian = NSCalendar::calendarWithIdentifier(NSCalendarIdentifierGregorian);
    const long month = gregorian->componentFromDate(NSCalendarUnitMonth, g_eventDate);
    const long day = gregorian->componentFromDate(NSCalendarUnitDay, g_eventDate);
    if (const Holiday* holiday = holidayOn(month, day)) {
        m_packageNameLabel->setText(holiday->headline);
        m_loveLabel->setText("From Zorvanic");
        m_tweakIconImage->setImage(
            UIImage::imageWithContentsOfFile(vnt::assetPath(std::string("Events/") + holiday->picture)));
        m_tweakIconImage->layer()->setBorderColor(UIColor::clearColor()->CGColor());
    }
}

CGFloat VNTBannerView::topInset() const {
    CGFloat inset = 0;
    if (auto scene = UIWindowScene::sceneOfWindow(window()))
        inset += scene->statusBarManager()->statusBarFrame().height();
    auto owner = msgSend<Ref<UIViewController>>(const_cast<VNTBannerView*>(this), sel("_viewControllerForAncestor"));
    auto inner = owner ? owner->navigationController() : nullptr;
    auto outer = inner ? inner->navigationController() : nullptr;
    if (outer && outer->navigationBar()) inset += outer->navigationBar()->frame().height();
    return inset;
}

void VNTBannerView::setFrame(CGRect frame) {
    UIView::setFrame(frame);
    if (!m_bannerView) return;
    const CGFloat width = frame.width(), height = frame.height();
    const CGRect panel = m_bannerView->frame();
    m_bannerView->setFrame(CGRectMake(panel.origin.x, height / 2 - panel.height() / 2, width, height));

    // The theme is read anew at every layout, through a fresh preferences object.
    vnt::ThemeFlags flags;
    auto preferences = alloc<HBPreferences>();
    preferences->initWithIdentifier(vantile::kDomain);
    flags.bind(*preferences);
    if (const auto theme = flags.current()) {
        if (!m_gradient) {
            m_gradient = CAGradientLayer::layer();
            m_bannerView->layer()->insertSublayerAtIndex(m_gradient, 0);
        }
        vnt::applyThemeGradient(*m_gradient, *theme);
        m_gradient->setFrame(CGRectMake(m_bannerView->frame().origin.x, 0, width, height));
    } else if (m_gradient) {
        m_gradient->removeFromSuperlayer();
        m_gradient = nullptr;
    }

    const CGFloat top = topInset();
    const CGRect container = m_containerView->frame();
    m_containerView->setFrame(CGRectMake(container.origin.x, top + (height - top) / 2 - container.height() / 2 - 10,
                                         width, container.height()));
}

CGFloat VNTBannerView::contentHeightForWidth(CGFloat) { return kContentHeight; }
