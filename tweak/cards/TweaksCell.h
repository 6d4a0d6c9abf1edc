#pragma once

// The tweaks card: its subtitle counts the installed preference bundles when the card is built ("%ld Tweaks",
// no singular form; 0 when the folder cannot be listed). Its title is the tweaks section title at build time; a
// tap opens the page named by the section title current at the tap.

#include "tweak/cards/VantileCardCell.h"

class TweaksCell : public VantileCardCell {
    VT_OBJECT(TweaksCell, VantileCardCell)
public:
    static constexpr std::string_view kFolder = "/Library/PreferenceBundles/";

protected:
    void finishBuilding() override;
};
