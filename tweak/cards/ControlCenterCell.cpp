// Start-up state of the Control Center card.
#include "tweak/cards/CardStartup.h"

namespace vantile::cards {

CardSettings& controlCenterCellSettings() {
    static CardSettings settings("ControlCenterCell");
    return settings;
}

void controlCenterCellStartup() { controlCenterCellSettings().load({"controlcenter"}); }

}  // namespace vantile::cards
