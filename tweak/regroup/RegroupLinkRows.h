#pragma once

// The three link rows the regrouping puts on the Settings root page, as the device's add-on builds them: titled
// with the user's section titles, targeting the root controller and opening the sub-page of their list.

#include "tweak/regroup/RootListRegrouping.h"

#include <string>

class UIImage;

namespace vantile::regroup {

inline constexpr std::string_view kTweaksIconPath = "/Library/Application Support/Vantile.bundle/Assets/tweaks-icon.png";
inline constexpr std::string_view kSettingsBundleIdentifier = "com.apple.Preferences";
inline constexpr std::string_view kAppStoreBundleIdentifier = "com.apple.AppStore";

struct LinkTitles {
    std::string tweaks;
    std::string stockApps;
    std::string thirdPartyApps;
};

// The titles bound by the regrouping's start-up, as they stand now; a stored value that is no text gives the
// default title of that link.
LinkTitles currentLinkTitles();

// The application icon the host serves for a bundle identifier (icon format 0, the main screen's scale), asked by
// name through the run-time; null when the host has no icon for it or serves no icons at all.
Ref<UIImage> applicationIcon(std::string_view bundleIdentifier);

// A factory for the pass: link rows with `titles`, target `rootController` (held weakly by the rows), the detail
// classes looked up by name, and their icons (a link whose icon is missing has no "iconImage").
LinkRowFactory linkRowFactory(LinkTitles titles, const id& rootController);

}  // namespace vantile::regroup
