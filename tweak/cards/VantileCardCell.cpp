#include "tweak/cards/VantileCardCell.h"

#include "tweak/cards/CardKind.h"

#include "common/Keys.h"
#include "platform/core/HBPreferences.h"
#include "platform/core/NSScanner.h"
#include "platform/core/NSString.h"
#include "platform/core/NSURL.h"
#include "platform/core/Random.h"
#include "platform/core/Runtime.h"
#include "platform/core/StringFormat.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIFont.h"
#include "platform/gfx/UIImage.h"
#include "platform/ui/NSLayoutConstraint.h"
#include "platform/ui/CALayer.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UIImpactFeedbackGenerator.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UITapGestureRecognizer.h"
#include "platform/ui/UITraitCollection.h"

#include <functional>

VT_REGISTER_CLASS(VantileCardCell, [](Class c) {
    using platform::runtime::addMethod;
    addMethod<&VantileCardCell::initWithFrame>(c, "initWithFrame:");
    addMethod<&VantileCardCell::fetchColourOptions>(c, "fetchColourOptions");
    addMethod<&VantileCardCell::traitCollectionDidChange>(c, "traitCollectionDidChange:");
    addMethod<&VantileCardCell::openPreferencesPath>(c, "openPreferencesPath");
})

namespace {

// The URL manager of the Settings application, found by name at the first tap and kept for the process. The
// run-time knows no class messages, so "sharedManager" goes to an instance made once from the class.
NSObject* settingsURLManagerSource() {
    static Class managerClass = objc_getClass("PSURLManager");
    static id source = managerClass ? platform::runtime::createInstance(managerClass) : nullptr;
    return source.get();
}

}  // namespace

void VantileCardCell::initWithFrame(CGRect frame) {
    UICollectionViewCell::initWithFrame(frame);
    m_kind = vantile::cards::cardKindForClass(className());
    const Ref<UIView> content = contentView();

    m_containerView = alloc<UIView>();
    m_containerView->initWithFrame(content->bounds());
    m_containerView->setClipsToBounds(true);
    m_containerView->layer()->setCornerRadius(kTileCornerRadius);
    m_containerView->layer()->setCornerCurve(kCACornerCurveContinuous);
    content->addSubview(m_containerView);

    m_cellBaseView = alloc<UIView>();
    m_cellBaseView->init();
    m_cellBaseView->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_containerView->addSubview(m_cellBaseView);
    m_cellBaseView->topAnchor().constraintEqualToAnchorConstant(m_containerView->topAnchor(), 0)->setActive(true);
    m_cellBaseView->leadingAnchor().constraintEqualToAnchorConstant(
        m_containerView->leadingAnchor(), 0)->setActive(true);
    m_cellBaseView->trailingAnchor().constraintEqualToAnchorConstant(
        m_containerView->trailingAnchor(), 0)->setActive(true);
    m_cellBaseView->bottomAnchor().constraintEqualToAnchorConstant(m_containerView->bottomAnchor(), 0)->setActive(true);

    m_iconImage = alloc<UIImageView>();
    m_iconImage->init();
    m_iconImage->layer()->setCornerRadius(kIconCornerRadius);
    m_iconImage->layer()->setCornerCurve(kCACornerCurveContinuous);
    m_iconImage->setClipsToBounds(true);
    m_iconImage->layer()->setBorderColor(UIColor::clearColor()->CGColor());
    m_iconImage->layer()->setBorderWidth(1.0);
    if (m_kind) {
        const std::string icon = m_kind->iconPath();
        if (!icon.empty()) m_iconImage->setImage(UIImage::imageWithContentsOfFile(icon));
    }
    m_iconImage->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_cellBaseView->addSubview(m_iconImage);
    m_iconImage->widthAnchor().constraintEqualToConstant(kIconSize)->setActive(true);
    m_iconImage->heightAnchor().constraintEqualToConstant(kIconSize)->setActive(true);
    m_iconImage->topAnchor().constraintEqualToAnchorConstant(m_cellBaseView->topAnchor(), kIconTop)->setActive(true);
    m_iconImage->centerXAnchor().constraintEqualToAnchor(m_cellBaseView->centerXAnchor())->setActive(true);

    auto makeLabel = [&](Ref<UIFont> font, long lines, const Ref<UIView>& above, CGFloat gap) {
        auto label = alloc<UILabel>();
        label->init();
        label->setTextColor(UIColor::labelColor());
        label->setFont(std::move(font));
        label->setTextAlignment(NSTextAlignmentCenter);
        label->setNumberOfLines(lines);
        label->setTranslatesAutoresizingMaskIntoConstraints(false);
        m_cellBaseView->addSubview(label);
        label->topAnchor().constraintEqualToAnchorConstant(above->bottomAnchor(), gap)->setActive(true);
        label->centerXAnchor().constraintEqualToAnchor(m_cellBaseView->centerXAnchor())->setActive(true);
        return label;
    };
    m_titleLabel = makeLabel(UIFont::boldSystemFontOfSize(kTitleFontSize), 2, m_iconImage, kTitleGap);
    m_titleLabel->leadingAnchor().constraintEqualToAnchorConstant(
        m_cellBaseView->leadingAnchor(), kSideInset)->setActive(true);
    m_titleLabel->trailingAnchor().constraintEqualToAnchorConstant(
        m_cellBaseView->trailingAnchor(), -kSideInset)->setActive(true);
    if (m_kind) m_titleLabel->setText(m_kind->titleText());
    m_subtitleLabel = makeLabel(UIFont::systemFontOfSize(kSubtitleFontSize), 1, m_titleLabel, kSubtitleGap);
    constrainSubtitle(m_subtitleLabel);

    finishBuilding();
}

void VantileCardCell::constrainSubtitle(const Ref<UILabel>& subtitle) {
    subtitle->leadingAnchor().constraintEqualToAnchorConstant(
        m_cellBaseView->leadingAnchor(), kSideInset)->setActive(true);
    subtitle->trailingAnchor().constraintEqualToAnchorConstant(
        m_cellBaseView->trailingAnchor(), -kSideInset)->setActive(true);
}

void VantileCardCell::finishBuilding() {
    addTapRecognizer();
    sendFetchColourOptions();
}

void VantileCardCell::addTapRecognizer() {
    auto tap = alloc<UITapGestureRecognizer>();
    tap->initWithTargetAction(self(), sel("openPreferencesPath"));
    m_cellBaseView->addGestureRecognizer(tap);
}

void VantileCardCell::sendFetchColourOptions() { platform::msgSend(this, sel("fetchColourOptions")); }

void VantileCardCell::fireLightHaptic() {
    if (!m_kind || !m_kind->settings.toggleHaptics) return;
    auto haptic = alloc<UIImpactFeedbackGenerator>();
    haptic->initWithStyle(UIImpactFeedbackStyleLight);
    m_kind->lastHaptic = haptic;
    haptic->impactOccurred();
}

void VantileCardCell::fetchColourOptions() { applyColourOptions(); }

void VantileCardCell::traitCollectionDidChange(Ref<UITraitCollection>) { applyColourOptions(); }

void VantileCardCell::applyColourOptions() {
    const long style = UITraitCollection::currentTraitCollection()->userInterfaceStyle();
    if (style == UIUserInterfaceStyleDark) m_cellBaseView->setBackgroundColor(darkTileColor());
    else if (style == UIUserInterfaceStyleLight) m_cellBaseView->setBackgroundColor(UIColor::whiteColor());
    if (!m_kind) return;

    vantile::cards::CardKind& kind = *m_kind;
    const vantile::cards::CardSettings& settings = kind.settings;

    if (settings.toggleCellsChroma) {
        kind.lastBackgroundString = storedColourString(vantile::key::vantileCellsChroma, vantile::fallback::cellsChroma);
        kind.lastBackgroundColor = cardColorFromHexString(kind.lastBackgroundString);
        m_cellBaseView->setBackgroundColor(kind.lastBackgroundColor);
    }
    if (settings.toggleCellsRandomChroma) {
        // Three draws in this order: hue over the whole circle, saturation and brightness in the upper half.
        const std::uint32_t first = platform::arc4random();
        const std::uint32_t second = platform::arc4random();
        const std::uint32_t third = platform::arc4random();
        m_cellBaseView->setBackgroundColor(UIColor::colorWithHueSaturationBrightnessAlpha(
            (first & 0xFF) / 256.0, (second & 0x7F) / 256.0 + 0.5, (third & 0x7F) / 256.0 + 0.5, 1.0));
        if (!settings.toggleCellsFontChroma) applyTextColor(UIColor::whiteColor());
    }
    if (settings.toggleCellsFontChroma) {
        kind.lastTextString =
            storedColourString(vantile::key::vantileCellsFontChroma, vantile::fallback::cellsFontChroma);
        kind.lastTextColor = cardColorFromHexString(kind.lastTextString);
        applyTextColor(kind.lastTextColor);
    }
}

void VantileCardCell::applyTextColor(const Ref<UIColor>& color) {
    m_titleLabel->setTextColor(color);
    m_subtitleLabel->setTextColor(color);
}

void VantileCardCell::openPreferencesPath() {
    const std::optional<std::string> address = m_kind ? m_kind->settingsURL() : std::nullopt;
    const Ref<NSURL> url = address ? NSURL::URLWithString(*address) : nullptr;
    if (NSObject* source = settingsURLManagerSource()) {
        const id manager = platform::msgSend<id>(source, sel("sharedManager"));
        platform::msgSend<void, Ref<NSURL>, bool, bool, std::function<void()>>(
            manager, sel("processURL:animated:fromSearch:withCompletion:"), url, true, false, nullptr);
    }
    fireLightHaptic();
}

std::string VantileCardCell::storedColourString(std::string_view key, std::string_view fallback) {
    auto prefs = alloc<HBPreferences>();
    prefs->initWithIdentifier(vantile::kDomain);
    const Value stored = prefs->objectForKey(key);
    if (const std::string* text = stored.asString()) return *text;
    return std::string(fallback);
}

Ref<UIColor> VantileCardCell::darkTileColor() { return UIColor::colorWithRedGreenBlueAlpha(0.11, 0.11, 0.12, 1.0); }

CGFloat VantileCardCell::cardColorComponentFrom(std::string_view hex, std::size_t start, std::size_t length) {
    const std::string part = platform::substringWithUTF16Range(hex, start, length);
    const std::string text = length == 2 ? part : platform::stringWithFormat("%@%@", part, part);
    return NSScanner::scannerWithString(text)->scanHexInt().value_or(0) / 255.0;
}

Ref<UIColor> VantileCardCell::cardColorFromHexString(std::string_view hex) {
    CGFloat red = 0, green = 0, blue = 0, alpha = 0;
    switch (platform::utf16Length(hex)) {
    case 3:
    case 4: {
        red = cardColorComponentFrom(hex, 0, 1);
        green = cardColorComponentFrom(hex, 1, 1);
        blue = cardColorComponentFrom(hex, 2, 1);
        alpha = platform::utf16Length(hex) == 4 ? cardColorComponentFrom(hex, 3, 1) : 1.0;
        break;
    }
    case 6:
    case 8: {
        red = cardColorComponentFrom(hex, 0, 2);
        green = cardColorComponentFrom(hex, 2, 2);
        blue = cardColorComponentFrom(hex, 4, 2);
        alpha = platform::utf16Length(hex) == 8 ? cardColorComponentFrom(hex, 6, 2) : 1.0;
        break;
    }
    default: break;
    }
    return UIColor::colorWithRedGreenBlueAlpha(red, green, blue, alpha);
}
