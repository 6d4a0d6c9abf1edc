#pragma once

// A folder of its own below the system's temporary folder for one test, fixture or benchmark, removed with
// everything in it when the object goes. Most of them make it the device root, so that is one call.

#include "platform/core/DeviceRoot.h"

#include <atomic>
#include <filesystem>
#include <string>
#include <string_view>

#include <unistd.h>

namespace testing_support {

class TemporaryRoot {
public:
    // The name carries `label`, the process and a count, so programs running side by side and successive
    // fixtures of one program never share a folder; what a crashed earlier run left under the name goes first.
    explicit TemporaryRoot(std::string_view label) {
        static std::atomic<unsigned> made{0};
        m_path = std::filesystem::temp_directory_path() /
                 ("vantile-" + std::string(label) + "-" + std::to_string(::getpid()) + "-" + std::to_string(made++));
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
        std::filesystem::create_directories(m_path);
    }
    ~TemporaryRoot() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    TemporaryRoot(const TemporaryRoot&) = delete;
    TemporaryRoot& operator=(const TemporaryRoot&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path preferencesFolder() const { return m_path / "var/mobile/Library/Preferences"; }

    // Makes this folder the device root, with the preferences folder in place.
    const TemporaryRoot& useAsDeviceRoot() const {
        std::filesystem::create_directories(preferencesFolder());
        platform::setDeviceRoot(m_path);
        return *this;
    }

private:
    std::filesystem::path m_path;
};

}  // namespace testing_support
