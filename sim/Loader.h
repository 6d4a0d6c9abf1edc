#pragma once

// Plays the device's launcher and code-injection loader for one process: the device root, the process's arguments,
// the classes the process contains, then the tweak library opened with dlopen, which runs its start-up constructors
// on this thread before the host's own start-up. loadTweakLibrary opens the one library it is given; the loader
// that chooses the installed libraries by their filter plists, as the device's does, is sim/install/LibraryLoader.h.

#include "sim/ProcessProfile.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace sim {

// The folder of the running executable.
std::filesystem::path executableFolder();
// The device root inside the build tree, populated from the build's assets.
std::filesystem::path defaultDeviceRoot();
// The build's libVantile.so: beside the executable, else in the build folder the simulator was built in. Nothing
// when neither exists.
std::optional<std::filesystem::path> defaultTweakLibrary();

// Installs the add-on's asset bundles from the build's device root into `root` where the root lacks them, as the
// package would have. A root that already has a bundle keeps its own copy. Answers the bundles installed.
std::vector<std::string> installBundles(const std::filesystem::path& root);
// Gives the device the build's painted camera roll (platform/media/PhotoLibrary.h), as a phone comes with its
// photos: the files it lacks are copied, the ones it has are kept. Answers whether the copy went through.
bool installPhotoLibrary(const std::filesystem::path& root);

// Device root, process arguments and class groups of the process. Nothing on success, else the reason.
std::optional<std::string> prepareProcess(const std::filesystem::path& root, const std::string& firstArgument,
                                          const std::vector<std::string>& classGroups);

// dlopen of the tweak library; nothing on success, else the loader's message.
std::optional<std::string> loadTweakLibrary(const std::filesystem::path& library);

}  // namespace sim
