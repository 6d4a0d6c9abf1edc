#include "sim/install/LibraryLoader.h"

#include "platform/core/PropertyList.h"
#include "platform/core/Runtime.h"
#include "sim/ProcessProfile.h"

#include <algorithm>
#include <dlfcn.h>
#include <system_error>

namespace fs = std::filesystem;

namespace sim::install {
namespace {

fs::path hostPath(const fs::path& root, std::string_view devicePath) {
    return root / fs::path(std::string(devicePath)).relative_path();
}

std::string devicePathOf(const fs::path& root, const fs::path& host) {
    return "/" + fs::relative(host, root).generic_string();
}

}  // namespace

ProcessIdentity identifyProcess(const fs::path& root, const std::string& firstArgument) {
    ProcessIdentity identity;
    const fs::path executable(firstArgument);
    identity.executableName = executable.filename().string();
    for (fs::path folder = executable.parent_path(); !folder.empty() && folder != folder.root_path();
         folder = folder.parent_path()) {
        if (folder.extension() != ".app") continue;
        if (folder.is_absolute()) {
            if (auto info = platform::readPropertyListFile(hostPath(root, folder.string()) / "Info.plist"))
                if (const Value* id = info->find("CFBundleIdentifier"); id && id->asString())
                    identity.bundleIdentifier = *id->asString();
        }
        break;
    }
    if (!identity.bundleIdentifier) {
        // The system's own applications carry no Info.plist in a simulated root; their identifiers are fixed.
        const ProcessKind kind = profileForProcess(firstArgument).kind;
        if (kind == ProcessKind::Settings) identity.bundleIdentifier = "com.apple.Preferences";
        else if (kind == ProcessKind::SpringBoard) identity.bundleIdentifier = "com.apple.springboard";
    }
    return identity;
}

std::vector<fs::path> librariesForProcess(const fs::path& root, const ProcessIdentity& process, LoadReport* report) {
    std::vector<fs::path> candidates;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(hostPath(root, kDynamicLibraries), ec))
        if (entry.path().extension() == ".dylib" && entry.is_regular_file(ec)) candidates.push_back(entry.path());
    std::sort(candidates.begin(), candidates.end());

    auto hasClass = [](const std::string& name) { return objc_getClass(name) != nullptr; };
    std::vector<fs::path> admitted;
    for (const auto& library : candidates) {
        fs::path plist = library;
        plist.replace_extension(".plist");
        const auto contents = platform::readPropertyListFile(plist);
        const auto filter = contents ? loaderFilterFromPlist(*contents) : std::nullopt;
        if (filter && filter->admits(process, hasClass)) admitted.push_back(library);
        else if (report) report->skipped.push_back(devicePathOf(root, library));
    }
    return admitted;
}

LoadReport injectLibraries(const fs::path& root, const std::string& firstArgument) {
    LoadReport report;
    for (const auto& library : librariesForProcess(root, identifyProcess(root, firstArgument), &report)) {
        const std::string device = devicePathOf(root, library);
        if (dlopen(library.c_str(), RTLD_NOW | RTLD_GLOBAL)) {
            report.loaded.push_back(device);
        } else {
            const char* why = dlerror();
            report.failures.push_back(device + ": " + (why ? why : "dlopen failed"));
        }
    }
    return report;
}

}  // namespace sim::install
