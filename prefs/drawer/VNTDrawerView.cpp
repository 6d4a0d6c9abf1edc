#include "prefs/drawer/VNTDrawerView.h"

#include "platform/core/Runtime.h"

VT_REGISTER_CLASS(VNTDrawerView)
