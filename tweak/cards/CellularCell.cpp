// Start-up state of the Cellular card.
#include "tweak/cards/CardStartup.h"

namespace vantile::cards {

CardSettings& cellularCellSettings() {
    static CardSettings settings("CellularCell");
    return settings;
}

void cellularCellStartup() { cellularCellSettings().load({"cellular", "statusCONNECTED", "statusDISCONNECTED"}); }

}  // namespace vantile::cards
