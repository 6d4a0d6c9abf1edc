#pragma once

// The start-up constructors of the card source files and the state each card class shares (CardSettings.h).
// They run in this order from runStartupConstructors(); the Airplane and Bluetooth files add a second constructor
// that installs the radio-state recorder.

#include "tweak/cards/CardSettings.h"

#include <span>

namespace vantile::cards {

CardSettings& accessibilityCellSettings();
CardSettings& airplaneCellSettings();
CardSettings& batteryCellSettings();
CardSettings& bluetoothCellSettings();
CardSettings& cellularCellSettings();
CardSettings& controlCenterCellSettings();
CardSettings& dNDCellSettings();
CardSettings& developerCellSettings();
CardSettings& displayCellSettings();
CardSettings& emergencyCellSettings();
CardSettings& generalCellSettings();
CardSettings& hotspotCellSettings();
CardSettings& notificationsCellSettings();
CardSettings& passcodeCellSettings();
CardSettings& privacyCellSettings();
CardSettings& screenTimeCellSettings();
CardSettings& siriCellSettings();
CardSettings& soundsCellSettings();
CardSettings& stockAppsCellSettings();
CardSettings& thirdPartyAppsCellSettings();
CardSettings& tweaksCellSettings();
CardSettings& wallpaperCellSettings();
CardSettings& wifiCellSettings();

void accessibilityCellStartup();
void airplaneCellStartup();
void airplaneCellRecorderStartup();  // hook of RadiosPreferences airplaneMode
void batteryCellStartup();
void bluetoothCellStartup();
void bluetoothCellRecorderStartup();  // hook of BluetoothManager powered
void cellularCellStartup();
void controlCenterCellStartup();
void dNDCellStartup();
void developerCellStartup();
void displayCellStartup();
void emergencyCellStartup();
void generalCellStartup();
void hotspotCellStartup();
void notificationsCellStartup();
void passcodeCellStartup();
void privacyCellStartup();
void screenTimeCellStartup();
void siriCellStartup();
void soundsCellStartup();
void stockAppsCellStartup();
void thirdPartyAppsCellStartup();
void tweaksCellStartup();
void wallpaperCellStartup();
void wifiCellStartup();

// One card file's start-up: its constructor and, for the Airplane and Bluetooth files, the second constructor that
// installs the radio-state recorder.
struct CardFileStartup {
    const char* name;  // the card class, as start-up reports it
    void (*run)();
    void (*recorder)() = nullptr;
};
// Every card file, in the order start-up runs them.
std::span<const CardFileStartup> cardFileStartups();

}  // namespace vantile::cards
