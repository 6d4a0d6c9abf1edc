#include "tweak/cards/CardClasses.h"

#include "platform/core/Runtime.h"

VT_REGISTER_CLASS(HotspotCell)
VT_REGISTER_CLASS(NotificationsCell)
VT_REGISTER_CLASS(SoundsCell)
VT_REGISTER_CLASS(DNDCell)
VT_REGISTER_CLASS(ScreenTimeCell)
VT_REGISTER_CLASS(GeneralCell)
VT_REGISTER_CLASS(ControlCenterCell)
VT_REGISTER_CLASS(DisplayCell)
VT_REGISTER_CLASS(AccessibilityCell)
VT_REGISTER_CLASS(WallpaperCell)
VT_REGISTER_CLASS(SiriCell)
VT_REGISTER_CLASS(PasscodeCell)
VT_REGISTER_CLASS(EmergencyCell)
VT_REGISTER_CLASS(BatteryCell)
VT_REGISTER_CLASS(PrivacyCell)
VT_REGISTER_CLASS(DeveloperCell)
