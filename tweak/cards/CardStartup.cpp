#include "tweak/cards/CardStartup.h"

#include <iterator>

namespace vantile::cards {

std::span<const CardFileStartup> cardFileStartups() {
    static constexpr CardFileStartup kFiles[] = {
        {"AccessibilityCell", accessibilityCellStartup},
        {"AirplaneCell", airplaneCellStartup, airplaneCellRecorderStartup},
        {"BatteryCell", batteryCellStartup},
        {"BluetoothCell", bluetoothCellStartup, bluetoothCellRecorderStartup},
        {"CellularCell", cellularCellStartup},
        {"ControlCenterCell", controlCenterCellStartup},
        {"DNDCell", dNDCellStartup},
        {"DeveloperCell", developerCellStartup},
        {"DisplayCell", displayCellStartup},
        {"EmergencyCell", emergencyCellStartup},
        {"GeneralCell", generalCellStartup},
        {"HotspotCell", hotspotCellStartup},
        {"NotificationsCell", notificationsCellStartup},
        {"PasscodeCell", passcodeCellStartup},
        {"PrivacyCell", privacyCellStartup},
        {"ScreenTimeCell", screenTimeCellStartup},
        {"SiriCell", siriCellStartup},
        {"SoundsCell", soundsCellStartup},
        {"StockAppsCell", stockAppsCellStartup},
        {"ThirdPartyAppsCell", thirdPartyAppsCellStartup},
        {"TweaksCell", tweaksCellStartup},
        {"WallpaperCell", wallpaperCellStartup},
        {"WifiCell", wifiCellStartup},
    };
    static_assert(std::size(kFiles) == 23, "one start-up per card of the catalogue");
    return kFiles;
}

}  // namespace vantile::cards
