#pragma once

// The network cards (Wi-Fi, cellular data): a wide status pill showing whether the row's interface has an IPv4
// address, asked of the shared VantileManager once a second by the row's question ("connectedToWiFi" asks "en0",
// "connectedToCellNetwork" asks "pdp_ip0").
//
// Published on each card class: its row's poll selector ("refreshWiFi", "refreshCellular") as
//            void refreshNetworkStatus()   (sent by the card's timer)

#include "tweak/cards/VantileStatusCell.h"

class VantileNetworkCell : public VantileStatusCell {
    VT_OBJECT(VantileNetworkCell, VantileStatusCell)
public:
    // Shows the manager's answer; a card without a row shows nothing.
    virtual void refreshNetworkStatus();

protected:
    CGFloat pillWidth() const override { return kWidePill; }
    void finishBuilding() override;
};
