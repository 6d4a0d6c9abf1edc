// The cellular data card and its start-up state.
#include "tweak/cards/CellularCell.h"

#include "tweak/cards/CardStartup.h"
#include "tweak/cards/VantileManager.h"

#include "platform/core/NSTimer.h"
#include "platform/core/Runtime.h"

#include <string>

VT_REGISTER_CLASS(CellularCell,
                  [](Class c) { platform::runtime::addMethod<&CellularCell::refreshCellular>(c, "refreshCellular"); })

namespace vantile {
Ref<NSTimer> refreshCellularTimer;
}  // namespace vantile

void CellularCell::finishBuilding() {
    addTapRecognizer();
    vantile::refreshCellularTimer = schedulePollTimer("refreshCellular");
    sendFetchColourOptions();
}

void CellularCell::refreshCellular() {
    const bool connected = platform::msgSend<bool>(VantileManager::sharedManager(), sel("connectedToCellNetwork"));
    const std::string status(connected ? kConnectedValue : kDisconnectedValue);
    showStatus(status == kConnectedValue);
}

namespace vantile::cards {

CardSettings& cellularCellSettings() {
    static CardSettings settings("CellularCell");
    return settings;
}

void cellularCellStartup() { cellularCellSettings().load({"cellular", "statusCONNECTED", "statusDISCONNECTED"}); }

}  // namespace vantile::cards
