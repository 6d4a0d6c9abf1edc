#include "platform/system/LSApplicationProxy.h"

#include "platform/core/Runtime.h"

VT_REGISTER_CLASS_IN(LSApplicationProxy, "LSApplicationWorkspace", [](Class c) {
    using platform::runtime::addMethod;
    addMethod<&LSApplicationProxy::applicationIdentifier>(c, "applicationIdentifier");
    addMethod<&LSApplicationProxy::itemName>(c, "itemName");
})

void LSApplicationProxy::initWithIdentifierItemName(std::string identifier, std::optional<std::string> itemName) {
    m_identifier = std::move(identifier);
    m_itemName = std::move(itemName);
}
