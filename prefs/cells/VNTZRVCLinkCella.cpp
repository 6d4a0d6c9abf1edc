#include "prefs/cells/VNTZRVCLinkCella.h"

VT_REGISTER_CLASS(VNTZRVCLinkCella, vnt::kit::publishIconRow<VNTZRVCLinkCella>)
