#include "tweak/cards/VantileCatalogue.h"

#include "common/Keys.h"

namespace vantile::cards {
namespace {

constexpr std::string_view kSettingsScheme = "prefs:root=";

}  // namespace

std::optional<std::string> CardRow::settingsURL(std::string_view tweaksSectionString) const {
    if (pageIsTweaksSectionTitle) return std::string(kSettingsScheme) + std::string(tweaksSectionString);
    if (settingsPage.empty()) return std::nullopt;
    return std::string(kSettingsScheme) + std::string(settingsPage);
}

std::string CardRow::iconPath() const { return std::string(kTweakAssets) + std::string(iconFile); }

}  // namespace vantile::cards

namespace vantile {

const std::array<CatalogueEntry, kCatalogueSize>& catalogue() { return cards::kCardTable; }

const CatalogueEntry* catalogueEntryForTitle(std::string_view title) {
    for (const auto& entry : cards::kCardTable)
        if (entry.title == title) return &entry;
    return nullptr;
}

std::string_view reuseIdentifierForTitle(std::string_view title) {
    const CatalogueEntry* entry = catalogueEntryForTitle(title);
    return entry ? entry->reuseIdentifier : kOriginalCellIdentifier;
}

std::optional<std::string> iconPathForTitle(std::string_view title) {
    const CatalogueEntry* entry = catalogueEntryForTitle(title);
    if (!entry) return std::nullopt;
    return entry->iconPath();
}

std::vector<std::string> catalogueTitles() {
    std::vector<std::string> titles;
    titles.reserve(cards::kCardTable.size());
    for (const auto& entry : cards::kCardTable) titles.emplace_back(entry.title);
    return titles;
}

}  // namespace vantile
