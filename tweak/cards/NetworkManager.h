#pragma once

// Whether the device has an IPv4 address on its Wi-Fi interface ("en0") or its cellular data interface
// ("pdp_ip0"), what it is, and the SIM's carrier. Nothing is kept: every question walks the interface list (or asks
// the telephony framework) afresh. Failures of any kind, exceptions included, answer nothing (NO for the
// questions), never an empty string.

#include "platform/core/Object.h"

#include <optional>
#include <string>

class NetworkManager : public NSObject {
    VT_OBJECT(NetworkManager, NSObject)
public:
    // Dotted-decimal IPv4 address of "en0"; the last matching entry of the list wins.
    static std::optional<std::string> wiFiIPAddress();
    // IPv4 address of "pdp_ip0"; a failed conversion drops any earlier match.
    static std::optional<std::string> cellIPAddress();
    static bool connectedToWiFi();
    static bool connectedToCellNetwork();
    // The home carrier's name; nothing without a SIM or with an empty name.
    static std::optional<std::string> carrierName();
};
