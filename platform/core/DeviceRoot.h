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

// Where `path` (a host path below `root`, or one relative to it) leads once the host's kernel has followed every
// symbolic link on the way, the last component's included; links to missing targets are followed as far as they go,
// since creating the file would create their target. Nothing when that place is outside `root` (a link with an
// absolute target, or one climbing with "..", can lead anywhere on the host), or after 40 links (a loop).
std::optional<std::filesystem::path> resolveBelow(const std::filesystem::path& root, const std::filesystem::path& path);
// resolveBelow() for a host path inside the device root; nothing as well while no root is set. Every file the
// platform opens for the device goes through this first, so that a link planted in the root cannot make it read or
// write a host file.
std::optional<std::filesystem::path> resolveInsideDeviceRoot(const std::filesystem::path& hostPath);

}  // namespace platform
