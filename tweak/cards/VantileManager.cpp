#include "tweak/cards/VantileManager.h"

#include "tweak/cards/NetworkManager.h"

#include "platform/core/Runtime.h"

VT_REGISTER_CLASS(VantileManager, [](Class c) {
    using platform::runtime::addMethod;
    addMethod<&VantileManager::sharedManagerObject>(c, "sharedManager");
    addMethod<&VantileManager::wiFiIPAddress>(c, "wiFiIPAddress");
    addMethod<&VantileManager::cellIPAddress>(c, "cellIPAddress");
    addMethod<&VantileManager::connectedToWiFi>(c, "connectedToWiFi");
    addMethod<&VantileManager::connectedToCellNetwork>(c, "connectedToCellNetwork");
    addMethod<&VantileManager::carrierName>(c, "carrierName");
})

Ref<VantileManager> VantileManager::sharedManager() {
    // Leaked on purpose: cards polling from their timers may ask during static destruction.
    static Ref<VantileManager>* shared = new Ref<VantileManager>(alloc<VantileManager>());
    return *shared;
}

std::optional<std::string> VantileManager::wiFiIPAddress() { return NetworkManager::wiFiIPAddress(); }
std::optional<std::string> VantileManager::cellIPAddress() { return NetworkManager::cellIPAddress(); }
bool VantileManager::connectedToWiFi() { return NetworkManager::connectedToWiFi(); }
bool VantileManager::connectedToCellNetwork() { return NetworkManager::connectedToCellNetwork(); }
std::optional<std::string> VantileManager::carrierName() { return NetworkManager::carrierName(); }
