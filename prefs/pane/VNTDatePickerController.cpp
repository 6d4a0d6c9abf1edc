#include "prefs/pane/VNTDatePickerController.h"

#include "common/Keys.h"
#include "platform/core/HBPreferences.h"
#include "platform/core/NSDate.h"
#include "platform/core/NSDateFormatter.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIFont.h"
#include "platform/ui/CAGradientLayer.h"
#include "platform/ui/CALayer.h"
#include "platform/ui/NSLayoutConstraint.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UIScreen.h"
#include "prefs/drawer/VNTTheme.h"
#include "prefs/pane/ZRVCDatePicker.h"

#include <algorithm>

VT_REGISTER_CLASS(VNTDatePickerController, [](Class c) {
    using platform::runtime::addMethod;
    addMethod<&VNTDatePickerController::datePickerDidSelectDate>(c, "datePicker:didSelectDate:");
    addMethod<&VNTDatePickerController::doneWithVC>(c, "doneWithVC");
    addMethod<&VNTDatePickerController::dismissVC>(c, "dismissVC");
})

namespace {

// Declared before the object that binds them, so they outlive it.
vnt::ThemeFlags g_cardThemeFlags;
Ref<HBPreferences> g_cardPreferences;
Ref<ZRVCDatePicker> g_datePicker;
Ref<NSDate> g_pickedDate;
Ref<NSDateFormatter> g_pickedDateFormat;
std::string g_pickedDateString;

constexpr std::string_view kStoredBirthdayFormat = "dMMM";
constexpr CGFloat kCardCornerRadius = 30;
constexpr CGFloat kPickerHeight = 250;

void activateConstraint(const Ref<NSLayoutConstraint>& constraint) { constraint->setActive(true); }

void storeBirthday(const Ref<NSDate>& date) {
    g_pickedDate = date;
    g_pickedDateFormat = alloc<NSDateFormatter>();
    g_pickedDateFormat->setDateFormat(std::string(kStoredBirthdayFormat));
    g_pickedDateString = g_pickedDateFormat->stringFromDate(date);
    auto preferences = alloc<HBPreferences>();
    preferences->initWithIdentifier(vantile::kDomain);
    preferences->setObjectForKey(Value(g_pickedDateString), vantile::key::userBirthdayDate);
}

Ref<UIButton> makeButton(std::string_view title) {
    auto button = UIButton::buttonWithType(UIButtonTypeSystem);
    button->setTitleForState(std::string(title), UIControlStateNormal);
    button->titleLabel()->setFont(UIFont::boldSystemFontOfSize(18));
    button->setTranslatesAutoresizingMaskIntoConstraints(false);
    return button;
}

}  // namespace

Ref<ZRVCDatePicker> VNTDatePickerController::datePicker() { return g_datePicker; }

std::string VNTDatePickerController::birthdayString(const Ref<NSDate>& date) {
    auto formatter = alloc<NSDateFormatter>();
    formatter->setDateFormat(std::string(kStoredBirthdayFormat));
    return formatter->stringFromDate(date);
}

void VNTDatePickerController::viewDidLoad() {
    super::viewDidLoad();
    setupPicker();
}

void VNTDatePickerController::setupPicker() {
    g_cardPreferences = alloc<HBPreferences>();
    g_cardPreferences->initWithIdentifier(vantile::kDomain);
    g_cardThemeFlags.bind(*g_cardPreferences);
    const auto theme = g_cardThemeFlags.current();

    const CGSize screen = UIScreen::mainScreen()->bounds().size;
    m_baseView = alloc<UIView>();
    m_baseView->initWithFrame(CGRectMake(10, screen.height / 2 - 10, screen.width - 20, screen.height / 2));
    m_baseView->setBackgroundColor(UIColor::clearColor());
    m_baseView->setClipsToBounds(true);
    m_baseView->layer()->setCornerRadius(kCardCornerRadius);
    m_baseView->layer()->setCornerCurve("continuous");
    view()->addSubview(m_baseView);

    g_datePicker = alloc<ZRVCDatePicker>();
    g_datePicker->initWithFrame(CGRectMake(0, 0, view()->bounds().width(), kPickerHeight));
    g_datePicker->setDateDelegate(self());
    g_datePicker->setDateFormatTemplate(std::string(kStoredBirthdayFormat));
    g_datePicker->setTextColor(UIColor::whiteColor());
    g_datePicker->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_baseView->addSubview(g_datePicker);
    activateConstraint(g_datePicker->topAnchor().constraintEqualToAnchor(m_baseView->topAnchor()));
    activateConstraint(g_datePicker->leadingAnchor().constraintEqualToAnchor(m_baseView->leadingAnchor()));
    activateConstraint(g_datePicker->trailingAnchor().constraintEqualToAnchor(m_baseView->trailingAnchor()));
    activateConstraint(g_datePicker->heightAnchor().constraintEqualToConstant(kPickerHeight));

    m_doneButton = makeButton("Done");
    m_doneButton->setBackgroundColor(UIColor::whiteColor());
    m_doneButton->layer()->setCornerRadius(10);
    if (theme) m_doneButton->setTitleColorForState(vnt::accentColour(theme), UIControlStateNormal);
    m_doneButton->addTargetActionForControlEvents(self(), sel("doneWithVC"), UIControlEventTouchUpInside);
    m_baseView->addSubview(m_doneButton);
    activateConstraint(m_doneButton->widthAnchor().constraintEqualToConstant(300));
    activateConstraint(m_doneButton->heightAnchor().constraintEqualToConstant(50));
    activateConstraint(m_doneButton->centerXAnchor().constraintEqualToAnchor(m_baseView->centerXAnchor()));
    activateConstraint(m_doneButton->bottomAnchor().constraintEqualToAnchorConstant(m_baseView->bottomAnchor(), -50));

    m_closeButton = makeButton("Cancel");
    m_closeButton->setTitleColorForState(UIColor::whiteColor(), UIControlStateNormal);
    m_closeButton->setBackgroundColor(UIColor::clearColor());
    m_closeButton->addTargetActionForControlEvents(self(), sel("dismissVC"), UIControlEventTouchUpInside);
    m_baseView->addSubview(m_closeButton);
    // 60 points holds "Cancel" in the phone's system font; a wider font gets the width its title needs.
    activateConstraint(m_closeButton->widthAnchor().constraintEqualToConstant(
        std::max<CGFloat>(60, m_closeButton->intrinsicContentSize().width)));
    activateConstraint(m_closeButton->heightAnchor().constraintEqualToConstant(30));
    activateConstraint(m_closeButton->centerXAnchor().constraintEqualToAnchor(m_baseView->centerXAnchor()));
    activateConstraint(m_closeButton->bottomAnchor().constraintEqualToAnchorConstant(m_baseView->bottomAnchor(), -15));

    if (theme)
        m_baseView->layer()->insertSublayerAtIndex(vnt::makeThemeGradient(*theme, m_baseView->bounds()), 0);
}

void VNTDatePickerController::datePickerDidSelectDate(Ref<ZRVCDatePicker>, Ref<NSDate> date) { storeBirthday(date); }

void VNTDatePickerController::doneWithVC() {
    if (g_datePicker) storeBirthday(g_datePicker->date());
    dismissViewControllerAnimatedCompletion(true);
}

void VNTDatePickerController::dismissVC() { dismissViewControllerAnimatedCompletion(true); }
