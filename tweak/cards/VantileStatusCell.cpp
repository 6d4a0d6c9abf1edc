#include "tweak/cards/VantileStatusCell.h"

#include "tweak/cards/CardKind.h"

#include "common/Keys.h"
#include "platform/core/NSTimer.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/UIColor.h"
#include "platform/ui/NSLayoutConstraint.h"
#include "platform/ui/CALayer.h"
#include "platform/ui/UILabel.h"

VT_REGISTER_CLASS(VantileStatusCell)

void VantileStatusCell::constrainSubtitle(const Ref<UILabel>& subtitle) {
    subtitle->layer()->setCornerRadius(kPillCornerRadius);
    subtitle->setClipsToBounds(true);
    subtitle->widthAnchor().constraintEqualToConstant(pillWidth())->setActive(true);
    subtitle->heightAnchor().constraintEqualToConstant(kPillHeight)->setActive(true);
}

void VantileStatusCell::startPolling() {
    vantile::cards::CardKind* cardKind = kind();
    if (!cardKind || !cardKind->row.polls()) return;
    cardKind->lastPollTimer = NSTimer::scheduledTimerWithTimeIntervalTargetSelectorUserInfoRepeats(
        kPollInterval, self(), sel(cardKind->row.pollSelector), nullptr, true);
}

void VantileStatusCell::showStatus(bool on) {
    const Ref<UILabel>& pill = subtitleLabel();
    vantile::cards::CardKind* cardKind = kind();
    if (!cardKind) return;
    const vantile::cards::CardSettings& settings = cardKind->settings;
    const auto& keys = cardKind->row.textKeys;
    if (on) {
        cardKind->lastOnString = storedColourString(vantile::key::vantileStatusONChroma, vantile::fallback::statusONChroma);
        cardKind->lastOnColor = cardColorFromHexString(cardKind->lastOnString);
        pill->setText(settings.text(keys[1]));
        pill->setBackgroundColor(cardKind->lastOnColor);
    } else {
        cardKind->lastOffString =
            storedColourString(vantile::key::vantileStatusOFFChroma, vantile::fallback::statusOFFChroma);
        cardKind->lastOffColor = cardColorFromHexString(cardKind->lastOffString);
        pill->setText(settings.text(keys[2]));
        pill->setBackgroundColor(cardKind->lastOffColor);
    }
    if (!settings.toggleCellsFontChroma) pill->setTextColor(UIColor::whiteColor());
}
