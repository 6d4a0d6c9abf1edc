#include "platform/core/DeviceRoot.h"

#include <atomic>
#include <deque>
#include <mutex>
#include <vector>

#include <sys/stat.h>

namespace platform {
namespace {

std::mutex g_mutex;
std::optional<std::filesystem::path> g_root;
std::atomic<std::uint64_t> g_generation{0};

}  // namespace

void setDeviceRoot(const std::filesystem::path& root) {
    std::filesystem::create_directories(root);
    std::lock_guard lock(g_mutex);
    g_root = std::filesystem::absolute(root).lexically_normal();
    ++g_generation;
}

std::uint64_t deviceRootGeneration() { return g_generation.load(); }

std::optional<std::filesystem::path> deviceRoot() {
    std::lock_guard lock(g_mutex);
    return g_root;
}

std::optional<std::filesystem::path> devicePath(std::string_view path) {
    auto root = deviceRoot();
    if (!root || path.empty() || path.front() != '/') return std::nullopt;
    std::vector<std::string> parts;
    for (const auto& part : std::filesystem::path(path).relative_path()) {
        const std::string s = part.string();
        if (s.empty() || s == ".") continue;
        if (s == "..") {
            if (parts.empty()) return std::nullopt;
            parts.pop_back();
            continue;
        }
        parts.push_back(s);
    }
    std::filesystem::path result = *root;
    for (const auto& p : parts) result /= p;
    return result;
}

std::optional<std::filesystem::path> resolveBelow(const std::filesystem::path& root,
                                                  const std::filesystem::path& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path lexicalRoot = fs::absolute(root, ec).lexically_normal();
    if (ec) return std::nullopt;
    // Not normalised: ".." after a link leaves the folder the link led to, as the kernel reads it.
    fs::path relative = path.is_absolute() ? path.lexically_relative(lexicalRoot) : path;
    // An empty relative path names the root itself.
    if (!relative.empty() && *relative.begin() == "..") return std::nullopt;
    // The root's own links are the host's choice; only what lies below it is checked.
    const fs::path base = fs::weakly_canonical(lexicalRoot, ec);
    if (ec) return std::nullopt;

    std::deque<std::string> pending;
    for (const auto& part : relative) pending.push_back(part.string());
    fs::path current = base;
    int links = 0;
    // Once a component is missing nothing after it can be a link; the rest is only spelled out.
    bool onDisk = true;
    while (!pending.empty()) {
        const std::string part = std::move(pending.front());
        pending.pop_front();
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            current = current.parent_path();
            continue;
        }
        fs::path next = current / part;
        struct stat st {};
        if (onDisk && ::lstat(next.c_str(), &st) != 0) onDisk = false;
        if (onDisk && S_ISLNK(st.st_mode)) {
            if (++links > 40) return std::nullopt;
            const fs::path target = fs::read_symlink(next, ec);
            if (ec) return std::nullopt;
            std::vector<std::string> parts;
            for (const auto& p : target.relative_path()) parts.push_back(p.string());
            pending.insert(pending.begin(), parts.begin(), parts.end());
            // An absolute target starts again from the host's "/", as the kernel reads it.
            if (target.is_absolute()) current = "/";
            continue;
        }
        current = std::move(next);
    }
    const fs::path inside = current.lexically_relative(base);
    if (inside.empty() || *inside.begin() == "..") return std::nullopt;
    return current;
}

std::optional<std::filesystem::path> resolveInsideDeviceRoot(const std::filesystem::path& hostPath) {
    auto root = deviceRoot();
    if (!root) return std::nullopt;
    return resolveBelow(*root, hostPath);
}

}  // namespace platform
