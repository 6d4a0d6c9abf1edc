#pragma once

// The cellular data card: a wide status pill showing whether "pdp_ip0" has an IPv4 address, asked of the shared
// VantileManager once a second.
//
// Published: "refreshCellular"  void refreshCellular()   (the poll, sent by the card's timer)

#include "tweak/cards/VantileStatusCell.h"

class CellularCell : public VantileStatusCell {
    VT_OBJECT(CellularCell, VantileStatusCell)
public:
    static constexpr std::string_view kConnectedValue = "Connected to Cell Network: Yes";
    static constexpr std::string_view kDisconnectedValue = "Connected to Cell Network: No";

    virtual void refreshCellular();

protected:
    CGFloat pillWidth() const override { return kWidePill; }
    std::string_view onTextKey() const override { return "statusCONNECTED"; }
    std::string_view offTextKey() const override { return "statusDISCONNECTED"; }
    void finishBuilding() override;
};

namespace vantile {
// The timer most recently started by a cellular card; earlier ones keep running.
extern Ref<NSTimer> refreshCellularTimer;
}  // namespace vantile
