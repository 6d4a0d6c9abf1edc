#pragma once

// The heap allocator of pixel buffers, and the seam through which tests make an allocation or a bitmap context
// creation fail. Code that allocates pixel memory the way the device's code calls malloc goes through here, so that a
// test can prove the failure path returns no image and frees what it took.

#include <cstddef>

namespace platform {

// A buffer of `size` bytes, uninitialised; null when the allocation fails (or a test made it fail).
void* allocateBuffer(std::size_t size);
// Frees a buffer from allocateBuffer. Null is ignored.
void freeBuffer(void* buffer);
// Buffers allocated and not yet freed, for leak checks.
std::size_t liveBufferCount();

namespace testing {
// The next `count` calls of allocateBuffer answer null.
void failNextAllocation(int count = 1);
// The next `count` calls of CGBitmapContextCreate answer null.
void failNextContextCreation(int count = 1);
// Clears both pending failures.
void resetInjectedFailures();
// Consumes one pending context failure; true when the caller must fail. Used by CGBitmapContextCreate.
bool takeContextCreationFailure();
}  // namespace testing

}  // namespace platform
