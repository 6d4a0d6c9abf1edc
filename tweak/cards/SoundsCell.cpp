// Start-up state of the Sounds card.
#include "tweak/cards/CardStartup.h"

namespace vantile::cards {

CardSettings& soundsCellSettings() {
    static CardSettings settings("SoundsCell");
    return settings;
}

void soundsCellStartup() { soundsCellSettings().load({"sounds"}); }

}  // namespace vantile::cards
