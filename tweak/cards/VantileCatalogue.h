#pragma once

// The catalogue of the 23 dashboard cards, read from the card table (CardTable.h) in its order, the order of the
// default available list. A card is known everywhere by its title, byte for byte ("Sounds & Haptics",
// "Touch/Face ID & Passcode"); the grid maps a title to the reuse identifier its card class is registered under,
// the editor to the icon of its row, the card to the Settings address it opens. A title outside the catalogue is a
// plain empty cell without an icon.

#include "tweak/cards/CardTable.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantile {

// The reuse identifier of the plain collection-view cell that stands for a title outside the catalogue.
inline constexpr std::string_view kOriginalCellIdentifier = "OriginalCell";

using CatalogueEntry = cards::CardRow;
inline constexpr std::size_t kCatalogueSize = cards::kCardCount;

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
