#pragma once

// The tweak's shared façade: the cards ask it their network questions, and it forwards each to NetworkManager
// unchanged. One instance per process, made on first use and kept.
//
// Published: "sharedManager"           id sharedManagerObject()   (the run-time has no class messages)
//            "wiFiIPAddress"           std::optional<std::string> wiFiIPAddress()
//            "cellIPAddress"           std::optional<std::string> cellIPAddress()
//            "connectedToWiFi"         bool connectedToWiFi()
//            "connectedToCellNetwork"  bool connectedToCellNetwork()
//            "carrierName"             std::optional<std::string> carrierName()

#include "platform/core/Object.h"

#include <optional>
#include <string>

class VantileManager : public NSObject {
    VT_OBJECT(VantileManager, NSObject)
public:
    static Ref<VantileManager> sharedManager();
    id sharedManagerObject() { return sharedManager(); }

    virtual std::optional<std::string> wiFiIPAddress();
    virtual std::optional<std::string> cellIPAddress();
    virtual bool connectedToWiFi();
    virtual bool connectedToCellNetwork();
    virtual std::optional<std::string> carrierName();
};
