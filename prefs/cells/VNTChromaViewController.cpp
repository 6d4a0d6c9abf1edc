#include "prefs/cells/VNTChromaViewController.h"

#include "prefs/cells/ChromaAlphaView.h"
#include "prefs/cells/ChromaCodec.h"
#include "prefs/cells/ChromaHueView.h"
#include "prefs/cells/ChromaPickerView.h"
#include "prefs/cells/ChromaStore.h"
#include "prefs/cells/VNTZRVCIconRow.h"
#include "prefs/drawer/VNTTheme.h"

#include "platform/core/CFNotificationCenter.h"
#include "platform/core/CFPreferences.h"
#include "platform/core/DictionaryFile.h"
#include "platform/core/NSNotificationCenter.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIFont.h"
#include "platform/ui/CAGradientLayer.h"
#include "platform/ui/CALayer.h"
#include "platform/ui/UIBarButtonItem.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UIPasteboard.h"
#include "platform/ui/UITextField.h"
#include "platform/ui/UIToolbar.h"

#include <algorithm>
#include <cctype>

VT_REGISTER_CLASS(VNTChromaViewController, [](Class c) {
    using platform::runtime::addMethod;
    addMethod<&VNTChromaViewController::updateColor>(c, "updateColor");
    addMethod<&VNTChromaViewController::updateWithColor>(c, "updateWithColor:");
    addMethod<&VNTChromaViewController::dismiss>(c, "dismiss");
    addMethod<&VNTChromaViewController::pasteHexCode>(c, "pasteHexCode");
    addMethod<&VNTChromaViewController::copyHexCode>(c, "copyHexCode");
    addMethod<&VNTChromaViewController::textFieldShouldBeginEditing>(c, "textFieldShouldBeginEditing:");
    addMethod<&VNTChromaViewController::textFieldShouldReturn>(c, "textFieldShouldReturn:");
    addMethod<&VNTChromaViewController::textFieldShouldEndEditing>(c, "textFieldShouldEndEditing:");
})

namespace {

// UIKit's numbers for the field's look.
constexpr long kTextBorderStyleNone = 0;
constexpr long kReturnKeyDone = 9;
constexpr long kAutocorrectionNo = 1;
constexpr long kTextAlignmentCenter = 1;

// "#" and six hexadecimal digits: the only text the field takes as a colour.
bool isSixDigitHex(const std::string& text) {
    return text.size() == 7 && text[0] == '#' &&
           std::all_of(text.begin() + 1, text.end(), [](unsigned char c) { return std::isxdigit(c) != 0; });
}

}  // namespace

void VNTChromaViewController::initWithProperties(PSSpecifier::Properties properties) {
    UIViewController::init();
    m_properties = std::move(properties);
}

void VNTChromaViewController::viewDidLoad() {
    UIViewController::viewDidLoad();
    m_building = true;
    const auto theme = vnt::kit::currentThemeForNewComponent();
    auto root = view();
    root->setBackgroundColor(UIColor::colorWithWhiteAlpha(1, 0.0001));

    // The opened colour: the domain's value, else the row's default. One that reads as no colour opens as opaque
    // white, the colour the cards fall back to, so the first store writes a visible colour.
    std::string stored;
    const auto key = chroma::stringProperty(m_properties, "key");
    const auto domain = chroma::stringProperty(m_properties, "defaults");
    if (key && domain) {
        const Value value = CFPreferencesCopyAppValue(*key, *domain);
        if (const std::string* s = value.asString()) stored = *s;
    }
    if (stored.empty()) stored = chroma::stringProperty(m_properties, "default").value_or("");
    Ref<UIColor> opened = chroma::colorFromHexString(stored);
    if (!opened) opened = UIColor::whiteColor();
    CGFloat hue = 0, saturation = 0, brightness = 0, alpha = 1;
    opened->getHueSaturationBrightnessAlpha(&hue, &saturation, &brightness, &alpha);

    const CGRect r = root->bounds();
    m_containerView = alloc<UIView>();
    m_containerView->initWithFrame(CGRectMake(20, r.height() - kContainerHeight - kContainerBottomGap,
                                              r.width() - 40, kContainerHeight));
    m_containerView->layer()->setCornerRadius(15);
    m_containerView->layer()->setCornerCurve(kCACornerCurveContinuous);
    m_containerView->setClipsToBounds(true);
    if (theme)
        m_containerView->layer()->addSublayer(vnt::makeThemeGradient(*theme, m_containerView->bounds()));
    root->addSubview(m_containerView);
    const CGFloat c = m_containerView->bounds().width();

    m_currentColorView = alloc<UIView>();
    m_currentColorView->initWithFrame(CGRectMake(c / 2 - 100, 15, 200, 40));
    m_currentColorView->layer()->setCornerRadius(20);
    m_currentColorView->setClipsToBounds(true);
    m_currentColorView->setBackgroundColor(opened);
    m_containerView->addSubview(m_currentColorView);

    m_hexField = alloc<UITextField>();
    m_hexField->initWithFrame(CGRectMake(60, 5, 80, 30));
    m_hexField->setBorderStyle(kTextBorderStyleNone);
    m_hexField->setReturnKeyType(kReturnKeyDone);
    m_hexField->setAutocorrectionType(kAutocorrectionNo);
    m_hexField->setBackgroundColor(UIColor::clearColor());
    m_hexField->layer()->setBorderColor(UIColor::colorWithWhiteAlpha(1, 0.5)->CGColor());
    m_hexField->layer()->setBorderWidth(1);
    m_hexField->layer()->setCornerRadius(5);
    m_hexField->setClipsToBounds(true);
    m_hexField->setTextAlignment(kTextAlignmentCenter);
    m_hexField->setTextColor(UIColor::whiteColor());
    m_hexField->setDelegate(self());
    showFieldTextOf(stored);
    m_currentColorView->addSubview(m_hexField);

    const CGFloat x = c / 2 - kControlWidth / 2;
    m_pickerView = alloc<ChromaPickerView>();
    m_pickerView->init();
    m_pickerView->setFrame(CGRectMake(x, 65, kControlWidth, 230));
    m_pickerView->layer()->setCornerRadius(10);
    m_pickerView->layer()->setCornerCurve(kCACornerCurveContinuous);
    m_pickerView->setClipsToBounds(true);
    m_pickerView->setDelegate(self());
    m_pickerView->setHue(static_cast<float>(hue));
    m_pickerView->setValue(CGPointMake(saturation, brightness));
    m_containerView->addSubview(m_pickerView);

    m_hueView = alloc<ChromaHueView>();
    m_hueView->initWithFrame(CGRectMake(x, 305, kControlWidth, 30));
    m_hueView->layer()->setCornerRadius(15);
    m_hueView->layer()->setCornerCurve(kCACornerCurveContinuous);
    m_hueView->setClipsToBounds(true);
    m_hueView->setDelegate(self());
    m_hueView->setHue(static_cast<float>(hue));
    m_containerView->addSubview(m_hueView);

    m_alphaView = alloc<ChromaAlphaView>();
    m_alphaView->initWithFrame(CGRectMake(x, 345, kControlWidth, 30));
    m_alphaView->layer()->setCornerRadius(15);
    m_alphaView->layer()->setCornerCurve(kCACornerCurveContinuous);
    m_alphaView->setClipsToBounds(true);
    m_alphaView->setDelegate(self());
    m_alphaView->setAlphaValue(static_cast<float>(alpha));
    m_containerView->addSubview(m_alphaView);

    m_doneButton = UIButton::buttonWithType(UIButtonTypeCustom);
    m_doneButton->setFrame(CGRectMake(c / 2 - 70, kContainerHeight - 15 - 50, 140, 50));
    m_doneButton->setTitleForState("Done", UIControlStateNormal);
    m_doneButton->titleLabel()->setFont(UIFont::systemFontOfSize(17));
    m_doneButton->setBackgroundColor(UIColor::whiteColor());
    m_doneButton->layer()->setCornerRadius(25);
    m_doneButton->setClipsToBounds(true);
    m_doneButton->setTitleColorForState(vnt::accentColour(theme), UIControlStateNormal);
    m_doneButton->addTargetActionForControlEvents(self(), sel("dismiss"), UIControlEventTouchUpInside);
    m_containerView->addSubview(m_doneButton);

    m_building = false;
    updateColor();
}

void VNTChromaViewController::showFieldTextOf(const std::string& stored) {
    // Six digits after the "#"; a shorter string shows whole.
    m_hexField->setText("#" + stored.substr(0, std::min<std::size_t>(6, stored.size())));
}

void VNTChromaViewController::viewDidLayoutSubviews() {
    UIViewController::viewDidLayoutSubviews();
    if (m_pickerView && m_hueView) m_pickerView->setHue(m_hueView->hue());
}

Ref<UIColor> VNTChromaViewController::currentColor() const {
    if (!m_pickerView || !m_hueView || !m_alphaView) return nullptr;
    const CGPoint value = m_pickerView->value();
    return UIColor::colorWithHueSaturationBrightnessAlpha(m_pickerView->hue(), value.x, value.y,
                                                          m_alphaView->alphaValue());
}

void VNTChromaViewController::updateColor() {
    // While the controls are still being made, their values are half set; the set-up stores once at its end.
    if (m_building || !m_pickerView || !m_hueView || !m_alphaView) return;
    m_pickerView->setHue(m_hueView->hue());
    const auto key = chroma::stringProperty(m_properties, "key");
    const auto domain = chroma::stringProperty(m_properties, "defaults");
    const auto path = domain ? chroma::preferencesFilePath(*domain) : std::nullopt;
    auto file = path ? platform::dictionaryWithContentsOfFile(*path) : std::nullopt;

    auto color = currentColor();
    m_currentColorView->setBackgroundColor(color);
    const std::string stored = chroma::stringFromColor(color);
    m_hexField->setText("#" + stored.substr(0, 6));

    if (key && domain) {
        if (file) {
            (*file)[*key] = Value(stored);
            platform::writeDictionaryToFile(*chroma::preferencesFileURL(*domain), *file);
        }
        CFPreferencesSetAppValue(*key, Value(stored), *domain);
    }
    // Delivered at once: every colour row shows the new colour before the distributed post goes out.
    NSNotificationCenter::defaultCenter()->postNotificationNameObject(chroma::kColorUpdateNotification, self());
    if (auto name = chroma::stringProperty(m_properties, "PostNotification"))
        CFNotificationCenterPostNotification(CFNotificationCenterGetDistributedCenter(), *name, nullptr, nullptr, true);

    auto ink = m_hexField->text() == "#FFFFFF" ? UIColor::blackColor() : UIColor::whiteColor();
    m_hexField->setTextColor(ink);
    m_hexField->layer()->setBorderColor(ink->CGColor());
}

void VNTChromaViewController::updateWithColor(Ref<UIColor> color) {
    if (!color || !m_pickerView || !m_hueView || !m_alphaView) return;
    CGFloat hue = 0, saturation = 0, brightness = 0, alpha = 1;
    color->getHueSaturationBrightnessAlpha(&hue, &saturation, &brightness, &alpha);
    m_pickerView->setHue(static_cast<float>(hue));
    m_pickerView->setValue(CGPointMake(saturation, brightness));
    m_hueView->setHue(static_cast<float>(hue));
    m_alphaView->setAlphaValue(static_cast<float>(alpha));
    updateColor();
}

void VNTChromaViewController::dismiss() { dismissViewControllerAnimatedCompletion(true); }

bool VNTChromaViewController::textFieldShouldBeginEditing(Ref<UITextField> field) {
    if (!field) return true;
    auto toolbar = alloc<UIToolbar>();
    toolbar->initWithFrame(CGRectZero);
    toolbar->setBarStyle(UIBarStyleDefault);
    toolbar->setTintColor(UIColor::systemBlueColor());
    toolbar->setItems(hexToolBarButtons());
    toolbar->sizeToFit();
    field->setInputAccessoryView(toolbar);
    return true;
}

bool VNTChromaViewController::textFieldShouldReturn(Ref<UITextField> field) {
    if (field) field->resignFirstResponder();
    return true;
}

bool VNTChromaViewController::textFieldShouldEndEditing(Ref<UITextField> field) {
    if (!field) return true;
    const std::string text = field->text();
    if (isSixDigitHex(text))
        if (auto color = chroma::colorFromHexString(text)) {
            updateWithColor(color);
            return true;
        }
    // Anything else goes back to the colour the controls hold; nothing is stored.
    field->setText("#" + chroma::stringFromColor(currentColor()).substr(0, 6));
    return true;
}

std::vector<Ref<UIBarButtonItem>> VNTChromaViewController::hexToolBarButtons() {
    auto space = alloc<UIBarButtonItem>();
    space->initWithBarButtonSystemItemTargetAction(UIBarButtonSystemItemFlexibleSpace, nullptr, nullptr);
    auto paste = alloc<UIBarButtonItem>();
    paste->initWithTitleStyleTargetAction("Paste", UIBarButtonItemStylePlain, self(), sel("pasteHexCode"));
    auto copy = alloc<UIBarButtonItem>();
    copy->initWithTitleStyleTargetAction("Copy", UIBarButtonItemStylePlain, self(), sel("copyHexCode"));
    return {space, paste, copy};
}

void VNTChromaViewController::pasteHexCode() {
    if (!m_hexField) return;
    if (auto text = UIPasteboard::generalPasteboard()->string()) m_hexField->setText(*text);
}

void VNTChromaViewController::copyHexCode() {
    if (m_hexField) UIPasteboard::generalPasteboard()->setString(m_hexField->text());
}
