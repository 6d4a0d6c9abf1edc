#include "sim/scenario/Records.h"

#include "platform/harness/JSONValue.h"

#include "platform/core/NotificationRecords.h"
#include "platform/core/Value.h"
#include "platform/system/DeviceRadios.h"
#include "platform/harness/EffectLog.h"
#include "platform/system/ProcessSpawn.h"
#include "sim/device/SimulatedDevice.h"

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

// Built key by key: GCC's flow analysis misreads long initializer lists of values as uninitialised.
Value openJson(const platform::EffectRecord& e) {
    Value::Dictionary d;
    d["url"] = e.detail;
    d["handled"] = e.value != 0;
    return d;
}

Value spawnJson(const platform::posix::SpawnRecord& r) {
    Value::Array arguments;
    for (const auto& a : r.arguments) arguments.push_back(a);
    Value::Dictionary d;
    d["command"] = platform::posix::commandLine(r.arguments);
    d["path"] = r.path;
    d["arguments"] = std::move(arguments);
    d["fileActions"] = r.fileActions;
    d["attributes"] = r.attributes;
    d["environment"] = r.environment;
    d["error"] = static_cast<long long>(r.error);
    return d;
}

Value waitJson(const platform::posix::WaitRecord& w) {
    Value::Dictionary d;
    d["pid"] = static_cast<long long>(w.pid);
    d["options"] = static_cast<long long>(w.options);
    d["result"] = static_cast<long long>(w.result);
    return d;
}

}  // namespace

std::string recordsJson() {
    Value::Array urls, opens, haptics, spawns, waits, effects, notifications, airplane;
    for (const auto& e : platform::effectLog()) {
        effects.push_back(Value::Dictionary{{"kind", e.kind}, {"detail", e.detail}, {"value", e.value}});
        if (e.kind == "openURL") urls.push_back(e.detail);
        else if (e.kind == "applicationOpenURL") opens.push_back(openJson(e));
        else if (e.kind == "impact") haptics.push_back(Value::Dictionary{{"style", e.value}});
    }
    for (const auto& r : sim::SimulatedDevice::spawnHistory()) spawns.push_back(spawnJson(r));
    for (const auto& w : platform::posix::waitRecords()) waits.push_back(waitJson(w));
    for (const auto& n : platform::notificationRecords()) {
        Value::Dictionary d{{"kind", kindName(n.kind)}, {"name", n.name}, {"sender", n.sender},
                            {"userInfo", n.hadUserInfo}};
        if (n.kind == platform::NotificationKind::Distributed) d["deliverImmediately"] = n.deliverImmediately;
        notifications.push_back(std::move(d));
    }
    for (bool on : platform::system::DeviceRadios::airplaneModeRequests()) airplane.push_back(on);
    Value::Dictionary doc;
    doc["urlOpens"] = std::move(urls);
    doc["applicationOpens"] = std::move(opens);
    doc["haptics"] = std::move(haptics);
    doc["notifications"] = std::move(notifications);
    doc["spawns"] = std::move(spawns);
    doc["waits"] = std::move(waits);
    doc["effects"] = std::move(effects);
    doc["airplaneModeRequests"] = std::move(airplane);
    return toJSON(Value(std::move(doc)), 2) + "\n";
}

std::optional<std::string> lastOpenedURL() {
    auto opens = platform::effectsOfKind("openURL");
    if (opens.empty()) return std::nullopt;
    return opens.back().detail;
}

std::optional<std::string> lastApplicationOpen() {
    auto opens = platform::effectsOfKind("applicationOpenURL");
    if (opens.empty()) return std::nullopt;
    return opens.back().detail;
}

std::size_t applicationOpenCount() { return platform::effectsOfKind("applicationOpenURL").size(); }

std::size_t hapticCount() { return platform::effectsOfKind("impact").size(); }

std::size_t notificationCount(const std::string& name) {
    std::size_t n = 0;
    for (const auto& r : platform::notificationRecords()) n += r.name == name;
    return n;
}

void clearRecords() {
    platform::clearEffectLog();
    platform::clearNotificationRecords();
    platform::posix::resetSpawnRecords();
}

void clearDeviceRecords() {
    clearRecords();
    sim::SimulatedDevice::clearSpawnHistory();
}

}  // namespace sim::scenario
