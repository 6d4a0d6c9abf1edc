#include "platform/gfx/BitmapAllocation.h"

#include <atomic>
#include <cstdlib>

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

void* allocateBuffer(std::size_t size) {
    if (consume(g_failAllocations)) return nullptr;
    void* buffer = std::malloc(size == 0 ? 1 : size);
    if (buffer) ++g_liveBuffers;
    return buffer;
}

void freeBuffer(void* buffer) {
    if (!buffer) return;
    --g_liveBuffers;
    std::free(buffer);
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
