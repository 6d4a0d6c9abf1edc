#include "platform/system/DeviceTelephony.h"

#include <mutex>

namespace platform::system {
namespace {

struct SIM {
    std::mutex mutex;
    bool present = false;
    std::string name;
    bool failing = false;
};

SIM& sim() {
    static SIM* s = new SIM;  // never destroyed: a probe may run during static destruction
    return *s;
}

}  // namespace

void DeviceTelephony::setCarrierName(std::optional<std::string> name) {
    std::lock_guard lock(sim().mutex);
    sim().present = name.has_value();
    sim().name = name.value_or("");
}

std::optional<std::string> DeviceTelephony::carrierName() {
    std::lock_guard lock(sim().mutex);
    if (!sim().present) return std::nullopt;
    return sim().name;
}

bool DeviceTelephony::hasSIM() {
    std::lock_guard lock(sim().mutex);
    return sim().present;
}

void DeviceTelephony::setFailing(bool failing) {
    std::lock_guard lock(sim().mutex);
    sim().failing = failing;
}

bool DeviceTelephony::isFailing() {
    std::lock_guard lock(sim().mutex);
    return sim().failing;
}

void DeviceTelephony::reset() {
    std::lock_guard lock(sim().mutex);
    sim().present = false;
    sim().name.clear();
    sim().failing = false;
}

}  // namespace platform::system
