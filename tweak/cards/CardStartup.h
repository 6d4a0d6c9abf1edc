#pragma once

// The start-up of the card classes, made from the card table. On the device every card had a source file of its
// own whose load-time constructor bound its settings and fetched its texts; the airplane and Bluetooth files added
// a second constructor installing the recorder of their radio state. Start-up keeps that shape and that order.

#include "tweak/cards/CardTable.h"

#include <span>
#include <string_view>

namespace vantile::cards {

struct CardFileStartup {
    const CardRow* row;

    // The card class, as start-up reports it.
    std::string_view name() const { return row->cardClass; }
    // Opens the class's preferences object, binds its keys and fetches the row's texts.
    void run() const;
    bool hasRecorder() const { return row->records != Radio::None; }
    // Installs the recorder of the row's radio state; does nothing for a row that records none.
    void runRecorder() const;
};

// Every card class in the order start-up runs them: by class name, byte for byte ("DNDCell" before
// "DeveloperCell"), the order in which the device's linker laid out the card files.
std::span<const CardFileStartup> cardFileStartups();

}  // namespace vantile::cards
