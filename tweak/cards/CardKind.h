#pragma once

// What distinguishes one card class from another: its catalogue entry (reuse identifier, icon, address), where its
// title comes from, and the state all cards of the class share beside the bound settings of its start-up file —
// the colours the last colour pass read and the haptic generator of the last tap. The card classes themselves
// carry no code of their own; a card finds its kind by its run-time class name.

#include "tweak/cards/CardSettings.h"
#include "tweak/dashboard/VantileCatalogue.h"

#include "platform/core/Object.h"

#include <optional>
#include <string>
#include <string_view>

class UIColor;
class UIImpactFeedbackGenerator;

namespace vantile::cards {

enum class TitleSource {
    Localized,       // the text fetched at load under `titleKey`
    TweaksSection,   // the bound `tweaksSectionString` at build time
    StockApps,       // the bound `stockAppsString`
    ThirdPartyApps,  // the bound `thirdPartyAppsString`
    Biometric,       // "touchid" / "faceid" and their icons by the main screen's height; nothing on other screens
};

struct CardKind {
    CardKind(std::string_view cls, TitleSource source, std::string_view key, CardSettings& (*settingsOf)())
        : cardClass(cls), titleSource(source), titleKey(key), settings(settingsOf) {}

    std::string_view cardClass;
    TitleSource titleSource = TitleSource::Localized;
    std::string_view titleKey;
    CardSettings& (*settings)() = nullptr;

    // Shared by every card of the class for the life of the process.
    std::string lastBackgroundString;
    Ref<UIColor> lastBackgroundColor;
    std::string lastTextString;
    Ref<UIColor> lastTextColor;
    Ref<UIImpactFeedbackGenerator> lastHaptic;
    // The status cards' pill colours as their last poll read them.
    std::string lastOnString;
    Ref<UIColor> lastOnColor;
    std::string lastOffString;
    Ref<UIColor> lastOffColor;

    // The catalogue row of the class; never null for a kind of the table.
    const CatalogueEntry& entry() const;
    // The title text a card built now shows (empty when its source has none).
    std::string titleText() const;
    // The icon's device path for a card built now; empty when the card shows no icon.
    std::string iconPath() const;
    // The address a tap opens now; nothing for a card that opens none.
    std::optional<std::string> settingsURL() const;
};

// The kind of a card class by its run-time name; null for any other name.
CardKind* cardKindForClass(std::string_view cardClass);

// The 23 kinds in catalogue order.
std::size_t cardKindCount();
CardKind& cardKindAt(std::size_t index);

}  // namespace vantile::cards
