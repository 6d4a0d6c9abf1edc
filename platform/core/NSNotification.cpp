#include "platform/core/NSNotification.h"

#include "platform/core/Runtime.h"

VT_REGISTER_CLASS(NSNotification)

Ref<NSNotification> NSNotification::notificationWithNameObjectUserInfo(std::string name, id object, Value userInfo) {
    auto n = alloc<NSNotification>();
    n->m_name = std::move(name);
    n->m_object = std::move(object);
    n->m_userInfo = std::move(userInfo);
    return n;
}
