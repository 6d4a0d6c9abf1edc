#include "tweak/regroup/AppleAppSpecifiersController.h"

#include "platform/core/Runtime.h"
#include "platform/core/NSMutableArray.h"
#include "tweak/regroup/RegroupCompletion.h"

VT_REGISTER_CLASS(AppleAppSpecifiersController)

Ref<NSMutableArray> AppleAppSpecifiersController::specifiers() {
    if (!m_specifiers || m_specifiers->isEmpty()) m_specifiers = vantile::regroup::regrouping().lists().apple;
    return m_specifiers;
}
