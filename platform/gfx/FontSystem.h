#pragma once

// The fonts of the renderer, pinned by the project's fontconfig file (assets/fonts/fonts.conf) so that text looks
// the same on every machine. Only the platform's own sources include this header: it names Pango types.

#include <pango/pangocairo.h>

#include <filesystem>
#include <string>
#include <vector>

namespace platform::gfx {

// The font files the renderer relies on, at the paths where their Debian packages install them.
const std::vector<std::filesystem::path>& requiredFontFiles();
// Those of requiredFontFiles() that are not on this machine; empty when text can be drawn as intended.
std::vector<std::filesystem::path> missingFontFiles();

// The process's font map, built once from the project's configuration. Throws std::runtime_error when the
// configuration cannot be read, since every rendering after that would silently use wrong faces.
PangoFontMap* fontMap();
// A Pango context of that font map with the renderer's fixed font options (grey anti-aliasing, no hinting, no
// metric hinting), at 72 dots per inch so that one Pango point is one user-space unit. Shared: main thread only.
PangoContext* sharedTextContext();
// The family names the configuration knows ("Inter", "Noto Color Emoji", "Material Design Icons").
std::vector<std::string> availableFamilies();

}  // namespace platform::gfx
