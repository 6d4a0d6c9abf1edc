#pragma once

// The one clock of the simulated device. Nothing in the platform reads the machine's clock: timers, animations,
// dates and "now" all come from here, and only the run loop (RunLoop::advance), the host or a test moves it.

namespace platform {

class Clock {
public:
    // The instant every fresh process and every reset starts at: 2024-01-01 00:00:00 UTC.
    static constexpr double kStart = 1704067200.0;

    // Seconds since 1970-01-01 00:00:00 UTC, fractional. Safe to read from any thread.
    static double now();
    // Moves "now" without firing anything; the next advance or drain fires what became due. Moving backwards is
    // allowed (a test that sets a date) and leaves scheduled work at its absolute times.
    static void setNow(double secondsSince1970);
};

}  // namespace platform
