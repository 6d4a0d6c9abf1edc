#include "platform/core/NotificationRecords.h"

#include <algorithm>

namespace platform {
namespace {

std::vector<NotificationRecord>& postedRecords() {
    static std::vector<NotificationRecord> list;
    return list;
}

}  // namespace

const std::vector<NotificationRecord>& notificationRecords() { return postedRecords(); }

std::size_t notificationCount(NotificationKind kind, std::string_view name) {
    return static_cast<std::size_t>(std::count_if(postedRecords().begin(), postedRecords().end(), [&](const auto& r) {
        return r.kind == kind && r.name == name;
    }));
}

void clearNotificationRecords() { postedRecords().clear(); }

void recordNotification(NotificationRecord record) { postedRecords().push_back(std::move(record)); }

}  // namespace platform
