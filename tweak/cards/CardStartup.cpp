#include "tweak/cards/CardStartup.h"

#include "tweak/cards/CardKind.h"
#include "tweak/cards/RadioFlags.h"

#include <algorithm>
#include <array>

namespace vantile::cards {

void CardFileStartup::run() const {
    CardKind* kind = cardKindForClass(row->cardClass);
    kind->settings.load(std::span(row->textKeys.data(), row->textKeyCount()));
}

void CardFileStartup::runRecorder() const { installRadioRecorder(row->records); }

std::span<const CardFileStartup> cardFileStartups() {
    static const std::array<CardFileStartup, kCardCount> files = [] {
        std::array<CardFileStartup, kCardCount> sorted{};
        for (std::size_t i = 0; i < kCardCount; ++i) sorted[i].row = &kCardTable[i];
        std::ranges::sort(sorted, {}, &CardFileStartup::name);
        return sorted;
    }();
    return files;
}

}  // namespace vantile::cards
