#pragma once

// A card class at run time: its row of the card table, the settings its start-up loads, and the state all cards of
// the class share for the life of the process — the colours the last colour pass read, the haptic generator of the
// last tap, the pill colours of the last poll and the poll timer last started. A card finds its kind by its
// run-time class name.

#include "tweak/cards/CardSettings.h"
#include "tweak/cards/CardTable.h"

#include "platform/core/Object.h"

#include <optional>
#include <string>
#include <string_view>

class NSTimer;
class UIColor;
class UIImpactFeedbackGenerator;

namespace vantile::cards {

struct CardKind {
    explicit CardKind(const CardRow& r) : row(r), settings(r.cardClass) {}
    CardKind(const CardKind&) = delete;
    CardKind& operator=(const CardKind&) = delete;

    const CardRow& row;
    CardSettings settings;

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
    // The timer most recently started by a card of the class; earlier ones keep running, each keeping its card.
    Ref<NSTimer> lastPollTimer;

    std::string_view cardClass() const { return row.cardClass; }
    // The title text a card built now shows (empty when its source has none).
    std::string titleText() const;
    // The icon's device path for a card built now; empty when the card shows no icon.
    std::string iconPath() const;
    // The address a tap opens now; nothing for a card that opens none.
    std::optional<std::string> settingsURL() const;
};

// The kind of a card class by its run-time name; null for any other name.
CardKind* cardKindForClass(std::string_view cardClass);

// The 23 kinds in table order.
std::size_t cardKindCount();
CardKind& cardKindAt(std::size_t index);

}  // namespace vantile::cards
