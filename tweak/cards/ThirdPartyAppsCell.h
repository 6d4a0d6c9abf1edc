#pragma once

// The store applications card: its subtitle counts, when the card is built, the installed applications whose
// record carries a store item name ("%ld installed"). The workspace is found by name and asked by selector name;
// without it the count is 0.

#include "tweak/cards/VantileCardCell.h"

class ThirdPartyAppsCell : public VantileCardCell {
    VT_OBJECT(ThirdPartyAppsCell, VantileCardCell)
public:
    // The store item names of the installed applications, in the workspace's order; empty without a workspace.
    static std::vector<std::string> storeItemNames();

protected:
    void finishBuilding() override;
};
