#pragma once

// The fixed catalogue of the 23 dashboard cards, in catalogue order (the order of the default available list).
// A card is known everywhere by its title, byte for byte ("Sounds & Haptics", "Touch/Face ID & Passcode"); the
// grid maps a title to the reuse identifier its card class is registered under, the editor to the icon of its row,
// the card to the Settings address it opens. A title outside the catalogue is a plain empty cell without an icon.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantile {

// The reuse identifier of the plain collection-view cell that stands for a title outside the catalogue.
inline constexpr std::string_view kOriginalCellIdentifier = "OriginalCell";

struct CatalogueEntry {
    std::string_view title;
    std::string_view reuseIdentifier;
    std::string_view cardClass;
    // File name in the tweak's asset folder (vantile::kTweakAssets).
    std::string_view iconFile;
    // The page name after "prefs:root="; empty for the airplane card, which opens nothing. The tweaks card has no
    // fixed page: its address is built from the current section title (see settingsURL).
    std::string_view settingsPage;
    bool pageIsTweaksSectionTitle = false;

    // "prefs:root=" and the page, the tweaks card's page being `tweaksSectionString` unchanged (no percent-encoding);
    // nothing for the airplane card.
    std::optional<std::string> settingsURL(std::string_view tweaksSectionString) const;
    // The icon's absolute device path: the asset folder followed by the file name.
    std::string iconPath() const;
};

inline constexpr std::size_t kCatalogueSize = 23;

// The 23 entries in catalogue order.
const std::array<CatalogueEntry, kCatalogueSize>& catalogue();
// The entry whose title equals `title` exactly; null for anything else (a near miss in case or punctuation too).
const CatalogueEntry* catalogueEntryForTitle(std::string_view title);
// The reuse identifier of a title's card; kOriginalCellIdentifier outside the catalogue.
std::string_view reuseIdentifierForTitle(std::string_view title);
// The device path of a title's editor icon; nothing outside the catalogue.
std::optional<std::string> iconPathForTitle(std::string_view title);
// The 23 titles in catalogue order.
std::vector<std::string> catalogueTitles();

}  // namespace vantile
