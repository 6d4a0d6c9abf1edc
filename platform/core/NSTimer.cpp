#include "platform/core/NSTimer.h"

#include "platform/core/RunLoop.h"
#include "platform/core/Runtime.h"

#include <algorithm>
#include <utility>
#include <unordered_set>
#include <vector>

VT_REGISTER_CLASS(NSTimer)

namespace platform {

constexpr double kMinimumInterval = 0.0001;

namespace {

// The valid scheduled timers; the run loop's queue holds the strong references.
std::unordered_set<NSTimer*>& liveTimers() {
    static std::unordered_set<NSTimer*> timers;
    return timers;
}

void invalidateAllTimers() {
    std::vector<Ref<NSTimer>> timers;
    for (NSTimer* t : liveTimers())
        if (auto held = t->self<NSTimer>()) timers.push_back(std::move(held));
    for (auto& t : timers) t->invalidate();
}

// A reset of the run loop invalidates every timer, so their targets are released with the dropped queue.
const bool g_resetsWithTheLoop = [] {
    addRunLoopResetParticipant(invalidateAllTimers);
    return true;
}();

}  // namespace

void registerLiveTimer(NSTimer* timer, bool live) {
    if (live) liveTimers().insert(timer);
    else liveTimers().erase(timer);
}

}  // namespace platform

Ref<NSTimer> NSTimer::scheduledTimerWithTimeIntervalTargetSelectorUserInfoRepeats(double interval, id target,
                                                                                   SEL selector, id userInfo,
                                                                                   bool repeats) {
    if (!target || !selector) return nullptr;
    auto timer = alloc<NSTimer>();
    timer->m_target = std::move(target);
    timer->m_selector = selector;
    timer->m_userInfo = std::move(userInfo);
    timer->m_interval = std::max(interval, platform::kMinimumInterval);
    timer->m_repeats = repeats;
    timer->m_fireDate = platform::Clock::now() + timer->m_interval;
    timer->m_valid = true;
    platform::registerLiveTimer(timer.get(), true);
    timer->schedule();
    return timer;
}

void NSTimer::schedule() {
    auto self = this->self<NSTimer>();
    m_token = platform::RunLoop::main().scheduleAt(m_fireDate, [self] { self->tick(); });
}

void NSTimer::tick() {
    m_token = 0;
    auto keep = self<NSTimer>();
    id target = m_target;
    if (!m_repeats) invalidate();
    ++m_fireCount;
    platform::performAction(target.get(), m_selector, keep);
    if (m_valid && m_repeats && m_token == 0) {
        // Due times stay on the grid of the first one; ticks missed because the clock was set past them are
        // skipped rather than fired in a burst, as the device does.
        const double now = platform::Clock::now();
        m_fireDate += m_interval;
        while (m_fireDate <= now) m_fireDate += m_interval;
        schedule();
    }
}

void NSTimer::fire() {
    if (!m_valid) return;
    auto keep = self<NSTimer>();
    id target = m_target;
    if (!m_repeats) invalidate();
    ++m_fireCount;
    platform::performAction(target.get(), m_selector, keep);
}

void NSTimer::invalidate() {
    if (!m_valid) return;
    auto keep = self<NSTimer>();  // cancelling drops the run loop's reference, which may be the last one
    m_valid = false;
    platform::registerLiveTimer(this, false);
    if (m_token) platform::RunLoop::main().cancel(std::exchange(m_token, 0));
    // Released last: the target's destructor may reach back into the run loop.
    id target = std::move(m_target);
    id info = std::move(m_userInfo);
}

std::size_t NSTimer::liveTimerCount() { return platform::liveTimers().size(); }
