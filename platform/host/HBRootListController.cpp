#include "platform/host/HBRootListController.h"

#include "platform/core/Runtime.h"

VT_REGISTER_CLASS_IN(HBRootListController, "Preferences")
