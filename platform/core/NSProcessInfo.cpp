#include "platform/core/NSProcessInfo.h"

#include "platform/core/Runtime.h"

VT_REGISTER_CLASS(NSProcessInfo)

Ref<NSProcessInfo> NSProcessInfo::processInfo() {
    static Ref<NSProcessInfo> shared = alloc<NSProcessInfo>();
    return shared;
}

std::vector<std::string> NSProcessInfo::arguments() const { return m_arguments; }

void NSProcessInfo::setArguments(std::vector<std::string> arguments) { m_arguments = std::move(arguments); }

NSOperatingSystemVersion NSProcessInfo::operatingSystemVersion() const { return m_version; }

void NSProcessInfo::setOperatingSystemVersion(NSOperatingSystemVersion version) { m_version = version; }

bool NSProcessInfo::isOperatingSystemAtLeastVersion(NSOperatingSystemVersion version) const {
    return m_version >= version;
}

std::string NSProcessInfo::processName() const {
    if (m_arguments.empty()) return {};
    const std::string& path = m_arguments.front();
    auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

namespace platform {

void setProcessArguments(std::vector<std::string> arguments) {
    NSProcessInfo::processInfo()->setArguments(std::move(arguments));
}

void setOperatingSystemVersion(NSOperatingSystemVersion version) {
    NSProcessInfo::processInfo()->setOperatingSystemVersion(version);
}

}  // namespace platform
