#include "platform/host/DeviceCapabilities.h"

namespace platform::host {
namespace {

std::set<std::string, std::less<>>& capabilities() {
    static auto* set = new std::set<std::string, std::less<>>();
    return *set;
}

}  // namespace

bool DeviceCapabilities::has(std::string_view capability) { return capabilities().count(capability) > 0; }

void DeviceCapabilities::set(std::set<std::string, std::less<>> list) { capabilities() = std::move(list); }

const std::set<std::string, std::less<>>& DeviceCapabilities::all() { return capabilities(); }

}  // namespace platform::host
