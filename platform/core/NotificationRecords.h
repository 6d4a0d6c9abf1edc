#pragma once

// Every notification posted in the process, in order, whichever centre it went through. Darwin and distributed
// posts have no observer inside the simulated device, so this record is all there is to see of them.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

enum class NotificationKind { Default, Darwin, Distributed };

struct NotificationRecord {
    NotificationKind kind;
    std::string name;
    // Class name of the posting object; empty when the post had none.
    std::string sender;
    bool hadUserInfo = false;
    // Distributed posts only: the deliverImmediately flag.
    bool deliverImmediately = false;
};

const std::vector<NotificationRecord>& notificationRecords();
// Posts of that kind and name since the last clear.
std::size_t notificationCount(NotificationKind kind, std::string_view name);
void clearNotificationRecords();
void recordNotification(NotificationRecord record);

}  // namespace platform
