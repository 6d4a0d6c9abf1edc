// Start-up state of the Third Party Apps card.
#include "tweak/cards/CardStartup.h"

namespace vantile::cards {

CardSettings& thirdPartyAppsCellSettings() {
    static CardSettings settings("ThirdPartyAppsCell");
    return settings;
}

// Its title is the user's section title, so it fetches no texts.
void thirdPartyAppsCellStartup() { thirdPartyAppsCellSettings().load({}); }

}  // namespace vantile::cards
