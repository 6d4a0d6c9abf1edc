#include "tweak/cards/VantileNetworkCell.h"

#include "tweak/cards/CardKind.h"
#include "tweak/cards/VantileManager.h"

#include "platform/core/Runtime.h"

VT_REGISTER_CLASS(VantileNetworkCell)

void VantileNetworkCell::finishBuilding() {
    const bool pollFirst = kind() && !kind()->row.pollsAfterColourPass;
    addTapRecognizer();
    if (pollFirst) startPolling();
    sendFetchColourOptions();
    if (!pollFirst) startPolling();
}

void VantileNetworkCell::refreshNetworkStatus() {
    const vantile::cards::CardKind* cardKind = kind();
    if (!cardKind) return;
    // Sent by name, so that a replacement of the manager's answer is what the card shows.
    showStatus(platform::msgSend<bool>(VantileManager::sharedManager(), sel(cardKind->row.networkQuery)));
}
