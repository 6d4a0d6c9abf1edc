#include "platform/core/CFNotificationCenter.h"

#include "platform/core/NotificationRecords.h"

#include <string>

struct __CFNotificationCenter {
    platform::NotificationKind kind;
};

CFNotificationCenterRef CFNotificationCenterGetDistributedCenter() {
    static __CFNotificationCenter center{platform::NotificationKind::Distributed};
    return &center;
}

CFNotificationCenterRef CFNotificationCenterGetDarwinNotifyCenter() {
    static __CFNotificationCenter center{platform::NotificationKind::Darwin};
    return &center;
}

void CFNotificationCenterPostNotification(CFNotificationCenterRef center, std::string_view name, const id& object,
                                          const Value* userInfo, bool deliverImmediately) {
    if (!center) return;
    platform::recordNotification({center->kind, std::string(name),
                                  object ? std::string(object->className()) : std::string(),
                                  userInfo && !userInfo->isNone(), deliverImmediately});
}

std::uint32_t notify_post(const char* name) {
    if (!name) return NOTIFY_STATUS_INVALID_NAME;
    platform::recordNotification({platform::NotificationKind::Darwin, name, {}, false, false});
    return NOTIFY_STATUS_OK;
}
