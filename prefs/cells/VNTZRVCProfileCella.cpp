#include "prefs/cells/VNTZRVCProfileCella.h"

#include "common/Keys.h"
#include "platform/core/HBPreferences.h"
#include "platform/gfx/UIImage.h"
#include "platform/ui/CALayer.h"

VT_REGISTER_CLASS(VNTZRVCProfileCella, vnt::kit::publishIconRow<VNTZRVCProfileCella>)

void VNTZRVCProfileCella::finishIconRow(PSSpecifier*) {
    // The variables are declared before the object that binds them, so the object goes first.
    Value name;
    Value picture;
    auto preferences = alloc<HBPreferences>();
    preferences->initWithIdentifier(vantile::kDomain);
    preferences->registerObjectDefaultForKey(&name, Value(kDefaultName), vantile::key::profileNameString);
    preferences->registerObjectDefaultForKey(&picture, Value(), vantile::key::profilePicture);
    preferences.reset();

    // A name stored as something other than text leaves the registered one.
    const std::string* text = name.asString();
    m_views.headerLabel->setText(text ? std::string_view(*text) : kDefaultName);

    if (!m_rule || m_rule->match != vnt::kit::IconMatch::Subtitle) return;
    const Value::Data* data = picture.asData();
    auto image = data ? UIImage::imageWithData(*data) : nullptr;
    if (!image) return;
    const auto& icon = m_views.iconImage;
    icon->setImage(image);
    icon->setContentMode(UIViewContentModeScaleAspectFill);
    icon->layer()->setCornerRadius(kPictureCornerRadius);
    icon->setClipsToBounds(true);
    icon->layer()->setCornerCurve(kCACornerCurveContinuous);
}
