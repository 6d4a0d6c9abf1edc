#include "tweak/cards/CardSettings.h"

#include "common/Keys.h"

namespace vantile::cards {

CardSettings::CardSettings(std::string_view cardClass) : m_cardClass(cardClass), m_preferences(cardClass) {}

void CardSettings::load(std::span<const std::string_view> textKeys) {
    m_preferences.open();
    // The order of the card constructors' registrations; every key has its registered default here.
    m_preferences.bindBool(&toggleCellsChroma, false, key::toggleCellsChroma);
    m_preferences.bindBool(&toggleHaptics, true, key::toggleHaptics);
    m_preferences.bindBool(&toggleCellsRandomChroma, false, key::toggleCellsRandomChroma);
    m_preferences.bindBool(&toggleCellsFontChroma, false, key::toggleCellsFontChroma);
    m_preferences.bindObject(&tweaksSectionString, Value(defaults::tweaksSectionString), key::tweaksSectionString);
    m_preferences.bindObject(&stockAppsString, Value(defaults::stockAppsString), key::stockAppsString);
    m_preferences.bindObject(&thirdPartyAppsString, Value(defaults::thirdPartyAppsString),
                             key::thirdPartyAppsString);

    m_bundle = NSBundle::bundleWithPath(kTweakLocalizations);
    m_texts.clear();
    for (std::string_view key : textKeys) {
        std::string text = m_bundle ? m_bundle->localizedStringForKeyValueTable(key, "", std::nullopt) : std::string();
        m_texts.emplace_back(std::string(key), std::move(text));
    }
}

const std::string& CardSettings::text(std::string_view key) const {
    static const std::string kEmpty;
    for (const auto& [k, text] : m_texts)
        if (k == key) return text;
    return kEmpty;
}

}  // namespace vantile::cards
