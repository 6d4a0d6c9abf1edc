#pragma once

// The stock applications card: its subtitle counts the entries of the system applications folder when the card is
// built ("%ld installed", every entry whatever its kind; 0 when the folder cannot be listed). A card keeps its
// count; a later installation shows in a card built afterwards.

#include "tweak/cards/VantileCardCell.h"

class StockAppsCell : public VantileCardCell {
    VT_OBJECT(StockAppsCell, VantileCardCell)
public:
    static constexpr std::string_view kFolder = "/Applications/";

protected:
    void finishBuilding() override;
};
