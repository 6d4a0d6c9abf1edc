#include "platform/core/NotificationRecords.h"

#include <algorithm>

namespace platform {
namespace {

std::vector<NotificationRecord>& records() {
    static std::vector<NotificationRecord> list;
    return list;
}

}  // namespace

const std::vector<NotificationRecord>& notificationRecords() { return records(); }

std::size_t notificationCount(NotificationKind kind, std::string_view name) {
    return static_cast<std::size_t>(std::count_if(records().begin(), records().end(), [&](const auto& r) {
        return r.kind == kind && r.name == name;
    }));
}

void clearNotificationRecords() { records().clear(); }

void recordNotification(NotificationRecord record) { records().push_back(std::move(record)); }

}  // namespace platform
