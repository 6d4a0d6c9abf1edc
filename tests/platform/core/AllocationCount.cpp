#include "AllocationCount.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> g_allocated{0};

}  // namespace

namespace testing_support {

std::size_t bytesAllocated() { return g_allocated.load(std::memory_order_relaxed); }

}  // namespace testing_support

// The replaceable allocation functions; the array and aligned forms of the library call these or allocate on their
// own, which leaves them uncounted but correct.
void* operator new(std::size_t size) {
    g_allocated.fetch_add(size, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
