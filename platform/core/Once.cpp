#include "platform/core/Once.h"

#include "platform/core/Runtime.h"

#include <mutex>

namespace {

// One lock for all tokens: once-blocks are rare and short, and a nested dispatch_once on another token from
// inside a block must not deadlock, hence recursive.
std::recursive_mutex g_onceMutex;

constexpr dispatch_once_t kDone = ~0L;

}  // namespace

void dispatch_once(dispatch_once_t* predicate, const std::function<void()>& block) {
    if (!predicate) throw platform::RuntimeError("dispatch_once needs a token");
    std::lock_guard lock(g_onceMutex);
    if (*predicate == kDone) return;
    if (*predicate != 0) throw platform::RuntimeError("dispatch_once token is neither fresh nor done");
    // Marked while running, so that the block presenting its own token again does not recurse for ever.
    *predicate = 1;
    try {
        if (block) block();
    } catch (...) {
        *predicate = 0;
        throw;
    }
    *predicate = kDone;
}
