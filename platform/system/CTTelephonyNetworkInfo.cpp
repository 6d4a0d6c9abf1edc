#include "platform/system/CTTelephonyNetworkInfo.h"

#include "platform/core/Runtime.h"
#include "platform/system/CTCarrier.h"
#include "platform/system/DeviceTelephony.h"

#include <stdexcept>

VT_REGISTER_CLASS(CTTelephonyNetworkInfo, [](Class c) {
    using platform::runtime::addMethod;
    addMethod<&CTTelephonyNetworkInfo::init>(c, "init");
    addMethod<&CTTelephonyNetworkInfo::subscriberCellularProvider>(c, "subscriberCellularProvider");
})

Ref<CTCarrier> CTTelephonyNetworkInfo::subscriberCellularProvider() {
    using platform::system::DeviceTelephony;
    if (DeviceTelephony::isFailing()) throw std::runtime_error("telephony service unavailable");
    std::optional<std::string> name = DeviceTelephony::carrierName();
    if (!name) return nullptr;
    auto carrier = alloc<CTCarrier>();
    carrier->initWithCarrierName(std::move(name));
    return carrier;
}
