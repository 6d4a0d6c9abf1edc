#include "tweak/cards/VantileCatalogue.h"
#include "tweak/dashboard/VantileItems.h"

#include "platform/core/Runtime.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

using vantile::catalogue;

TEST(VantileCatalogue, RowsInCatalogueOrderWithTheirAddresses) {
    // title, reuse identifier, card class, icon, address (tweaks page "My Tweaks").
    struct Row {
        const char* title;
        const char* reuse;
        const char* cardClass;
        const char* icon;
        std::optional<std::string> url;
    };
    const std::vector<Row> rows = {
        {"Tweaks", "TweakCell", "TweaksCell", "tweaks.png", "prefs:root=My Tweaks"},
        {"Stock Apps", "StockAppsCell", "StockAppsCell", "stock-apps.png", "prefs:root=APPLE_APPS"},
        {"Third Party Apps", "ThirdPartyAppsCell", "ThirdPartyAppsCell", "third-party-apps.png",
         "prefs:root=THIRD_PARTY_APPS"},
        {"Airplane Mode", "AirplaneCell", "AirplaneCell", "airplane-mode.png", std::nullopt},
        {"Wi-Fi", "WifiCell", "WifiCell", "wi-fi.png", "prefs:root=WIFI"},
        {"Bluetooth", "BluetoothCell", "BluetoothCell", "bluetooth.png", "prefs:root=Bluetooth"},
        {"Cellular Data", "CellularCell", "CellularCell", "cellular-data.png", "prefs:root=MOBILE_DATA_SETTINGS_ID"},
        {"Personal Hotspot", "HotspotCell", "HotspotCell", "personal-hotspot.png", "prefs:root=INTERNET_TETHERING"},
        {"Notifications", "NotificationsCell", "NotificationsCell", "notifications.png",
         "prefs:root=NOTIFICATIONS_ID"},
        {"Sounds & Haptics", "SoundsCell", "SoundsCell", "sounds-haptics.png", "prefs:root=Sounds"},
        {"Do Not Disturb", "DNDCell", "DNDCell", "do-not-disturb.png", "prefs:root=DO_NOT_DISTURB"},
        {"Screen Time", "ScreenTimeCell", "ScreenTimeCell", "screen-time.png", "prefs:root=SCREEN_TIME"},
        {"General", "GeneralCell", "GeneralCell", "general.png", "prefs:root=General"},
        {"Control Center", "ControlCenterCell", "ControlCenterCell", "control-center.png",
         "prefs:root=ControlCenter"},
        {"Display & Brightness", "DisplayCell", "DisplayCell", "display-brightness.png", "prefs:root=DISPLAY"},
        {"Accessibility", "AccessibilityCell", "AccessibilityCell", "accessibility.png", "prefs:root=ACCESSIBILITY"},
        {"Wallpaper", "WallpaperCell", "WallpaperCell", "wallpaper.png", "prefs:root=Wallpaper"},
        {"Siri & Search", "SiriCell", "SiriCell", "siri-search.png", "prefs:root=SIRI"},
        {"Touch/Face ID & Passcode", "PasscodeCell", "PasscodeCell", "passcode.png", "prefs:root=PASSCODE"},
        {"Emergency SOS", "EmergencyCell", "EmergencyCell", "emergency-sos.png", "prefs:root=EMERGENCY_SOS"},
        {"Battery", "BatteryCell", "BatteryCell", "battery.png", "prefs:root=BATTERY_USAGE"},
        {"Privacy", "PrivacyCell", "PrivacyCell", "privacy.png", "prefs:root=Privacy"},
        {"Developer", "DeveloperCell", "DeveloperCell", "developer.png", "prefs:root=DEVELOPER_SETTINGS"},
    };
    ASSERT_EQ(catalogue().size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto& entry = catalogue()[i];
        SCOPED_TRACE(rows[i].title);
        EXPECT_EQ(entry.title, rows[i].title);
        EXPECT_EQ(entry.reuseIdentifier, rows[i].reuse);
        EXPECT_EQ(entry.cardClass, rows[i].cardClass);
        EXPECT_EQ(entry.iconFile, rows[i].icon);
        EXPECT_EQ(entry.settingsURL("My Tweaks"), rows[i].url);
        EXPECT_EQ(entry.iconPath(), std::string("/Library/Application Support/Vantile.bundle/Assets/") + rows[i].icon);
        EXPECT_EQ(vantile::catalogueEntryForTitle(rows[i].title), &entry);
        EXPECT_EQ(vantile::reuseIdentifierForTitle(rows[i].title), rows[i].reuse);
        EXPECT_EQ(vantile::catalogueTitles()[i], rows[i].title);
    }
    // The tweaks address follows the section title as it is now.
    EXPECT_EQ(catalogue()[0].settingsURL("Tweaks"), "prefs:root=Tweaks");
}

TEST(VantileCatalogue, TitlesOutsideTheCatalogueAreEmptyCellsWithoutIcon) {
    for (const char* title : {"Sounds and Haptics", "sounds & haptics", "Wi-Fi ", "WiFi", "Touch/Face ID and Passcode",
                              "Touch Face ID & Passcode", "", "TweakCell"}) {
        SCOPED_TRACE(title);
        EXPECT_EQ(vantile::catalogueEntryForTitle(title), nullptr);
        EXPECT_EQ(vantile::reuseIdentifierForTitle(title), "OriginalCell");
        EXPECT_FALSE(vantile::iconPathForTitle(title).has_value());
    }
    EXPECT_EQ(vantile::iconPathForTitle("Battery"), "/Library/Application Support/Vantile.bundle/Assets/battery.png");
}

TEST(VantileItems, ConstructorsAndRuntimeName) {
    auto selected = alloc<VantileItems>()->initWithHeaderEnabledIndex("Wi-Fi", true, 7);
    EXPECT_EQ(selected->header(), "Wi-Fi");
    EXPECT_TRUE(selected->isEnabled());
    EXPECT_EQ(selected->index(), 7);
    auto available = alloc<VantileItems>()->initWithHeaderIndex("Battery", -3);
    EXPECT_FALSE(available->isEnabled());
    EXPECT_EQ(available->index(), -3);
    EXPECT_EQ(objc_getClass("VantileItems"), VantileItems::classObject());
    EXPECT_EQ(available->className(), "VantileItems");
}

}  // namespace
