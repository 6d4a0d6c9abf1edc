// Start-up state of the Airplane card.
#include "tweak/cards/CardStartup.h"

#include "platform/core/Runtime.h"
#include "tweak/cards/RadioFlags.h"

namespace vantile {
std::atomic<bool> isAirplaneModeOn{false};
}  // namespace vantile

namespace vantile::cards {

CardSettings& airplaneCellSettings() {
    static CardSettings settings("AirplaneCell");
    return settings;
}

void airplaneCellStartup() { airplaneCellSettings().load({"airplaneMODE", "statusON", "statusOFF"}); }

namespace {

bool (*g_previousAirplaneMode)(NSObject*, SEL) = nullptr;

// Records what the host learnt and hands it the system's own answer unchanged.
bool recordAirplaneMode(NSObject* self, SEL cmd) {
    const bool on = g_previousAirplaneMode(self, cmd);
    isAirplaneModeOn.store(on, std::memory_order_relaxed);
    return on;
}

}  // namespace

// Installed in every process, whatever the master switch says: the card shows the state even in a process where
// the Settings hooks are off. A process without the class gets no hook (the run-time counts the refusal).
void airplaneCellRecorderStartup() {
    MSHookMessageEx(objc_getClass("RadiosPreferences"), sel("airplaneMode"), &recordAirplaneMode,
                    &g_previousAirplaneMode);
}

}  // namespace vantile::cards
