// Start-up state of the Tweaks card.
#include "tweak/cards/CardStartup.h"

namespace vantile::cards {

CardSettings& tweaksCellSettings() {
    static CardSettings settings("TweaksCell");
    return settings;
}

// Its title is the user's section title, so it fetches no texts.
void tweaksCellStartup() { tweaksCellSettings().load({}); }

}  // namespace vantile::cards
