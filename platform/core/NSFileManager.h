#pragma once

// Files of the simulated device. Every path is a device path ("/Applications/") resolved below the device root
// (DeviceRoot.h); a path that cannot be resolved (no root, relative, climbing out, or leading out of the root through
// a symbolic link) behaves as a missing file. Links inside the root are followed, except by removeItemAtPath, which
// removes a link itself.
// Failures are answered as the device answers them and also counted, so tests and the simulator can see them.

#include "platform/core/Object.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class NSFileManager : public NSObject {
    VT_OBJECT(NSFileManager, NSObject)
public:
    // The process's manager; never null.
    static Ref<NSFileManager> defaultManager();

    // The names of the entries of a folder (files, folders and links alike, hidden ones included, not recursive),
    // sorted by byte order so that listings are reproducible. Nothing when the folder is missing, is not a folder
    // or cannot be read.
    std::optional<std::vector<std::string>> contentsOfDirectoryAtPath(std::string_view path);
    bool fileExistsAtPath(std::string_view path);
    // Whether the path exists and is a folder.
    bool isDirectoryAtPath(std::string_view path);
    // Removes a file, or a folder with its contents. False when nothing was there or it could not be removed.
    bool removeItemAtPath(std::string_view path);
    // Creates the folder and, when `intermediate`, its missing parents. True when the folder exists afterwards
    // (an existing folder counts as success only when `intermediate`, as on the device).
    bool createDirectoryAtPath(std::string_view path, bool intermediate = true);
    // The bytes of a file; nothing when missing or unreadable.
    std::optional<std::vector<std::uint8_t>> contentsAtPath(std::string_view path);

    // Failed calls since the last reset, all kinds together.
    std::size_t failureCount() const { return m_failures; }
    void resetFailureCount() { m_failures = 0; }

private:
    std::size_t m_failures = 0;
};
