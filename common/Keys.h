#pragma once

// The preference domain shared by the tweak and the preference bundle, its keys and the notifications that
// accompany changes. Both deliverables compile this; neither links the other.

#include <string_view>

namespace vantile {

inline constexpr std::string_view kDomain = "com.Zorvanic.VantilePrefs";
inline constexpr std::string_view kDomainFile = "/var/mobile/Library/Preferences/com.Zorvanic.VantilePrefs.plist";
inline constexpr std::string_view kDomainFilePattern = "/var/mobile/Library/Preferences/%@.plist";

namespace key {
// Tweak library.
inline constexpr std::string_view toggleVantile = "toggleVantile";
inline constexpr std::string_view toggleHaptics = "toggleHaptics";
inline constexpr std::string_view toggleCellsChroma = "toggleCellsChroma";
inline constexpr std::string_view toggleCellsRandomChroma = "toggleCellsRandomChroma";
inline constexpr std::string_view toggleCellsFontChroma = "toggleCellsFontChroma";
inline constexpr std::string_view tweaksSectionString = "tweaksSectionString";
inline constexpr std::string_view stockAppsString = "stockAppsString";
inline constexpr std::string_view thirdPartyAppsString = "thirdPartyAppsString";
inline constexpr std::string_view vantileFlowDirection = "vantileFlowDirection";
inline constexpr std::string_view vantileEnabledArray = "vantileEnabledArray";
inline constexpr std::string_view vantileDisabledArray = "vantileDisabledArray";
inline constexpr std::string_view vantileCellsChroma = "vantileCellsChroma";
inline constexpr std::string_view vantileCellsFontChroma = "vantileCellsFontChroma";
inline constexpr std::string_view vantileStatusONChroma = "vantileStatusONChroma";
inline constexpr std::string_view vantileStatusOFFChroma = "vantileStatusOFFChroma";
// Preference bundle.
inline constexpr std::string_view toggleDefaultTheme = "toggleDefaultTheme";
inline constexpr std::string_view toggleOceanTheme = "toggleOceanTheme";
inline constexpr std::string_view toggleSunsetTheme = "toggleSunsetTheme";
inline constexpr std::string_view togglePeachTheme = "togglePeachTheme";
inline constexpr std::string_view toggleMartiniTheme = "toggleMartiniTheme";
inline constexpr std::string_view toggleStormTheme = "toggleStormTheme";
inline constexpr std::string_view profileNameString = "profileNameString";
inline constexpr std::string_view profilePicture = "profilePicture";
inline constexpr std::string_view userBirthdayDate = "userBirthdayDate";
}  // namespace key

// Fallbacks a reader substitutes when the domain has no value.
namespace fallback {
inline constexpr std::string_view cellsChroma = "FFFFFF";
inline constexpr std::string_view cellsFontChroma = "FFFFFF";
inline constexpr std::string_view statusONChroma = "35C759";
inline constexpr std::string_view statusOFFChroma = "FE3B30";
}  // namespace fallback

// Registered defaults of the section titles.
namespace defaults {
inline constexpr std::string_view tweaksSectionString = "Tweaks";
inline constexpr std::string_view stockAppsString = "Stock Apps";
inline constexpr std::string_view thirdPartyAppsString = "3rd Party Apps";
}  // namespace defaults

namespace notification {
inline constexpr std::string_view settingsChanged = "com.Zorvanic.VantilePrefs/settingschanged";
inline constexpr std::string_view colorUpdate = "com.zorvanic.chroma.colorupdate";
}  // namespace notification

// The installed asset bundles.
inline constexpr std::string_view kTweakAssets = "/Library/Application Support/Vantile.bundle/Assets/";
inline constexpr std::string_view kTweakLocalizations = "/Library/Application Support/Vantile.bundle/Localizations";
inline constexpr std::string_view kPrefsAssets = "/Library/PreferenceBundles/VantilePrefs.bundle/Assets/";
inline constexpr std::string_view kPrefsLocalizations = "/Library/PreferenceBundles/VantilePrefs.bundle/Assets/Localizations";

}  // namespace vantile
