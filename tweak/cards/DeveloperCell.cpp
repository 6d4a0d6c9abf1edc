// Start-up state of the Developer card.
#include "tweak/cards/CardStartup.h"

namespace vantile::cards {

CardSettings& developerCellSettings() {
    static CardSettings settings("DeveloperCell");
    return settings;
}

void developerCellStartup() { developerCellSettings().load({"developer"}); }

}  // namespace vantile::cards
