#include "platform/system/CTCarrier.h"

#include "platform/core/Runtime.h"

VT_REGISTER_CLASS(CTCarrier, [](Class c) { platform::runtime::addMethod<&CTCarrier::carrierName>(c, "carrierName"); })
