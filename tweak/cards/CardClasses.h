#pragma once

// The card classes of the dashboard that add nothing to the template, in catalogue order. Each exists in the
// run-time under its own name, so the grid can register it under its reuse identifier; what one shows and opens
// comes from its kind (CardKind.h), so the classes themselves are only names. The live and counting cards have
// file pairs of their own and override the template's virtuals there.

#include "tweak/cards/VantileCardCell.h"

#define VANTILE_CARD_CLASS(Name)              \
    class Name : public VantileCardCell {     \
        VT_OBJECT(Name, VantileCardCell)      \
    };

VANTILE_CARD_CLASS(HotspotCell)
VANTILE_CARD_CLASS(NotificationsCell)
VANTILE_CARD_CLASS(SoundsCell)
VANTILE_CARD_CLASS(DNDCell)
VANTILE_CARD_CLASS(ScreenTimeCell)
VANTILE_CARD_CLASS(GeneralCell)
VANTILE_CARD_CLASS(ControlCenterCell)
VANTILE_CARD_CLASS(DisplayCell)
VANTILE_CARD_CLASS(AccessibilityCell)
VANTILE_CARD_CLASS(WallpaperCell)
VANTILE_CARD_CLASS(SiriCell)
VANTILE_CARD_CLASS(PasscodeCell)
VANTILE_CARD_CLASS(EmergencyCell)
VANTILE_CARD_CLASS(BatteryCell)
VANTILE_CARD_CLASS(PrivacyCell)
VANTILE_CARD_CLASS(DeveloperCell)

#undef VANTILE_CARD_CLASS
