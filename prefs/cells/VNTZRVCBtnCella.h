#pragma once

// The kit's icon row for button specifiers (VNTZRVCIconRow.h). Its icon rules: "Birthday Date" shows the theme's
// "Profile/birthday-date.png", "Example Button" its "Icons/prefs-icon@3x.png". A "Birthday Date" row shows the
// stored birthday ("userBirthdayDate", a string) as its subtitle once one is stored, its "subtitle" before. The
// button's action is the host's.

#include "prefs/cells/VNTZRVCIconRow.h"

class VNTZRVCBtnCella : public vnt::kit::IconRowCell<PSTableCell> {
    VT_OBJECT(VNTZRVCBtnCella, vnt::kit::IconRowCell<PSTableCell>)
public:
    static constexpr std::string_view kBirthdayHeader = "Birthday Date";

protected:
    void finishIconRow(PSSpecifier* specifier) override;
};
