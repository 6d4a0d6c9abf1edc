// Start-up state of the Notifications card.
#include "tweak/cards/CardStartup.h"

namespace vantile::cards {

CardSettings& notificationsCellSettings() {
    static CardSettings settings("NotificationsCell");
    return settings;
}

void notificationsCellStartup() { notificationsCellSettings().load({"notifications"}); }

}  // namespace vantile::cards
