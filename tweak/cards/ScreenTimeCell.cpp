// Start-up state of the Screen Time card.
#include "tweak/cards/CardStartup.h"

namespace vantile::cards {

CardSettings& screenTimeCellSettings() {
    static CardSettings settings("ScreenTimeCell");
    return settings;
}

void screenTimeCellStartup() { screenTimeCellSettings().load({"screentime"}); }

}  // namespace vantile::cards
