#include "sim/scenario/Records.h"

#include "platform/harness/JSONValue.h"

#include "platform/core/NotificationRecords.h"
#include "platform/core/Value.h"
#include "platform/system/DeviceRadios.h"
#include "platform/harness/EffectLog.h"

namespace sim::scenario {

namespace {

std::string kindName(platform::NotificationKind kind) {
    switch (kind) {
        case platform::NotificationKind::Darwin: return "darwin";
        case platform::NotificationKind::Distributed: return "distributed";
        case platform::NotificationKind::Default: break;
    }
    return "default";
}

}  // namespace

std::string recordsJson() {
    Value::Array urls, haptics, spawns, effects, notifications, airplane;
    for (const auto& e : platform::effectLog()) {
        effects.push_back(Value::Dictionary{{"kind", e.kind}, {"detail", e.detail}, {"value", e.value}});
        if (e.kind == "openURL") urls.push_back(e.detail);
        else if (e.kind == "impact") haptics.push_back(Value::Dictionary{{"style", e.value}});
        else if (e.kind == "spawn") spawns.push_back(Value::Dictionary{{"command", e.detail}});
    }
    for (const auto& n : platform::notificationRecords()) {
        Value::Dictionary d{{"kind", kindName(n.kind)}, {"name", n.name}, {"sender", n.sender},
                            {"userInfo", n.hadUserInfo}};
        if (n.kind == platform::NotificationKind::Distributed) d["deliverImmediately"] = n.deliverImmediately;
        notifications.push_back(std::move(d));
    }
    for (bool on : platform::system::DeviceRadios::airplaneModeRequests()) airplane.push_back(on);
    Value::Dictionary doc{{"urlOpens", urls},           {"haptics", haptics},   {"notifications", notifications},
                          {"spawns", spawns},           {"effects", effects},   {"airplaneModeRequests", airplane}};
    return toJSON(Value(std::move(doc)), 2) + "\n";
}

std::optional<std::string> lastOpenedURL() {
    auto opens = platform::effectsOfKind("openURL");
    if (opens.empty()) return std::nullopt;
    return opens.back().detail;
}

std::size_t hapticCount() { return platform::effectsOfKind("impact").size(); }

std::size_t notificationCount(const std::string& name) {
    std::size_t n = 0;
    for (const auto& r : platform::notificationRecords()) n += r.name == name;
    return n;
}

void clearRecords() {
    platform::clearEffectLog();
    platform::clearNotificationRecords();
}

}  // namespace sim::scenario
