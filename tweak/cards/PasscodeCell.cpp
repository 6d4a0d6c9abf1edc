// Start-up state of the Passcode card.
#include "tweak/cards/CardStartup.h"

namespace vantile::cards {

CardSettings& passcodeCellSettings() {
    static CardSettings settings("PasscodeCell");
    return settings;
}

void passcodeCellStartup() { passcodeCellSettings().load({"passcode", "touchid", "faceid"}); }

}  // namespace vantile::cards
