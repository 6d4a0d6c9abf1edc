#pragma once

// The 23 dashboard cards, one row each, in catalogue order (the order of the default available list). A row holds
// everything by which one card differs from another; the card classes, their start-up and the catalogue are all
// made from it. Adding a card means adding a row here (and its icon to the tweak's icon table, which the icon
// generator checks against this table).
//
// The table is plain data with no dependency beyond the standard library, so that the build's icon generator can
// read it too. cardTableProblem() says what is wrong with a row; the build refuses a table with a wrong row.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vantile::cards {

// Which shared card class a row's class is made from.
enum class CardShape {
    Plain,     // the card template alone: icon, title, an empty subtitle, opens its page
    Counting,  // the template with a count in the subtitle, taken when the card is built
    Network,   // a wide status pill asking the shared manager whether an interface has an address, once a second
    Airplane,  // its own class: a narrow pill and two switching buttons, opens nothing
    Bluetooth, // its own class: a narrow pill showing the recorded Bluetooth state
};

enum class TitleSource {
    Localized,       // the text fetched at load under the row's first text key
    TweaksSection,   // the bound `tweaksSectionString` at build time
    StockApps,       // the bound `stockAppsString`
    ThirdPartyApps,  // the bound `thirdPartyAppsString`
    Biometric,       // "touchid" / "faceid" and their icons by the main screen's height; nothing on other screens
};

enum class CountSource {
    None,
    Folder,             // the entries of `countedFolder`, whatever their kind; 0 when it cannot be listed
    StoreApplications,  // the installed applications whose record carries a store item name
};

// The system service state that a row's start-up records for the process, by hooking the getter the host calls.
enum class Radio {
    None,
    AirplaneMode,  // RadiosPreferences airplaneMode → isAirplaneModeOn
    Bluetooth,     // BluetoothManager powered → isBluetoothOn
};

struct CardRow {
    // The catalogue: how the card is known by title (byte for byte), the reuse identifier its class is registered
    // under in the grid, its run-time class name and its icon file in the tweak's asset folder.
    std::string_view title{};
    std::string_view reuseIdentifier{};
    std::string_view cardClass{};
    std::string_view iconFile{};
    // The page name after "prefs:root="; empty for a card that opens nothing. The tweaks card has no fixed page: its
    // address is the current section title.
    std::string_view settingsPage{};
    bool pageIsTweaksSectionTitle = false;

    // Where the title comes from and the localized texts the class fetches at start-up. A localized title is the
    // first key; a status card's pill texts are the second (on) and third (off).
    TitleSource titleSource = TitleSource::Localized;
    std::array<std::string_view, 3> textKeys{};

    CardShape shape = CardShape::Plain;
    // The selector its 1-second poll timer sends; empty for a card that does not poll.
    std::string_view pollSelector{};
    // The Wi-Fi card starts its timer after its colour pass; every other polling card before it.
    bool pollsAfterColourPass = false;
    // A network card's question to the shared manager (a selector answering bool).
    std::string_view networkQuery{};
    // A counting card's source, folder and subtitle format (with one "%ld").
    CountSource counts = CountSource::None;
    std::string_view countedFolder{};
    std::string_view countFormat{};
    // The state its start-up records with a second constructor; None for all but two cards.
    Radio records = Radio::None;

    // "prefs:root=" and the page, the tweaks card's page being `tweaksSectionString` unchanged (no
    // percent-encoding); nothing for the airplane card.
    std::optional<std::string> settingsURL(std::string_view tweaksSectionString) const;
    // The icon's absolute device path: the asset folder followed by the file name.
    std::string iconPath() const;

    constexpr bool polls() const { return !pollSelector.empty(); }
    constexpr bool isStatus() const {
        return shape == CardShape::Network || shape == CardShape::Airplane || shape == CardShape::Bluetooth;
    }
    constexpr std::size_t textKeyCount() const {
        std::size_t n = 0;
        while (n < textKeys.size() && !textKeys[n].empty()) ++n;
        return n;
    }
};

inline constexpr std::size_t kCardCount = 23;

namespace table {

using enum CardShape;
using enum TitleSource;

inline constexpr std::array<CardRow, kCardCount> kCards{{
    // The reuse identifier of the tweaks card is "TweakCell", without the "s" of its class name.
    {.title = "Tweaks", .reuseIdentifier = "TweakCell", .cardClass = "TweaksCell", .iconFile = "tweaks.png",
     .pageIsTweaksSectionTitle = true, .titleSource = TweaksSection, .shape = Counting, .counts = CountSource::Folder,
     .countedFolder = "/Library/PreferenceBundles/", .countFormat = "%ld Tweaks"},
    {.title = "Stock Apps", .reuseIdentifier = "StockAppsCell", .cardClass = "StockAppsCell",
     .iconFile = "stock-apps.png", .settingsPage = "APPLE_APPS", .titleSource = StockApps, .shape = Counting,
     .counts = CountSource::Folder, .countedFolder = "/Applications/", .countFormat = "%ld installed"},
    {.title = "Third Party Apps", .reuseIdentifier = "ThirdPartyAppsCell", .cardClass = "ThirdPartyAppsCell",
     .iconFile = "third-party-apps.png", .settingsPage = "THIRD_PARTY_APPS", .titleSource = ThirdPartyApps,
     .shape = Counting, .counts = CountSource::StoreApplications, .countFormat = "%ld installed"},
    {.title = "Airplane Mode", .reuseIdentifier = "AirplaneCell", .cardClass = "AirplaneCell",
     .iconFile = "airplane-mode.png", .textKeys = {"airplaneMODE", "statusON", "statusOFF"}, .shape = Airplane,
     .pollSelector = "checkAirplaneModeStatus", .records = Radio::AirplaneMode},
    {.title = "Wi-Fi", .reuseIdentifier = "WifiCell", .cardClass = "WifiCell", .iconFile = "wi-fi.png",
     .settingsPage = "WIFI", .textKeys = {"wifi", "statusCONNECTED", "statusDISCONNECTED"}, .shape = Network,
     .pollSelector = "refreshWiFi", .pollsAfterColourPass = true, .networkQuery = "connectedToWiFi"},
    {.title = "Bluetooth", .reuseIdentifier = "BluetoothCell", .cardClass = "BluetoothCell",
     .iconFile = "bluetooth.png", .settingsPage = "Bluetooth", .textKeys = {"bluetooth", "statusON", "statusOFF"},
     .shape = Bluetooth, .pollSelector = "checkBluetoothStatus", .records = Radio::Bluetooth},
    {.title = "Cellular Data", .reuseIdentifier = "CellularCell", .cardClass = "CellularCell",
     .iconFile = "cellular-data.png", .settingsPage = "MOBILE_DATA_SETTINGS_ID",
     .textKeys = {"cellular", "statusCONNECTED", "statusDISCONNECTED"}, .shape = Network,
     .pollSelector = "refreshCellular", .networkQuery = "connectedToCellNetwork"},
    {.title = "Personal Hotspot", .reuseIdentifier = "HotspotCell", .cardClass = "HotspotCell",
     .iconFile = "personal-hotspot.png", .settingsPage = "INTERNET_TETHERING", .textKeys = {"hotspot"}},
    {.title = "Notifications", .reuseIdentifier = "NotificationsCell", .cardClass = "NotificationsCell",
     .iconFile = "notifications.png", .settingsPage = "NOTIFICATIONS_ID", .textKeys = {"notifications"}},
    {.title = "Sounds & Haptics", .reuseIdentifier = "SoundsCell", .cardClass = "SoundsCell",
     .iconFile = "sounds-haptics.png", .settingsPage = "Sounds", .textKeys = {"sounds"}},
    {.title = "Do Not Disturb", .reuseIdentifier = "DNDCell", .cardClass = "DNDCell", .iconFile = "do-not-disturb.png",
     .settingsPage = "DO_NOT_DISTURB", .textKeys = {"dnd"}},
    {.title = "Screen Time", .reuseIdentifier = "ScreenTimeCell", .cardClass = "ScreenTimeCell",
     .iconFile = "screen-time.png", .settingsPage = "SCREEN_TIME", .textKeys = {"screentime"}},
    {.title = "General", .reuseIdentifier = "GeneralCell", .cardClass = "GeneralCell", .iconFile = "general.png",
     .settingsPage = "General", .textKeys = {"general"}},
    {.title = "Control Center", .reuseIdentifier = "ControlCenterCell", .cardClass = "ControlCenterCell",
     .iconFile = "control-center.png", .settingsPage = "ControlCenter", .textKeys = {"controlcenter"}},
    {.title = "Display & Brightness", .reuseIdentifier = "DisplayCell", .cardClass = "DisplayCell",
     .iconFile = "display-brightness.png", .settingsPage = "DISPLAY", .textKeys = {"display"}},
    {.title = "Accessibility", .reuseIdentifier = "AccessibilityCell", .cardClass = "AccessibilityCell",
     .iconFile = "accessibility.png", .settingsPage = "ACCESSIBILITY", .textKeys = {"accessibility"}},
    {.title = "Wallpaper", .reuseIdentifier = "WallpaperCell", .cardClass = "WallpaperCell",
     .iconFile = "wallpaper.png", .settingsPage = "Wallpaper", .textKeys = {"wallpaper"}},
    {.title = "Siri & Search", .reuseIdentifier = "SiriCell", .cardClass = "SiriCell", .iconFile = "siri-search.png",
     .settingsPage = "SIRI", .textKeys = {"siri"}},
    // Its title and icon follow the screen (Touch ID or Face ID); "passcode" is fetched though nothing shows it.
    {.title = "Touch/Face ID & Passcode", .reuseIdentifier = "PasscodeCell", .cardClass = "PasscodeCell",
     .iconFile = "passcode.png", .settingsPage = "PASSCODE", .titleSource = Biometric,
     .textKeys = {"passcode", "touchid", "faceid"}},
    {.title = "Emergency SOS", .reuseIdentifier = "EmergencyCell", .cardClass = "EmergencyCell",
     .iconFile = "emergency-sos.png", .settingsPage = "EMERGENCY_SOS", .textKeys = {"emergency"}},
    {.title = "Battery", .reuseIdentifier = "BatteryCell", .cardClass = "BatteryCell", .iconFile = "battery.png",
     .settingsPage = "BATTERY_USAGE", .textKeys = {"battery"}},
    {.title = "Privacy", .reuseIdentifier = "PrivacyCell", .cardClass = "PrivacyCell", .iconFile = "privacy.png",
     .settingsPage = "Privacy", .textKeys = {"privacy"}},
    {.title = "Developer", .reuseIdentifier = "DeveloperCell", .cardClass = "DeveloperCell",
     .iconFile = "developer.png", .settingsPage = "DEVELOPER_SETTINGS", .textKeys = {"developer"}},
}};

}  // namespace table

inline constexpr const std::array<CardRow, kCardCount>& kCardTable = table::kCards;

// Whether a row names the card class and gives it that shape; false for a class no row names. It answers a bool,
// not the row's address: GCC refuses to compare an address into the table in a constant expression under the
// undefined-behaviour sanitizer.
constexpr bool cardClassHasShape(std::string_view cardClass, CardShape shape) {
    for (const CardRow& row : kCardTable)
        if (row.cardClass == cardClass) return row.shape == shape;
    return false;
}

// What is missing or contradictory in one row, as a sentence; nothing for a complete row. It checks the row alone:
// names present, an address unless the card is the airplane card, a text key for a localized title and both pill
// texts for a status card, a poll for exactly the status cards, a question for a network card, a source, folder
// and format for a counting card, and a recorder only where the shape reads one.
constexpr std::optional<std::string_view> cardRowProblem(const CardRow& row) {
    using enum CardShape;
    if (row.title.empty()) return "no title";
    if (row.reuseIdentifier.empty()) return "no reuse identifier";
    if (row.cardClass.empty()) return "no class name";
    if (row.iconFile.empty()) return "no icon file";
    const bool opensPage = !row.settingsPage.empty() || row.pageIsTweaksSectionTitle;
    if (opensPage == (row.shape == Airplane)) return "only the airplane card opens no page";
    if (!row.settingsPage.empty() && row.pageIsTweaksSectionTitle) return "two addresses";
    for (std::size_t i = row.textKeyCount(); i < row.textKeys.size(); ++i)
        if (!row.textKeys[i].empty()) return "a gap in the text keys";
    if (row.titleSource == TitleSource::Localized && row.textKeyCount() == 0) return "a localized title without key";
    if (row.titleSource == TitleSource::Biometric && row.textKeyCount() < 3) return "biometric texts missing";
    if (row.isStatus() && row.textKeyCount() < 3) return "a status card without both pill texts";
    if (row.polls() != row.isStatus()) return "a status card polls, no other does";
    if (row.pollsAfterColourPass && row.shape != Network) return "only a network card chooses its timer's turn";
    if ((row.shape == Network) != !row.networkQuery.empty()) return "a network card asks one question";
    const bool counting = row.shape == Counting;
    if (counting != (row.counts != CountSource::None)) return "a counting card counts one source";
    if (counting && row.countFormat.find("%ld") == std::string_view::npos) return "a count format without %ld";
    if (!counting && !row.countFormat.empty()) return "a count format on a card that does not count";
    if ((row.counts == CountSource::Folder) != !row.countedFolder.empty())
        return "a folder count names its folder, no other count does";
    const Radio expected = row.shape == Airplane ? Radio::AirplaneMode : row.shape == Bluetooth ? Radio::Bluetooth
                                                                                                 : Radio::None;
    if (row.records != expected) return "the recorder does not match the shape";
    return std::nullopt;
}

// The first problem of the table: a wrong row, or two rows sharing a title, reuse identifier or class name.
constexpr std::optional<std::string_view> cardTableProblem(const CardRow* rows, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        if (auto problem = cardRowProblem(rows[i])) return problem;
        for (std::size_t j = 0; j < i; ++j) {
            if (rows[i].title == rows[j].title) return "two rows with one title";
            if (rows[i].reuseIdentifier == rows[j].reuseIdentifier) return "two rows with one reuse identifier";
            if (rows[i].cardClass == rows[j].cardClass) return "two rows with one class";
        }
    }
    return std::nullopt;
}

static_assert(!cardTableProblem(kCardTable.data(), kCardTable.size()), "a row of the card table is incomplete");

}  // namespace vantile::cards
