// Start-up state of the Accessibility card.
#include "tweak/cards/CardStartup.h"

namespace vantile::cards {

CardSettings& accessibilityCellSettings() {
    static CardSettings settings("AccessibilityCell");
    return settings;
}

void accessibilityCellStartup() { accessibilityCellSettings().load({"accessibility"}); }

}  // namespace vantile::cards
