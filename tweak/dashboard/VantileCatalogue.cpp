#include "tweak/dashboard/VantileCatalogue.h"

#include "common/Keys.h"

namespace vantile {
namespace {

// One row per card. The reuse identifier of the tweaks card is "TweakCell", without the "s" of its class name.
const std::array<CatalogueEntry, kCatalogueSize> kCatalogue{{
    {"Tweaks", "TweakCell", "TweaksCell", "tweaks.png", "", true},
    {"Stock Apps", "StockAppsCell", "StockAppsCell", "stock-apps.png", "APPLE_APPS"},
    {"Third Party Apps", "ThirdPartyAppsCell", "ThirdPartyAppsCell", "third-party-apps.png", "THIRD_PARTY_APPS"},
    {"Airplane Mode", "AirplaneCell", "AirplaneCell", "airplane-mode.png", ""},
    {"Wi-Fi", "WifiCell", "WifiCell", "wi-fi.png", "WIFI"},
    {"Bluetooth", "BluetoothCell", "BluetoothCell", "bluetooth.png", "Bluetooth"},
    {"Cellular Data", "CellularCell", "CellularCell", "cellular-data.png", "MOBILE_DATA_SETTINGS_ID"},
    {"Personal Hotspot", "HotspotCell", "HotspotCell", "personal-hotspot.png", "INTERNET_TETHERING"},
    {"Notifications", "NotificationsCell", "NotificationsCell", "notifications.png", "NOTIFICATIONS_ID"},
    {"Sounds & Haptics", "SoundsCell", "SoundsCell", "sounds-haptics.png", "Sounds"},
    {"Do Not Disturb", "DNDCell", "DNDCell", "do-not-disturb.png", "DO_NOT_DISTURB"},
    {"Screen Time", "ScreenTimeCell", "ScreenTimeCell", "screen-time.png", "SCREEN_TIME"},
    {"General", "GeneralCell", "GeneralCell", "general.png", "General"},
    {"Control Center", "ControlCenterCell", "ControlCenterCell", "control-center.png", "ControlCenter"},
    {"Display & Brightness", "DisplayCell", "DisplayCell", "display-brightness.png", "DISPLAY"},
    {"Accessibility", "AccessibilityCell", "AccessibilityCell", "accessibility.png", "ACCESSIBILITY"},
    {"Wallpaper", "WallpaperCell", "WallpaperCell", "wallpaper.png", "Wallpaper"},
    {"Siri & Search", "SiriCell", "SiriCell", "siri-search.png", "SIRI"},
    {"Touch/Face ID & Passcode", "PasscodeCell", "PasscodeCell", "passcode.png", "PASSCODE"},
    {"Emergency SOS", "EmergencyCell", "EmergencyCell", "emergency-sos.png", "EMERGENCY_SOS"},
    {"Battery", "BatteryCell", "BatteryCell", "battery.png", "BATTERY_USAGE"},
    {"Privacy", "PrivacyCell", "PrivacyCell", "privacy.png", "Privacy"},
    {"Developer", "DeveloperCell", "DeveloperCell", "developer.png", "DEVELOPER_SETTINGS"},
}};

constexpr std::string_view kSettingsScheme = "prefs:root=";

}  // namespace

std::optional<std::string> CatalogueEntry::settingsURL(std::string_view tweaksSectionString) const {
    if (pageIsTweaksSectionTitle) return std::string(kSettingsScheme) + std::string(tweaksSectionString);
    if (settingsPage.empty()) return std::nullopt;
    return std::string(kSettingsScheme) + std::string(settingsPage);
}

std::string CatalogueEntry::iconPath() const { return std::string(kTweakAssets) + std::string(iconFile); }

const std::array<CatalogueEntry, kCatalogueSize>& catalogue() { return kCatalogue; }

const CatalogueEntry* catalogueEntryForTitle(std::string_view title) {
    for (const auto& entry : kCatalogue)
        if (entry.title == title) return &entry;
    return nullptr;
}

std::string_view reuseIdentifierForTitle(std::string_view title) {
    const CatalogueEntry* entry = catalogueEntryForTitle(title);
    return entry ? entry->reuseIdentifier : kOriginalCellIdentifier;
}

std::optional<std::string> iconPathForTitle(std::string_view title) {
    const CatalogueEntry* entry = catalogueEntryForTitle(title);
    if (!entry) return std::nullopt;
    return entry->iconPath();
}

std::vector<std::string> catalogueTitles() {
    std::vector<std::string> titles;
    titles.reserve(kCatalogue.size());
    for (const auto& entry : kCatalogue) titles.emplace_back(entry.title);
    return titles;
}

}  // namespace vantile
