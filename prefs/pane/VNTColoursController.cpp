#include "prefs/pane/VNTColoursController.h"

#include "platform/core/NSMutableArray.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/UIImage.h"
#include "prefs/drawer/VNTTheme.h"
#include "prefs/pane/PageTitles.h"

VT_REGISTER_CLASS(VNTColoursController)

Ref<NSMutableArray> VNTColoursController::specifiers() {
    if (!m_specifiers || m_specifiers->isEmpty()) m_specifiers = vnt::loadPageList(*this, "Colours");
    return m_specifiers;
}

void VNTColoursController::viewDidLoad() {
    super::viewDidLoad();
    vnt::turnOffLargeTitles(*this);
}

void VNTColoursController::viewDidAppear(bool animated) {
    super::viewDidAppear(animated);
    vnt::setTitleImage(*this, UIImage::imageWithContentsOfFile(vnt::assetPath("appearance.png")));
}
