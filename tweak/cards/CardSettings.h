#pragma once

// The state one card class shares among all its instances: the card file's preferences object with its seven
// bound variables and the localized texts the card shows, fetched once at load. Each card class owns one (its
// kind's), named by the class in the binding list.

#include "platform/core/NSBundle.h"
#include "platform/core/Value.h"
#include "tweak/shared/Bindings.h"

#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vantile::cards {

class CardSettings {
public:
    explicit CardSettings(std::string_view cardClass);
    CardSettings(const CardSettings&) = delete;
    CardSettings& operator=(const CardSettings&) = delete;

    // The card file's start-up constructor: opens the preferences object, binds the seven keys with their
    // defaults and fetches the texts of `textKeys` from the tweak's localization bundle (value "", default table).
    // A missing bundle leaves every text empty; a missing key gives the key itself, as the bundle answers.
    void load(std::span<const std::string_view> textKeys);

    const std::string& cardClass() const { return m_cardClass; }
    // The text fetched for `key`; empty when the key was not among the card's keys or the bundle is missing.
    const std::string& text(std::string_view key) const;
    const std::vector<std::pair<std::string, std::string>>& texts() const { return m_texts; }

    // Bound variables; they follow later changes of the domain.
    bool toggleHaptics = true;
    bool toggleCellsChroma = false;
    bool toggleCellsRandomChroma = false;
    bool toggleCellsFontChroma = false;
    Value tweaksSectionString;
    Value stockAppsString;
    Value thirdPartyAppsString;

    FilePreferences& preferences() { return m_preferences; }
    // The localization bundle; null when it is missing on the device.
    const Ref<NSBundle>& localizations() const { return m_bundle; }

private:
    std::string m_cardClass;
    FilePreferences m_preferences;
    Ref<NSBundle> m_bundle;
    std::vector<std::pair<std::string, std::string>> m_texts;
};

}  // namespace vantile::cards
