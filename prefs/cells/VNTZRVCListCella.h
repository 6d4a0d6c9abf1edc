#pragma once

// The kit's icon row for link-list specifiers (VNTZRVCIconRow.h); its icon rule: "Example List" shows the theme's
// "Icons/prefs-icon@3x.png". The list of choices is the host's.

#include "prefs/cells/VNTZRVCIconRow.h"

class VNTZRVCListCella : public vnt::kit::IconRowCell<PSTableCell> {
    VT_OBJECT(VNTZRVCListCella, vnt::kit::IconRowCell<PSTableCell>)
};
