// Start-up state of the Do Not Disturb card.
#include "tweak/cards/CardStartup.h"

namespace vantile::cards {

CardSettings& dNDCellSettings() {
    static CardSettings settings("DNDCell");
    return settings;
}

void dNDCellStartup() { dNDCellSettings().load({"dnd"}); }

}  // namespace vantile::cards
