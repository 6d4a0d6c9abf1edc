#include "tweak/regroup/TweakSpecifiersController.h"

#include "platform/core/Runtime.h"
#include "platform/core/NSMutableArray.h"
#include "tweak/regroup/RegroupCompletion.h"

VT_REGISTER_CLASS(TweakSpecifiersController)

Ref<NSMutableArray> TweakSpecifiersController::specifiers() {
    if (!m_specifiers || m_specifiers->isEmpty()) m_specifiers = vantile::regroup::regrouping().lists().tweaks;
    return m_specifiers;
}
