#pragma once

// Every absolute path of the device ("/var/mobile/Library/Preferences/...", "/Applications/") lives below a root
// folder that the host chooses at start. Nothing is ever read or written outside it.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

namespace platform {

// Sets the folder that stands for "/" of the device. It is created if missing. Until it is set, every device path
// resolves to nothing.
void setDeviceRoot(const std::filesystem::path& root);
// The folder that stands for "/", or nothing when no root is set.
std::optional<std::filesystem::path> deviceRoot();
// A number that changes at every setDeviceRoot, so callers may keep what they derived from the root until then.
std::uint64_t deviceRootGeneration();

// The host path of a device path. Answers nothing when no root is set, when the path is not absolute, or when its
// ".." components would climb out of the root (the path is normalised lexically first, as the device's kernel
// would resolve it: "/a/../b" is "/b", "/../etc" is refused). Symbolic links inside the root are not followed here.
std::optional<std::filesystem::path> devicePath(std::string_view path);

}  // namespace platform
