// Start-up state of the Hotspot card.
#include "tweak/cards/CardStartup.h"

namespace vantile::cards {

CardSettings& hotspotCellSettings() {
    static CardSettings settings("HotspotCell");
    return settings;
}

void hotspotCellStartup() { hotspotCellSettings().load({"hotspot"}); }

}  // namespace vantile::cards
