// Start-up state of the Battery card.
#include "tweak/cards/CardStartup.h"

namespace vantile::cards {

CardSettings& batteryCellSettings() {
    static CardSettings settings("BatteryCell");
    return settings;
}

void batteryCellStartup() { batteryCellSettings().load({"battery"}); }

}  // namespace vantile::cards
