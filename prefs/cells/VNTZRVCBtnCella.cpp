#include "prefs/cells/VNTZRVCBtnCella.h"

#include "common/Keys.h"
#include "platform/core/HBPreferences.h"

VT_REGISTER_CLASS(VNTZRVCBtnCella, vnt::kit::publishIconRow<VNTZRVCBtnCella>)

void VNTZRVCBtnCella::finishIconRow(PSSpecifier* specifier) {
    if (vnt::kit::specifierText(specifier, "header") != kBirthdayHeader) return;
    auto preferences = HBPreferences::preferencesForIdentifier(vantile::kDomain);
    // The birthday is stored as its formatted text; anything else stored there is no birthday to show.
    const Value stored = preferences->objectForKey(vantile::key::userBirthdayDate);
    if (const std::string* birthday = stored.asString(); birthday && !birthday->empty())
        m_views.subtitleLabel->setText(*birthday);
}
