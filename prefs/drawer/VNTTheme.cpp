#include "prefs/drawer/VNTTheme.h"

#include "common/Keys.h"
#include "platform/core/HBPreferences.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIImage.h"
#include "platform/ui/CAGradientLayer.h"

namespace vnt {

namespace {

Ref<UIColor> colour(const ThemeColour& c) { return UIColor::colorWithRedGreenBlueAlpha(c.red, c.green, c.blue, 1); }

}  // namespace

const ThemeRow& themeRow(Theme theme) { return kThemes[static_cast<std::size_t>(theme)]; }

void ThemeFlags::bind(HBPreferences& preferences) {
    for (std::size_t i = 0; i < kThemes.size(); ++i)
        preferences.registerBoolDefaultForKey(&on[i], kThemes[i].registeredDefault, kThemes[i].key);
}

std::optional<Theme> ThemeFlags::current() const {
    for (std::size_t i = 0; i < kThemes.size(); ++i)
        if (on[i]) return kThemes[i].theme;
    return std::nullopt;
}

Ref<UIColor> gradientStartColour(std::optional<Theme> theme) {
    return theme ? colour(themeRow(*theme).gradientStart) : nullptr;
}

Ref<UIColor> accentColour(std::optional<Theme> theme) { return theme ? colour(themeRow(*theme).accent) : nullptr; }

void applyThemeGradient(CAGradientLayer& layer, Theme theme) {
    layer.setColors({colour(themeRow(theme).gradientStart)->CGColor(), colour(themeRow(theme).accent)->CGColor()});
    layer.setStartPoint(CGPointMake(0, 0));
    layer.setEndPoint(CGPointMake(1, 1));
}

Ref<CAGradientLayer> makeThemeGradient(Theme theme, CGRect frame) {
    auto layer = CAGradientLayer::layer();
    layer->setFrame(frame);
    applyThemeGradient(*layer, theme);
    return layer;
}

std::optional<std::string> themedAssetPath(std::optional<Theme> theme, std::string_view group, std::string_view file) {
    if (!theme) return std::nullopt;
    std::string path(vantile::kPrefsAssets);
    path.append(themeRow(*theme).name).append("/").append(group).append("/").append(file);
    return path;
}

Ref<UIImage> themedImage(std::optional<Theme> theme, std::string_view group, std::string_view file) {
    auto path = themedAssetPath(theme, group, file);
    return path ? UIImage::imageWithContentsOfFile(*path) : nullptr;
}

std::string assetPath(std::string_view relative) { return std::string(vantile::kPrefsAssets).append(relative); }

}  // namespace vnt
