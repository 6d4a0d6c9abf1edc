#include "prefs/pane/VNTSectionsController.h"

#include "platform/core/NSMutableArray.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/UIImage.h"
#include "prefs/drawer/VNTTheme.h"
#include "prefs/pane/PageTitles.h"

VT_REGISTER_CLASS(VNTSectionsController)

Ref<NSMutableArray> VNTSectionsController::specifiers() {
    if (!m_specifiers || m_specifiers->isEmpty()) m_specifiers = vnt::loadPageList(*this, "Sections");
    return m_specifiers;
}

void VNTSectionsController::viewDidLoad() {
    super::viewDidLoad();
    vnt::turnOffLargeTitles(*this);
}

void VNTSectionsController::viewDidAppear(bool animated) {
    super::viewDidAppear(animated);
    vnt::setTitleImage(*this, UIImage::imageWithContentsOfFile(vnt::assetPath("appearance.png")));
}
