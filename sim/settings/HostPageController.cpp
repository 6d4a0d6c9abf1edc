#include "sim/settings/HostPageController.h"

#include "platform/core/Runtime.h"
#include "platform/core/NSMutableArray.h"
#include "platform/host/PSSpecifier.h"

VT_REGISTER_CLASS_IN(HostPageController, "Preferences", [](Class c) {
    platform::runtime::addMethod<&HostPageController::specifiers>(c, "specifiers");
})

Ref<NSMutableArray> HostPageController::specifiers() {
    if (m_specifiers && !m_specifiers->isEmpty()) return m_specifiers;
    const Value* items = nullptr;
    std::optional<Property> property;
    if (auto row = specifier()) property = row->propertyForKey("items");
    if (property && property->value()) items = property->value();
    m_specifiers = items && items->asArray() ? specifiersFromItems(*items->asArray(), self(), bundlePath())
                                             : NSMutableArray::array();
    return m_specifiers;
}
