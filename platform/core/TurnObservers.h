#pragma once

// Work that must run at the start of every turn of the main run loop, before timers and deferred work: the
// preference domain's check for changes written by other processes is one.

#include <cstddef>
#include <functional>

namespace platform {

using TurnObserverToken = std::size_t;

// Registers `observer`; it runs at every turn until removed. Observers run in registration order.
TurnObserverToken addTurnObserver(std::function<void()> observer);
void removeTurnObserver(TurnObserverToken token);
// Called by the run loop at the start of each turn.
void runTurnObservers();

}  // namespace platform
