#pragma once

#include <optional>
#include <string>

namespace platform::system {

// The SIM of the simulated device. At process start there is no SIM. Calls may come from any thread.
class DeviceTelephony {
public:
    // Nothing: no SIM. A value: a SIM whose carrier has that name (possibly empty).
    static void setCarrierName(std::optional<std::string> name);
    static std::optional<std::string> carrierName();
    static bool hasSIM();
    // While on, subscriberCellularProvider throws.
    static void setFailing(bool failing);
    static bool isFailing();
    // No SIM, not failing.
    static void reset();
};

}  // namespace platform::system
