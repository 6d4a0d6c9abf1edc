#include "platform/host/HBAppearanceSettings.h"

#include "platform/core/Runtime.h"

VT_REGISTER_CLASS(HBAppearanceSettings)
