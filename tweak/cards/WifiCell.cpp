// Start-up state of the Wi-Fi card.
#include "tweak/cards/CardStartup.h"

namespace vantile::cards {

CardSettings& wifiCellSettings() {
    static CardSettings settings("WifiCell");
    return settings;
}

void wifiCellStartup() { wifiCellSettings().load({"wifi", "statusCONNECTED", "statusDISCONNECTED"}); }

}  // namespace vantile::cards
