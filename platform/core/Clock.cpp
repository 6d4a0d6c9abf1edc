#include "platform/core/Clock.h"

#include <atomic>

namespace platform {
namespace {

// Atomic because background work may read "now" while the main thread moves it between turns.
std::atomic<double> g_now{Clock::kStart};

}  // namespace

double Clock::now() { return g_now.load(std::memory_order_acquire); }

void Clock::setNow(double secondsSince1970) { g_now.store(secondsSince1970, std::memory_order_release); }

}  // namespace platform
