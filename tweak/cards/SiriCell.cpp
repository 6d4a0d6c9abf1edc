// Start-up state of the Siri card.
#include "tweak/cards/CardStartup.h"

namespace vantile::cards {

CardSettings& siriCellSettings() {
    static CardSettings settings("SiriCell");
    return settings;
}

void siriCellStartup() { siriCellSettings().load({"siri"}); }

}  // namespace vantile::cards
