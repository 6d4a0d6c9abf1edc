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

// The replaceable allocation functions. Every plain, array and nothrow form is replaced, so that whatever the
// library or a sanitizer's runtime would pair with them, a block always goes back through the function family it
// came from (AddressSanitizer reports a nothrow new of its own freed by this delete as a mismatch). The aligned
// forms stay the runtime's own on both sides, uncounted but correct.
void* operator new(std::size_t size) {
    g_allocated.fetch_add(size, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return ::operator new(size); }

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    g_allocated.fetch_add(size, std::memory_order_relaxed);
    return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return ::operator new(size, tag); }

void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
