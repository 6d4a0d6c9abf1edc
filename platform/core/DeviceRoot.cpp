#include "platform/core/DeviceRoot.h"

#include <atomic>
#include <mutex>
#include <vector>

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

}  // namespace platform
