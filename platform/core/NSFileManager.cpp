#include "platform/core/NSFileManager.h"

#include "platform/core/DeviceRoot.h"
#include "platform/core/Runtime.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

VT_REGISTER_CLASS(NSFileManager)

namespace fs = std::filesystem;

namespace {

// The host path a device path leads to once its symbolic links are followed; nothing when that is outside the device
// root, so that a link planted in the root can neither show nor change a host file.
std::optional<fs::path> followed(std::string_view path) {
    auto host = platform::devicePath(path);
    return host ? platform::resolveInsideDeviceRoot(*host) : std::nullopt;
}

// The same for the folder holding the path's last component, which stays as spelled: removing a link removes the
// link.
std::optional<fs::path> unfollowedLast(std::string_view path) {
    auto host = platform::devicePath(path);
    if (!host || host->filename().empty()) return std::nullopt;
    auto folder = platform::resolveInsideDeviceRoot(host->parent_path());
    return folder ? std::optional(*folder / host->filename()) : std::nullopt;
}

}  // namespace

Ref<NSFileManager> NSFileManager::defaultManager() {
    static Ref<NSFileManager> shared = alloc<NSFileManager>();
    return shared;
}

std::optional<std::vector<std::string>> NSFileManager::contentsOfDirectoryAtPath(std::string_view path) {
    auto host = followed(path);
    std::error_code ec;
    if (!host || !fs::is_directory(*host, ec)) {
        ++m_failures;
        return std::nullopt;
    }
    std::vector<std::string> names;
    fs::directory_iterator it(*host, ec);
    if (ec) {
        ++m_failures;
        return std::nullopt;
    }
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec) break;
        names.push_back(it->path().filename().string());
    }
    if (ec) {
        ++m_failures;
        return std::nullopt;
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool NSFileManager::fileExistsAtPath(std::string_view path) {
    auto host = platform::devicePath(path);
    std::error_code ec;
    return host && fs::exists(fs::symlink_status(*host, ec)) && !ec;
}

bool NSFileManager::isDirectoryAtPath(std::string_view path) {
    auto host = platform::devicePath(path);
    std::error_code ec;
    return host && fs::is_directory(*host, ec);
}

bool NSFileManager::removeItemAtPath(std::string_view path) {
    auto host = unfollowedLast(path);
    // The root itself is never removed: it is the whole device, and its folder lies outside it.
    std::error_code ec;
    if (!host || !fs::exists(fs::symlink_status(*host, ec))) {
        ++m_failures;
        return false;
    }
    fs::remove_all(*host, ec);
    if (ec) {
        ++m_failures;
        return false;
    }
    return true;
}

bool NSFileManager::createDirectoryAtPath(std::string_view path, bool intermediate) {
    auto host = followed(path);
    std::error_code ec;
    bool ok = false;
    if (host) {
        if (intermediate) {
            fs::create_directories(*host, ec);
            ok = !ec && fs::is_directory(*host, ec);
        } else {
            ok = fs::create_directory(*host, ec) && !ec;
        }
    }
    if (!ok) ++m_failures;
    return ok;
}

std::optional<std::vector<std::uint8_t>> NSFileManager::contentsAtPath(std::string_view path) {
    auto host = followed(path);
    std::error_code ec;
    if (!host || !fs::is_regular_file(*host, ec)) {
        ++m_failures;
        return std::nullopt;
    }
    std::ifstream in(*host, std::ios::binary);
    if (!in) {
        ++m_failures;
        return std::nullopt;
    }
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
