#include "platform/core/TurnObservers.h"

#include <map>
#include <vector>

namespace platform {
namespace {

std::map<TurnObserverToken, std::function<void()>>& observers() {
    static std::map<TurnObserverToken, std::function<void()>> map;
    return map;
}
TurnObserverToken g_next = 1;

}  // namespace

TurnObserverToken addTurnObserver(std::function<void()> observer) {
    TurnObserverToken token = g_next++;
    observers().emplace(token, std::move(observer));
    return token;
}

void removeTurnObserver(TurnObserverToken token) { observers().erase(token); }

void runTurnObservers() {
    // Copied first: an observer may remove itself or add another while the turn runs.
    std::vector<std::function<void()>> current;
    for (auto& [token, fn] : observers()) current.push_back(fn);
    for (auto& fn : current) fn();
}

}  // namespace platform
