#include "prefs/pane/VNTOptionsController.h"

#include "platform/core/NSMutableArray.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/UIImage.h"
#include "prefs/drawer/VNTTheme.h"
#include "prefs/pane/PageTitles.h"

VT_REGISTER_CLASS(VNTOptionsController)

Ref<NSMutableArray> VNTOptionsController::specifiers() {
    if (!m_specifiers || m_specifiers->isEmpty()) m_specifiers = vnt::loadPageList(*this, "Options");
    return m_specifiers;
}

void VNTOptionsController::viewDidLoad() {
    super::viewDidLoad();
    vnt::turnOffLargeTitles(*this);
}

void VNTOptionsController::viewDidAppear(bool animated) {
    super::viewDidAppear(animated);
    vnt::setTitleImage(*this, UIImage::imageWithContentsOfFile(vnt::assetPath("appearance.png")));
}
