// Start-up state of the Stock Apps card.
#include "tweak/cards/CardStartup.h"

namespace vantile::cards {

CardSettings& stockAppsCellSettings() {
    static CardSettings settings("StockAppsCell");
    return settings;
}

// Its title is the user's section title, so it fetches no texts.
void stockAppsCellStartup() { stockAppsCellSettings().load({}); }

}  // namespace vantile::cards
