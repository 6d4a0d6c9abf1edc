#include "sim/Loader.h"

#include "platform/core/DeviceRoot.h"
#include "platform/core/NSProcessInfo.h"
#include "platform/core/Runtime.h"

#include <dlfcn.h>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace sim {

fs::path executableFolder() {
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::current_path() : self.parent_path();
}

fs::path defaultDeviceRoot() {
    const fs::path beside = executableFolder() / "device";
    if (fs::is_directory(beside)) return beside;
    return fs::path(VANTILE_DEVICE_ROOT);
}

std::optional<fs::path> defaultTweakLibrary() {
    for (const fs::path& candidate : {executableFolder() / "libVantile.so", fs::path(VANTILE_BUILD_DIR) / "libVantile.so"})
        if (fs::is_regular_file(candidate)) return candidate;
    return std::nullopt;
}

std::vector<std::string> installBundles(const fs::path& root) {
    static constexpr std::string_view kBundles[] = {
        "Library/Application Support/Vantile.bundle",
        "Library/PreferenceBundles/VantilePrefs.bundle",
    };
    std::vector<std::string> installed;
    const fs::path source = defaultDeviceRoot();
    std::error_code ec;
    if (fs::equivalent(source, root, ec)) return installed;
    for (std::string_view bundle : kBundles) {
        const fs::path from = source / bundle;
        const fs::path to = root / bundle;
        if (!fs::is_directory(from) || fs::exists(to)) continue;
        fs::create_directories(to.parent_path());
        fs::copy(from, to, fs::copy_options::recursive);
        installed.emplace_back("/" + std::string(bundle));
    }
    return installed;
}

bool installPhotoLibrary(const fs::path& root) {
    static constexpr std::string_view kCameraRoll = "var/mobile/Media/DCIM";
    const fs::path source = defaultDeviceRoot() / kCameraRoll;
    const fs::path target = root / kCameraRoll;
    std::error_code ec;
    if (fs::equivalent(defaultDeviceRoot(), root, ec) || !fs::is_directory(source)) return false;
    fs::create_directories(target, ec);
    // Photos the device added (a scenario's) stay beside the painted ones; none of them is replaced.
    fs::copy(source, target, fs::copy_options::recursive | fs::copy_options::skip_existing, ec);
    return !ec;
}

std::optional<std::string> prepareProcess(const fs::path& root, const std::string& firstArgument,
                                          const std::vector<std::string>& classGroups) {
    std::error_code ec;
    fs::create_directories(root, ec);
    if (ec || !fs::is_directory(root)) return "cannot use " + root.string() + " as device root: " + ec.message();
    platform::setDeviceRoot(root);
    NSProcessInfo::processInfo()->setArguments({firstArgument});
    for (const std::string& group : classGroups) platform::runtime::enableClassGroup(group);
    return std::nullopt;
}

std::optional<std::string> loadTweakLibrary(const fs::path& library) {
    // RTLD_NOW so that a missing symbol fails here, at load, as on the device, rather than at the first call.
    if (!dlopen(library.c_str(), RTLD_NOW | RTLD_GLOBAL)) {
        const char* why = dlerror();
        return why ? std::string(why) : "dlopen failed for " + library.string();
    }
    return std::nullopt;
}

}  // namespace sim
