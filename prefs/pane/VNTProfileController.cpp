#include "prefs/pane/VNTProfileController.h"

#include "common/Keys.h"
#include "platform/core/HBPreferences.h"
#include "platform/core/NSMutableArray.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/UIImage.h"
#include "prefs/drawer/VNTTheme.h"
#include "prefs/pane/PageTitles.h"
#include "prefs/pane/VNTDatePickerController.h"

VT_REGISTER_CLASS(VNTProfileController, [](Class c) {
    platform::runtime::addMethod<&VNTProfileController::displayBirthdayDatePicker>(c, "displayBirthdayDatePicker");
})

namespace {

// Declared before the object that binds them, so they outlive it.
vnt::ThemeFlags g_profileThemeFlags;
Ref<HBPreferences> g_profilePreferences;
Ref<VNTDatePickerController> g_datePickerController;

}  // namespace

Ref<NSMutableArray> VNTProfileController::specifiers() {
    if (!m_specifiers || m_specifiers->isEmpty()) m_specifiers = vnt::loadPageList(*this, "Profile");
    return m_specifiers;
}

void VNTProfileController::viewDidLoad() {
    super::viewDidLoad();
    vnt::turnOffLargeTitles(*this);
    g_profilePreferences = alloc<HBPreferences>();
    g_profilePreferences->initWithIdentifier(vantile::kDomain);
    g_profileThemeFlags.bind(*g_profilePreferences);
    // With no current theme the title stays the one the host gave the page.
    if (const auto theme = g_profileThemeFlags.current())
        vnt::setTitleImage(*this, vnt::themedImage(theme, "Profile", "profile-icon.png"));
}

void VNTProfileController::displayBirthdayDatePicker() {
    g_datePickerController = alloc<VNTDatePickerController>();
    g_datePickerController->init();
    g_datePickerController->setModalPresentationStyle(UIModalPresentationFullScreen);
    // Over the current context, so that the page stays visible around the card.
    g_datePickerController->setModalPresentationStyle(UIModalPresentationOverCurrentContext);
    presentViewControllerAnimatedCompletion(g_datePickerController, true);
}

Ref<VNTDatePickerController> VNTProfileController::datePickerController() { return g_datePickerController; }
