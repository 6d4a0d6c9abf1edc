#include "platform/gfx/BitmapAllocation.h"

#include <array>
#include <atomic>
#include <cstdlib>
#include <mutex>

namespace platform {
namespace {
std::atomic<std::size_t> g_liveBuffers{0};
std::atomic<int> g_failAllocations{0};
std::atomic<int> g_failContexts{0};

// Decrements a pending-failure counter if it is positive; true when a failure was consumed.
bool consume(std::atomic<int>& counter) {
    int pending = counter.load();
    while (pending > 0)
        if (counter.compare_exchange_weak(pending, pending - 1)) return true;
    return false;
}
}  // namespace

// Each block carries its size in front of it, so that large freed blocks can be kept for the next request of the
// same size. Pixel buffers come and go in pairs of a few hundred kilobytes (a picker image and its copy); handing
// them back to the system each time makes every call pay for fresh pages, which costs more than drawing them.
namespace {
constexpr std::size_t kHeader = alignof(std::max_align_t) > 16 ? alignof(std::max_align_t) : 16;
constexpr std::size_t kKeepAtLeast = 64 * 1024;
constexpr std::size_t kKeepAtMost = 16 * 1024 * 1024;

struct Cache {
    std::mutex mutex;
    std::array<void*, 4> blocks{};  // raw blocks, header included
};
Cache& cache() {
    static Cache* c = new Cache;  // never destroyed: buffers may be freed during static destruction
    return *c;
}
std::size_t& sizeOf(void* raw) { return *static_cast<std::size_t*>(raw); }
}  // namespace

void* allocateBuffer(std::size_t size) {
    if (consume(g_failAllocations)) return nullptr;
    if (size == 0) size = 1;
    void* raw = nullptr;
    if (size >= kKeepAtLeast && size <= kKeepAtMost) {
        std::lock_guard lock(cache().mutex);
        for (auto& block : cache().blocks)
            if (block && sizeOf(block) == size) {
                raw = block;
                block = nullptr;
                break;
            }
    }
    if (!raw) raw = std::malloc(kHeader + size);
    if (!raw) return nullptr;
    sizeOf(raw) = size;
    ++g_liveBuffers;
    return static_cast<char*>(raw) + kHeader;
}

void freeBuffer(void* buffer) {
    if (!buffer) return;
    --g_liveBuffers;
    void* raw = static_cast<char*>(buffer) - kHeader;
    std::size_t size = sizeOf(raw);
    if (size >= kKeepAtLeast && size <= kKeepAtMost) {
        std::lock_guard lock(cache().mutex);
        for (auto& block : cache().blocks)
            if (!block) {
                block = raw;
                return;
            }
    }
    std::free(raw);
}

std::size_t liveBufferCount() { return g_liveBuffers.load(); }

namespace testing {
void failNextAllocation(int count) { g_failAllocations = count; }
void failNextContextCreation(int count) { g_failContexts = count; }
void resetInjectedFailures() {
    g_failAllocations = 0;
    g_failContexts = 0;
}
bool takeContextCreationFailure() { return consume(g_failContexts); }
}  // namespace testing

}  // namespace platform
