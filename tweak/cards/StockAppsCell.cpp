// The stock applications card and its start-up state.
#include "tweak/cards/StockAppsCell.h"

#include "tweak/cards/CardStartup.h"

#include "platform/core/NSFileManager.h"
#include "platform/core/Runtime.h"
#include "platform/core/StringFormat.h"
#include "platform/ui/UILabel.h"

VT_REGISTER_CLASS(StockAppsCell)

void StockAppsCell::finishBuilding() {
    const auto entries = NSFileManager::defaultManager()->contentsOfDirectoryAtPath(kFolder);
    const long count = entries ? static_cast<long>(entries->size()) : 0;
    subtitleLabel()->setText(platform::stringWithFormat("%ld installed", count));
    VantileCardCell::finishBuilding();
}

namespace vantile::cards {

CardSettings& stockAppsCellSettings() {
    static CardSettings settings("StockAppsCell");
    return settings;
}

// Its title is the user's section title, so it fetches no texts.
void stockAppsCellStartup() { stockAppsCellSettings().load({}); }

}  // namespace vantile::cards
