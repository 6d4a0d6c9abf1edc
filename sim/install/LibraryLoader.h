#pragma once

// The device's code-injection loader for one process: every library in "/Library/MobileSubstrate/DynamicLibraries/"
// of the device root ("Name.dylib") whose filter plist beside it ("Name.plist") admits the process is opened with
// dlopen, in name order, as the loader does at the start of every process. A library without a filter plist, or
// with one that cannot be read, is not loaded: the phone's loader would inject it into every process, including
// the system's daemons, which no add-on wants.

#include "sim/install/LoaderFilter.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace sim::install {

// The folder of the injected libraries, as a device path.
inline constexpr const char* kDynamicLibraries = "/Library/MobileSubstrate/DynamicLibraries";

struct LoadReport {
    // Device paths of the libraries opened, in load order.
    std::vector<std::string> loaded;
    // Device paths of the libraries whose filter excludes the process (or that have no readable filter).
    std::vector<std::string> skipped;
    // "<device path>: <loader message>" for every library the filter admitted but dlopen refused.
    std::vector<std::string> failures;
};

// Who the process is, from its first argument: its executable's name, and the bundle identifier from the
// "Info.plist" of the ".app" folder the executable lies in (read below `root`). The Settings application and the
// home screen are known by their folders when the root has no "Info.plist" for them.
ProcessIdentity identifyProcess(const std::filesystem::path& root, const std::string& firstArgument);

// The libraries the loader would load into that process, as host paths, in load order, without loading them.
std::vector<std::filesystem::path> librariesForProcess(const std::filesystem::path& root,
                                                       const ProcessIdentity& process, LoadReport* skipped = nullptr);

// Loads every admitted library into the running process (dlopen, RTLD_NOW | RTLD_GLOBAL, so that a missing symbol
// fails here as on the device). The caller has set the device root and the process's arguments first.
LoadReport injectLibraries(const std::filesystem::path& root, const std::string& firstArgument);

}  // namespace sim::install
