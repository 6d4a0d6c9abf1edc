#pragma once

// The kit's icon row for switch specifiers (VNTZRVCIconRow.h): always the theme's "Icons/toggle@3x.png". The
// switch, its value and its writes are the host's PSSwitchTableCell's.

#include "prefs/cells/VNTZRVCIconRow.h"

class VNTZRVCSwitchCella : public vnt::kit::IconRowCell<PSSwitchTableCell> {
    VT_OBJECT(VNTZRVCSwitchCella, vnt::kit::IconRowCell<PSSwitchTableCell>)
};
