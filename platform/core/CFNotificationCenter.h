#pragma once

// The CoreFoundation centres the add-on posts to: the distributed centre and the Darwin one, plus the BSD
// notify_post. No observer of these exists inside the simulated device; every post is recorded
// (NotificationRecords.h).

#include "platform/core/Object.h"
#include "platform/core/Value.h"

#include <cstdint>
#include <string_view>

struct __CFNotificationCenter;
using CFNotificationCenterRef = __CFNotificationCenter*;

// Never null.
CFNotificationCenterRef CFNotificationCenterGetDistributedCenter();
CFNotificationCenterRef CFNotificationCenterGetDarwinNotifyCenter();

// Records the post on the centre's kind. A null centre posts nothing. `userInfo` may be null.
void CFNotificationCenterPostNotification(CFNotificationCenterRef center, std::string_view name, const id& object,
                                          const Value* userInfo, bool deliverImmediately);

constexpr std::uint32_t NOTIFY_STATUS_OK = 0;
constexpr std::uint32_t NOTIFY_STATUS_INVALID_NAME = 1;

// Records a Darwin post. A null name is refused with NOTIFY_STATUS_INVALID_NAME and not recorded.
std::uint32_t notify_post(const char* name);
