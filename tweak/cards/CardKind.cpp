#include "tweak/cards/CardKind.h"

#include "tweak/cards/CardStartup.h"

#include "common/Keys.h"
#include "platform/gfx/UIColor.h"
#include "platform/ui/UIImpactFeedbackGenerator.h"
#include "platform/ui/UIScreen.h"

#include <array>
#include <stdexcept>

namespace vantile::cards {

namespace {

using enum TitleSource;

// In catalogue order, so that a kind and its catalogue row share an index.
std::array<CardKind, kCatalogueSize>& kinds() {
    static std::array<CardKind, kCatalogueSize> table{{
        {"TweaksCell", TweaksSection, "", &tweaksCellSettings},
        {"StockAppsCell", StockApps, "", &stockAppsCellSettings},
        {"ThirdPartyAppsCell", ThirdPartyApps, "", &thirdPartyAppsCellSettings},
        {"AirplaneCell", Localized, "airplaneMODE", &airplaneCellSettings},
        {"WifiCell", Localized, "wifi", &wifiCellSettings},
        {"BluetoothCell", Localized, "bluetooth", &bluetoothCellSettings},
        {"CellularCell", Localized, "cellular", &cellularCellSettings},
        {"HotspotCell", Localized, "hotspot", &hotspotCellSettings},
        {"NotificationsCell", Localized, "notifications", &notificationsCellSettings},
        {"SoundsCell", Localized, "sounds", &soundsCellSettings},
        {"DNDCell", Localized, "dnd", &dNDCellSettings},
        {"ScreenTimeCell", Localized, "screentime", &screenTimeCellSettings},
        {"GeneralCell", Localized, "general", &generalCellSettings},
        {"ControlCenterCell", Localized, "controlcenter", &controlCenterCellSettings},
        {"DisplayCell", Localized, "display", &displayCellSettings},
        {"AccessibilityCell", Localized, "accessibility", &accessibilityCellSettings},
        {"WallpaperCell", Localized, "wallpaper", &wallpaperCellSettings},
        {"SiriCell", Localized, "siri", &siriCellSettings},
        {"PasscodeCell", Biometric, "", &passcodeCellSettings},
        {"EmergencyCell", Localized, "emergency", &emergencyCellSettings},
        {"BatteryCell", Localized, "battery", &batteryCellSettings},
        {"PrivacyCell", Localized, "privacy", &privacyCellSettings},
        {"DeveloperCell", Localized, "developer", &developerCellSettings},
    }};
    return table;
}

std::string stringOf(const Value& value) {
    const std::string* s = value.asString();
    return s ? *s : std::string();
}

struct Biometry {
    std::string_view titleKey;
    std::string_view iconFile;
};

// The biometric card follows the screen it is built on: home-button screens have Touch ID, the notched ones Face ID.
std::optional<Biometry> biometryForScreen() {
    const CGFloat height = UIScreen::mainScreen()->bounds().size.height;
    if (height == 667 || height == 736) return Biometry{"touchid", "touch-id.png"};
    if (height == 812 || height == 896) return Biometry{"faceid", "face-id.png"};
    return std::nullopt;
}

}  // namespace

const CatalogueEntry& CardKind::entry() const {
    for (const auto& e : catalogue())
        if (e.cardClass == cardClass) return e;
    throw std::logic_error("card kind outside the catalogue: " + std::string(cardClass));
}

std::string CardKind::titleText() const {
    CardSettings& s = settings();
    switch (titleSource) {
    case Localized: return s.text(titleKey);
    case TweaksSection: return stringOf(s.tweaksSectionString);
    case StockApps: return stringOf(s.stockAppsString);
    case ThirdPartyApps: return stringOf(s.thirdPartyAppsString);
    case Biometric: {
        auto b = biometryForScreen();
        return b ? s.text(b->titleKey) : std::string();
    }
    }
    return {};
}

std::string CardKind::iconPath() const {
    if (titleSource == Biometric) {
        auto b = biometryForScreen();
        return b ? std::string(kTweakAssets) + std::string(b->iconFile) : std::string();
    }
    return entry().iconPath();
}

std::optional<std::string> CardKind::settingsURL() const {
    return entry().settingsURL(stringOf(settings().tweaksSectionString));
}

CardKind* cardKindForClass(std::string_view cardClass) {
    for (auto& k : kinds())
        if (k.cardClass == cardClass) return &k;
    return nullptr;
}

std::size_t cardKindCount() { return kinds().size(); }

CardKind& cardKindAt(std::size_t index) { return kinds().at(index); }

}  // namespace vantile::cards
