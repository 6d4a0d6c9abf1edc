#pragma once

// Timers on the main run loop (RunLoop.h). A scheduled timer is kept by the run loop and keeps its target and
// user info alive until it is invalidated: a card that left the screen still polls, as on the device.

#include "platform/core/Object.h"

#include <cstddef>
#include <cstdint>

class NSTimer : public NSObject {
    VT_OBJECT(NSTimer, NSObject)
public:
    // A timer added to the main run loop, first due `interval` seconds from now (an interval below 0.0001 s is
    // raised to it, as on the device, so a repeating timer cannot spin). At each firing it calls `selector` on
    // `target` through platform::performAction with the timer as argument, so the target's method may take the
    // timer (`void(NSObject*, SEL, id)`) or nothing. A repeating timer is then due again at fireDate + interval;
    // a one-shot timer invalidates itself after firing. A null target or selector gives a null timer.
    static Ref<NSTimer> scheduledTimerWithTimeIntervalTargetSelectorUserInfoRepeats(double interval, id target,
                                                                                    SEL selector, id userInfo,
                                                                                    bool repeats);

    // Removes the timer from the run loop and releases its target and user info. Idempotent.
    void invalidate();
    bool isValid() const { return m_valid; }
    // Fires now, out of schedule, without changing the next due time (a one-shot timer is invalidated). Nothing
    // when invalid.
    void fire();
    // When the timer is next due; the last due time once invalid.
    double fireDate() const { return m_fireDate; }
    double timeInterval() const { return m_interval; }
    bool repeats() const { return m_repeats; }
    // Null once invalid.
    id userInfo() const { return m_userInfo; }
    id target() const { return m_target; }
    // Times the timer has fired.
    std::uint64_t fireCount() const { return m_fireCount; }

    // Scheduled timers that are still valid, in the whole process.
    static std::size_t liveTimerCount();

private:
    void schedule();
    void tick();

    id m_target;
    SEL m_selector = nullptr;
    id m_userInfo;
    double m_interval = 0;
    double m_fireDate = 0;
    bool m_repeats = false;
    bool m_valid = false;
    std::uint64_t m_fireCount = 0;
    std::uint64_t m_token = 0;
};
