// Start-up state of the General card.
#include "tweak/cards/CardStartup.h"

namespace vantile::cards {

CardSettings& generalCellSettings() {
    static CardSettings settings("GeneralCell");
    return settings;
}

void generalCellStartup() { generalCellSettings().load({"general"}); }

}  // namespace vantile::cards
