#pragma once

// The pane's six colour themes: the flags that choose one, the rule that picks the current theme, each theme's
// palette and gradient, and where its images lie. Every themed component of the bundle asks here.
//
// Each component keeps its own flags and binds them on its own preferences object (ThemeFlags::bind) before it
// reads them, so a component built after a theme change sees the new theme. With no flag YES there is no current
// theme, and a component then leaves its themed icon, accent colour and gradient unset.

#include "platform/core/Object.h"
#include "platform/gfx/Geometry.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

class CAGradientLayer;
class HBPreferences;
class UIColor;
class UIImage;

namespace vnt {

enum class Theme { Default, Ocean, Sunset, Peach, Martini, Storm };

struct ThemeColour {
    double red, green, blue;
};

// One row per theme, in the order in which readers test the flags.
struct ThemeRow {
    Theme theme;
    std::string_view name;  // also the theme's asset folder
    std::string_view key;   // its flag in the preference domain
    bool registeredDefault;
    ThemeColour gradientStart;
    ThemeColour accent;  // the gradient's end
};

inline constexpr std::array<ThemeRow, 6> kThemes{{
    {Theme::Default, "Default", "toggleDefaultTheme", true, {0.59, 0.58, 0.94}, {0.98, 0.77, 0.82}},
    {Theme::Ocean, "Ocean", "toggleOceanTheme", false, {0.21, 0.82, 0.86}, {0.36, 0.53, 0.90}},
    {Theme::Sunset, "Sunset", "toggleSunsetTheme", false, {0.99, 0.45, 0.42}, {1.00, 0.56, 0.41}},
    {Theme::Peach, "Peach", "togglePeachTheme", false, {1.00, 0.69, 0.74}, {1.00, 0.76, 0.63}},
    {Theme::Martini, "Martini", "toggleMartiniTheme", false, {0.99, 0.99, 0.28}, {0.14, 1.00, 0.25}},
    {Theme::Storm, "Storm", "toggleStormTheme", false, {0.17, 0.24, 0.31}, {0.30, 0.63, 0.69}},
}};

const ThemeRow& themeRow(Theme theme);

// The six flags of one component, bound on that component's preferences object. The object must not outlive the
// flags it binds (components keep both process-wide, the flags declared first).
struct ThemeFlags {
    std::array<bool, kThemes.size()> on{};

    // Registers the six flags with their defaults on `preferences`.
    void bind(HBPreferences& preferences);
    // The first theme whose flag is YES; nothing when none is.
    std::optional<Theme> current() const;
};

// Alpha 1. Null for no theme, so a caller passes the result on and a missing theme sets nothing.
Ref<UIColor> gradientStartColour(std::optional<Theme> theme);
Ref<UIColor> accentColour(std::optional<Theme> theme);

// A linear gradient from the start colour at the top-left corner to the accent at the bottom-right, over `frame`.
Ref<CAGradientLayer> makeThemeGradient(Theme theme, CGRect frame);
// Sets an existing layer's colours and direction to the theme's gradient (its frame is the caller's).
void applyThemeGradient(CAGradientLayer& layer, Theme theme);

// "/Library/PreferenceBundles/VantilePrefs.bundle/Assets/<theme>/<group>/<file>"; nothing for no theme.
std::optional<std::string> themedAssetPath(std::optional<Theme> theme, std::string_view group, std::string_view file);
// The image at themedAssetPath; null for no theme or a missing file.
Ref<UIImage> themedImage(std::optional<Theme> theme, std::string_view group, std::string_view file);
// "/Library/PreferenceBundles/VantilePrefs.bundle/Assets/<relative>", for images that are the same whatever the
// theme ("appearance.png", "Events/nye.png", "Default/Icons/close.png").
std::string assetPath(std::string_view relative);

}  // namespace vnt
