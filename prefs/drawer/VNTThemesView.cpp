#include "prefs/drawer/VNTThemesView.h"

#include "common/Keys.h"
#include "platform/core/HBPreferences.h"
#include "platform/core/NSURL.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/CGColor.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIFont.h"
#include "platform/host/HBRespringController.h"
#include "platform/ui/CAGradientLayer.h"
#include "platform/ui/CALayer.h"
#include "platform/ui/NSLayoutConstraint.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UIImpactFeedbackGenerator.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UIScreen.h"

#include <string>

VT_REGISTER_CLASS(VNTThemesView, [](Class c) {
    using platform::runtime::addMethod;
    addMethod<&VNTThemesView::initWithFrame>(c, "initWithFrame:");
    addMethod<&VNTThemesView::setupViews>(c, "setupViews");
    addMethod<&VNTThemesView::refreshThemes>(c, "refreshThemes");
    addMethod<&VNTThemesView::defaultThemeAction>(c, "defaultThemeAction");
    addMethod<&VNTThemesView::oceanThemeAction>(c, "oceanThemeAction");
    addMethod<&VNTThemesView::sunsetThemeAction>(c, "sunsetThemeAction");
    addMethod<&VNTThemesView::peachThemeAction>(c, "peachThemeAction");
    addMethod<&VNTThemesView::martiniThemeAction>(c, "martiniThemeAction");
    addMethod<&VNTThemesView::stormThemeAction>(c, "stormThemeAction");
})

namespace {

vnt::ThemeFlags g_themesThemeFlags;
Ref<HBPreferences> g_themesPreferences;
Ref<UIView> g_themesView;
std::array<Ref<UIButton>, vnt::kThemes.size()> g_buttons;
Ref<UIImpactFeedbackGenerator> g_themesHaptic;

// The buttons' actions, in table order.
constexpr std::array<std::string_view, vnt::kThemes.size()> kActions{
    "defaultThemeAction", "oceanThemeAction", "sunsetThemeAction",
    "peachThemeAction",   "martiniThemeAction", "stormThemeAction",
};

}  // namespace

const std::array<Ref<UIButton>, vnt::kThemes.size()>& VNTThemesView::themeButtons() { return g_buttons; }
Ref<UIView> VNTThemesView::themesView() { return g_themesView; }
Ref<UIImpactFeedbackGenerator> VNTThemesView::themesHapticFeedback() { return g_themesHaptic; }

void VNTThemesView::initWithFrame(CGRect frame) {
    UIView::initWithFrame(frame);
    platform::msgSend<void>(this, sel("setupViews"));
}

void VNTThemesView::setupViews() {
    g_themesView = alloc<UIView>();
    g_themesView->initWithFrame(CGRectMake(0, 0, 300, UIScreen::mainScreen()->bounds().height()));
    g_themesView->setUserInteractionEnabled(true);
    addSubview(g_themesView);

    std::vector<Ref<NSLayoutConstraint>> constraints;
    for (std::size_t i = 0; i < vnt::kThemes.size(); ++i) {
        const auto& row = vnt::kThemes[i];
        auto button = UIButton::buttonWithType(UIButtonTypeCustom);
        button->setFrame(CGRectMake(0, 0, kButtonSize.width, kButtonSize.height));
        button->setTitleForState(std::string(row.name), UIControlStateNormal);
        button->titleLabel()->setFont(UIFont::systemFontOfSize(15));
        button->setTitleColorForState(UIColor::whiteColor(), UIControlStateNormal);
        button->layer()->setCornerRadius(kButtonSize.height / 2);
        button->setClipsToBounds(true);
        button->layer()->setBorderColor(UIColor::whiteColor()->CGColor());
        button->layer()->setBorderWidth(1);
        button->addTargetActionForControlEvents(self(), sel(kActions[i]), UIControlEventTouchUpInside);
        // Behind the title: the button's own theme, whatever the current one.
        button->layer()->insertSublayerAtIndex(vnt::makeThemeGradient(row.theme, button->bounds()), 0);
        button->setTranslatesAutoresizingMaskIntoConstraints(false);
        g_themesView->addSubview(button);

        constraints.push_back(button->widthAnchor().constraintEqualToConstant(kButtonSize.width));
        constraints.push_back(button->heightAnchor().constraintEqualToConstant(kButtonSize.height));
        constraints.push_back(button->centerXAnchor().constraintEqualToAnchor(centerXAnchor()));
        constraints.push_back(i == 0 ? button->topAnchor().constraintEqualToAnchor(g_themesView->topAnchor())
                                     : button->topAnchor().constraintEqualToAnchorConstant(
                                           g_buttons[i - 1]->bottomAnchor(), kButtonGap));
        g_buttons[i] = button;
    }
    NSLayoutConstraint::activateConstraints(constraints);

    g_themesPreferences = alloc<HBPreferences>();
    g_themesPreferences->initWithIdentifier(vantile::kDomain);
    g_themesThemeFlags.bind(*g_themesPreferences);
    if (const auto theme = g_themesThemeFlags.current()) {
        const auto& current = g_buttons[static_cast<std::size_t>(*theme)];
        current->layer()->setBorderColor(UIColor::systemGreenColor()->CGColor());
        current->setTitleForState(std::string(kSelectedTitle), UIControlStateNormal);
    }
}

void VNTThemesView::chooseTheme(vnt::Theme theme) {
    if (!g_themesPreferences) return;
    for (const auto& row : vnt::kThemes) g_themesPreferences->setBoolForKey(row.theme == theme, row.key);
    g_themesHaptic = alloc<UIImpactFeedbackGenerator>();
    g_themesHaptic->initWithStyle(UIImpactFeedbackStyleMedium);
    g_themesHaptic->impactOccurred();
    platform::msgSend<void>(this, sel("refreshThemes"));
}

void VNTThemesView::refreshThemes() { HBRespringController::respringAndReturnTo(NSURL::URLWithString(kReturnAddress)); }
