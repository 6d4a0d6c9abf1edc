// The tweaks card and its start-up state.
#include "tweak/cards/TweaksCell.h"

#include "tweak/cards/CardStartup.h"

#include "platform/core/NSFileManager.h"
#include "platform/core/Runtime.h"
#include "platform/core/StringFormat.h"
#include "platform/ui/UILabel.h"

VT_REGISTER_CLASS(TweaksCell)

void TweaksCell::finishBuilding() {
    const auto entries = NSFileManager::defaultManager()->contentsOfDirectoryAtPath(kFolder);
    const long count = entries ? static_cast<long>(entries->size()) : 0;
    subtitleLabel()->setText(platform::stringWithFormat("%ld Tweaks", count));
    VantileCardCell::finishBuilding();
}

namespace vantile::cards {

CardSettings& tweaksCellSettings() {
    static CardSettings settings("TweaksCell");
    return settings;
}

// Its title is the user's section title, so it fetches no texts.
void tweaksCellStartup() { tweaksCellSettings().load({}); }

}  // namespace vantile::cards
