// Start-up state of the Privacy card.
#include "tweak/cards/CardStartup.h"

namespace vantile::cards {

CardSettings& privacyCellSettings() {
    static CardSettings settings("PrivacyCell");
    return settings;
}

void privacyCellStartup() { privacyCellSettings().load({"privacy"}); }

}  // namespace vantile::cards
