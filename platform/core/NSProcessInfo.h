#pragma once

// The identity of the simulated process: its argument list and the operating-system version it runs on. The host
// (the simulator's loader, or a test) sets both before the add-on's code runs; a respring is a new process.

#include "platform/core/Object.h"

#include <string>
#include <vector>

struct NSOperatingSystemVersion {
    long majorVersion = 0;
    long minorVersion = 0;
    long patchVersion = 0;
    friend auto operator<=>(const NSOperatingSystemVersion&, const NSOperatingSystemVersion&) = default;
};

class NSProcessInfo : public NSObject {
    VT_OBJECT(NSProcessInfo, NSObject)
public:
    // The one instance of the process; never null.
    static Ref<NSProcessInfo> processInfo();

    // The process's arguments, the executable's path first; empty until the host sets them.
    std::vector<std::string> arguments() const;
    void setArguments(std::vector<std::string> arguments);

    // 14.0.0 unless the host chose another version.
    NSOperatingSystemVersion operatingSystemVersion() const;
    void setOperatingSystemVersion(NSOperatingSystemVersion version);
    // Compares major, then minor, then patch.
    bool isOperatingSystemAtLeastVersion(NSOperatingSystemVersion version) const;

    // The last component of the first argument ("Preferences" for "/Applications/Preferences.app/Preferences");
    // empty when there are no arguments.
    std::string processName() const;

private:
    std::vector<std::string> m_arguments;
    NSOperatingSystemVersion m_version{14, 0, 0};
};

namespace platform {
// Host conveniences for the two settings above.
void setProcessArguments(std::vector<std::string> arguments);
void setOperatingSystemVersion(NSOperatingSystemVersion version);
}  // namespace platform
