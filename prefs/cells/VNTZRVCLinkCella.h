#pragma once

// The kit's icon row for link specifiers (VNTZRVCIconRow.h); its icon rule: "Example Link" shows the theme's
// "Icons/prefs-icon@3x.png". Opening the linked page is the host's.

#include "prefs/cells/VNTZRVCIconRow.h"

class VNTZRVCLinkCella : public vnt::kit::IconRowCell<PSTableCell> {
    VT_OBJECT(VNTZRVCLinkCella, vnt::kit::IconRowCell<PSTableCell>)
};
