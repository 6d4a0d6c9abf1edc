// Start-up state of the Wallpaper card.
#include "tweak/cards/CardStartup.h"

namespace vantile::cards {

CardSettings& wallpaperCellSettings() {
    static CardSettings settings("WallpaperCell");
    return settings;
}

void wallpaperCellStartup() { wallpaperCellSettings().load({"wallpaper"}); }

}  // namespace vantile::cards
