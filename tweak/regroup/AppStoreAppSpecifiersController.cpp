#include "tweak/regroup/AppStoreAppSpecifiersController.h"

#include "platform/core/Runtime.h"
#include "platform/core/NSMutableArray.h"
#include "tweak/regroup/RegroupCompletion.h"

VT_REGISTER_CLASS(AppStoreAppSpecifiersController)

Ref<NSMutableArray> AppStoreAppSpecifiersController::specifiers() {
    if (!m_specifiers || m_specifiers->isEmpty()) m_specifiers = vantile::regroup::regrouping().lists().installed;
    return m_specifiers;
}
