#pragma once

// The SIM's home carrier as CoreTelephony describes it. Only its name is modelled.
//
// Published: "carrierName"  std::optional<std::string> carrierName()

#include "platform/core/Object.h"

#include <optional>
#include <string>

class CTCarrier : public NSObject {
    VT_OBJECT(CTCarrier, NSObject)
public:
    void initWithCarrierName(std::optional<std::string> name) { m_carrierName = std::move(name); }
    // The carrier's name; nothing when the SIM names none (an empty name is answered as it is stored).
    virtual std::optional<std::string> carrierName() const { return m_carrierName; }

private:
    std::optional<std::string> m_carrierName;
};
