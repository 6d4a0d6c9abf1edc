#include "prefs/cells/VNTZRVCSwitchCella.h"

VT_REGISTER_CLASS(VNTZRVCSwitchCella, vnt::kit::publishIconRow<VNTZRVCSwitchCella>)
