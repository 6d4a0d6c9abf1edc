#pragma once

// The Wi-Fi card: a wide status pill showing whether "en0" has an IPv4 address, asked of the shared VantileManager
// once a second.
//
// Published: "refreshWiFi"  void refreshWiFi()   (the poll, sent by the card's timer)

#include "tweak/cards/VantileStatusCell.h"

class WifiCell : public VantileStatusCell {
    VT_OBJECT(WifiCell, VantileStatusCell)
public:
    // The status value the poll compares with; it is never shown.
    static constexpr std::string_view kConnectedValue = "Connected to WiFi: Yes";
    static constexpr std::string_view kDisconnectedValue = "Connected to WiFi: No";

    virtual void refreshWiFi();

protected:
    CGFloat pillWidth() const override { return kWidePill; }
    std::string_view onTextKey() const override { return "statusCONNECTED"; }
    std::string_view offTextKey() const override { return "statusDISCONNECTED"; }
    void finishBuilding() override;
};

namespace vantile {
// The timer most recently started by a Wi-Fi card; earlier ones keep running.
extern Ref<NSTimer> refreshWifiTimer;
}  // namespace vantile
