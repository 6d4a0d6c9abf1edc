// Start-up state of the Display card.
#include "tweak/cards/CardStartup.h"

namespace vantile::cards {

CardSettings& displayCellSettings() {
    static CardSettings settings("DisplayCell");
    return settings;
}

void displayCellStartup() { displayCellSettings().load({"display"}); }

}  // namespace vantile::cards
