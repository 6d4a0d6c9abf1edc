#pragma once

// The kit's icon row for the user's profile (VNTZRVCIconRow.h). Its title is the stored name
// ("profileNameString", registered default "Username") rather than "header". A row whose "subtitle" is
// "Configure profile" shows the stored picture ("profilePicture", image data) filling the icon with rounded,
// continuous corners; without a stored picture (or with data that is no image) it shows the theme's
// "Profile/profile@3x.png". The picture is the user's own, not a themed icon, so it shows whatever the theme.

#include "prefs/cells/VNTZRVCIconRow.h"

class VNTZRVCProfileCella : public vnt::kit::IconRowCell<PSTableCell> {
    VT_OBJECT(VNTZRVCProfileCella, vnt::kit::IconRowCell<PSTableCell>)
public:
    static constexpr std::string_view kDefaultName = "Username";
    static constexpr CGFloat kPictureCornerRadius = 8;

protected:
    void finishIconRow(PSSpecifier* specifier) override;
};
