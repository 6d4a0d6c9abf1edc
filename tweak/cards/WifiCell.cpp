// The Wi-Fi card and its start-up state.
#include "tweak/cards/WifiCell.h"

#include "tweak/cards/CardStartup.h"
#include "tweak/cards/VantileManager.h"

#include "platform/core/NSTimer.h"
#include "platform/core/Runtime.h"

#include <string>

VT_REGISTER_CLASS(WifiCell, [](Class c) { platform::runtime::addMethod<&WifiCell::refreshWiFi>(c, "refreshWiFi"); })

namespace vantile {
Ref<NSTimer> refreshWifiTimer;
}  // namespace vantile

void WifiCell::finishBuilding() {
    addTapRecognizer();
    sendFetchColourOptions();
    vantile::refreshWifiTimer = schedulePollTimer("refreshWiFi");
}

void WifiCell::refreshWiFi() {
    const bool connected = platform::msgSend<bool>(VantileManager::sharedManager(), sel("connectedToWiFi"));
    const std::string status(connected ? kConnectedValue : kDisconnectedValue);
    showStatus(status == kConnectedValue);
}

namespace vantile::cards {

CardSettings& wifiCellSettings() {
    static CardSettings settings("WifiCell");
    return settings;
}

void wifiCellStartup() { wifiCellSettings().load({"wifi", "statusCONNECTED", "statusDISCONNECTED"}); }

}  // namespace vantile::cards
