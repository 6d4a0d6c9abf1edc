// Start-up state of the Emergency card.
#include "tweak/cards/CardStartup.h"

namespace vantile::cards {

CardSettings& emergencyCellSettings() {
    static CardSettings settings("EmergencyCell");
    return settings;
}

void emergencyCellStartup() { emergencyCellSettings().load({"emergency"}); }

}  // namespace vantile::cards
