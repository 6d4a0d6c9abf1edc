#include "prefs/cells/VNTZRVCListCella.h"

VT_REGISTER_CLASS(VNTZRVCListCella, vnt::kit::publishIconRow<VNTZRVCListCella>)
