#pragma once

// The main run loop on the virtual clock.
//
// Work is kept in one queue ordered by due time; work due at the same instant runs in the order it was scheduled
// (dispatchMain and zero-delay performs are "due now" when they are queued). Each piece of work that runs is one
// turn, and every turn begins with the turn observers (TurnObservers.h). Nothing runs by itself: a test or the
// host moves time with advance() or runs what is due with drain().
//
// Background work (dispatchBackground) runs on a real worker thread and hands its result to main with
// dispatchMain. It takes no virtual time: before each turn, advance() and drain() wait until the worker is idle, so
// a hand-off always lands at the instant the background work was started from, and runs are deterministic. Work on
// the worker must therefore never wait for the main thread.
//
// Only the main thread (the thread that calls advance and drain) may schedule, cancel or run, except dispatchMain,
// which any thread may call.

#include "platform/core/Clock.h"
#include "platform/core/NSTimer.h"
#include "platform/core/Object.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

namespace platform {

class RunLoop {
public:
    // Identifies one piece of scheduled work; 0 is never used.
    using Token = std::uint64_t;

    static RunLoop& main();

    RunLoop(const RunLoop&) = delete;
    RunLoop& operator=(const RunLoop&) = delete;

    // Moves the clock forward by `seconds`, running everything that falls due on the way in time order, with the
    // clock set to each piece's due time while it runs; then the clock stands at the target and a final drain()
    // runs (so at least one turn happens, even when nothing was due). A negative or NaN amount is a RuntimeError,
    // as is calling advance or drain from inside a turn.
    void advance(double seconds);
    // Runs everything due now, including what that work schedules for now, until nothing due is left, waiting for
    // background work and its hand-offs. Always runs at least one turn (turn observers with no work when idle).
    // Answers the number of pieces of work that ran.
    std::size_t drain();
    std::size_t runUntilIdle() { return drain(); }

    // Schedules `work` at the absolute time `when` (seconds since 1970). A time in the past counts as now; it still
    // runs on a later turn, never from inside this call. Answers the token to cancel it with.
    Token scheduleAt(double when, std::function<void()> work);
    // Same, `delay` seconds from now (negative counts as 0).
    Token scheduleAfter(double delay, std::function<void()> work);
    // Removes scheduled work that has not run yet. False when the token is unknown, already ran or was cancelled.
    bool cancel(Token token);
    bool isScheduled(Token token) const;

    // Pieces of work waiting in the queue (timers count once each; background work not yet handed off does not).
    std::size_t pendingCount() const;
    // The due time of the earliest waiting work; nothing when the queue is empty.
    std::optional<double> nextDueTime() const;
    // Turns run since the last reset (each piece of work is one; an idle drain is one).
    std::uint64_t turnCount() const;
    // True while a turn is running.
    bool isInTurn() const;

private:
    RunLoop() = default;
    friend void resetRunLoop();
};

// Calls `selector` on `target` with `object` (or with nothing, when the method takes no argument) after `delay`
// seconds, through platform::performAction. The target and the object are kept alive until the perform has run or
// the loop is reset. A delay of 0 runs on a later turn, never synchronously. A null target or selector does nothing
// and answers 0.
RunLoop::Token performSelectorAfterDelay(const id& target, SEL selector, const id& object, double delay);

// Queues `work` on the main run loop, due now. Callable from any thread.
void dispatchMain(std::function<void()> work);
// Runs `work` on the background worker thread, in submission order. drain() and advance() wait for it.
void dispatchBackground(std::function<void()> work);
// Background work submitted and not yet finished.
std::size_t backgroundPendingCount();

// For tests and the host's process reset: waits for background work, lets every reset participant let go of what
// it scheduled (timers are invalidated, so their targets are released), drops every scheduled piece of work, sets
// the clock back to Clock::kStart and the turn count to 0.
void resetRunLoop();

// Registers a source of work with state of its own beside the queue, which the loop cannot drop by itself: at every
// resetRunLoop, `onReset` runs (participants in registration order) before the queue is dropped. NSTimer is one;
// the loop knows it only through this registration. Participants stay for the life of the process.
void addRunLoopResetParticipant(std::function<void()> onReset);

}  // namespace platform
