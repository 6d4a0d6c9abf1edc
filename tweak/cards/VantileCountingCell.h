#pragma once

// The counting cards (tweaks, stock applications, store applications): the subtitle shows, in the row's format, a
// count taken when the card is built — the entries of the row's folder, whatever their kind (0 when it cannot be
// listed), or the installed applications whose record carries a store item name. A card keeps its count; a later
// installation shows in a card built afterwards.

#include "tweak/cards/VantileCardCell.h"

#include <string>
#include <vector>

namespace vantile::cards {
struct CardRow;
}

class VantileCountingCell : public VantileCardCell {
    VT_OBJECT(VantileCountingCell, VantileCardCell)
public:
    // The store item names of the installed applications, in the workspace's order. The workspace is found by name
    // and asked by selector name; without it the list is empty.
    static std::vector<std::string> storeItemNames();
    // What a card of the row counts now; 0 for a row that counts nothing.
    static long countFor(const vantile::cards::CardRow& row);

protected:
    void finishBuilding() override;
};
