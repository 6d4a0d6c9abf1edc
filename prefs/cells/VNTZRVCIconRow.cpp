#include "prefs/cells/VNTZRVCIconRow.h"

#include "prefs/drawer/VNTTheme.h"

#include "common/Keys.h"
#include "platform/core/HBPreferences.h"
#include "platform/gfx/UIFont.h"
#include "platform/gfx/UIImage.h"
#include "platform/ui/CALayer.h"

namespace vnt::kit {

const IconRule* iconRuleFor(std::string_view cellClass, std::string_view header, std::string_view subtitle) {
    for (const IconRule& rule : kIconRules) {
        if (rule.cellClass != cellClass) continue;
        switch (rule.match) {
        case IconMatch::Always:
            return &rule;
        case IconMatch::Header:
            if (header == rule.text) return &rule;
            break;
        case IconMatch::Subtitle:
            if (subtitle == rule.text) return &rule;
            break;
        }
    }
    return nullptr;
}

std::optional<Theme> currentThemeForNewComponent() {
    // The flags are declared before the object that binds them, so the object goes first and never writes to
    // flags that are gone.
    ThemeFlags flags;
    auto preferences = alloc<HBPreferences>();
    preferences->initWithIdentifier(vantile::kDomain);
    flags.bind(*preferences);
    const auto theme = flags.current();
    preferences.reset();
    return theme;
}

std::string specifierText(const PSSpecifier* specifier, std::string_view key) {
    if (!specifier) return {};
    return specifier->stringProperty(key).value_or("");
}

namespace {

Ref<UILabel> makeLabel(CGRect frame, CGFloat fontSize) {
    auto label = alloc<UILabel>();
    label->initWithFrame(frame);
    label->setFont(UIFont::systemFontOfSize(fontSize));
    return label;
}

}  // namespace

const IconRule* showIconRow(UIView& cell, PSSpecifier* specifier, std::string_view cellClass, IconRowViews& views) {
    if (!views.iconImage) {
        views.iconImage = alloc<UIImageView>();
        views.iconImage->initWithFrame(kIconFrame);
        views.headerLabel = makeLabel(kHeaderFrame, kHeaderFontSize);
        views.subtitleLabel = makeLabel(kSubtitleFrame, kSubtitleFontSize);
        cell.addSubview(views.iconImage);
        cell.addSubview(views.headerLabel);
        cell.addSubview(views.subtitleLabel);
    }
    // The host asks the row's height from the specifier, so the row is 70 points high from its next layout on.
    if (specifier) specifier->setPropertyForKey(Property(kIconRowHeight), "height");
    const std::string header = specifierText(specifier, "header");
    const std::string subtitle = specifierText(specifier, "subtitle");
    views.headerLabel->setText(header);
    views.subtitleLabel->setText(subtitle);

    // A row shown before for another entry may carry that entry's picture and its look.
    const auto& icon = views.iconImage;
    icon->setContentMode(UIViewContentModeScaleToFill);
    icon->layer()->setCornerRadius(0);
    icon->layer()->setCornerCurve(kCACornerCurveCircular);
    icon->setClipsToBounds(false);
    const IconRule* rule = iconRuleFor(cellClass, header, subtitle);
    icon->setImage(rule ? themedImage(currentThemeForNewComponent(), rule->group, rule->file) : nullptr);
    return rule;
}

}  // namespace vnt::kit
