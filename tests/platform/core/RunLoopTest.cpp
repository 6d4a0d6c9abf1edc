#include "platform/core/RunLoop.h"

#include "platform/core/Runtime.h"
#include "platform/core/TurnObservers.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

// Records every call with the virtual time it happened at.
class TickTarget : public NSObject {
    VT_OBJECT(TickTarget, NSObject)
public:
    void tick(id timer) {
        times.push_back(platform::Clock::now());
        lastArgument = std::move(timer);
        if (onTick) onTick();
    }
    void ping() { times.push_back(platform::Clock::now()); }
    std::vector<double> times;
    id lastArgument;
    std::function<void()> onTick;
};

}  // namespace

VT_REGISTER_CLASS(TickTarget, [](Class c) {
    platform::runtime::addMethod<&TickTarget::tick>(c, "tick:");
    platform::runtime::addMethod<&TickTarget::ping>(c, "ping");
})

namespace {

using platform::Clock;
using platform::RunLoop;

class RunLoopTest : public ::testing::Test {
protected:
    void SetUp() override { platform::resetRunLoop(); }
    void TearDown() override { platform::resetRunLoop(); }
    RunLoop& loop() { return RunLoop::main(); }
    double elapsed() const { return Clock::now() - Clock::kStart; }
};

Ref<NSTimer> every(double interval, const Ref<TickTarget>& target, bool repeats = true) {
    return NSTimer::scheduledTimerWithTimeIntervalTargetSelectorUserInfoRepeats(interval, target, sel("tick:"),
                                                                                 nullptr, repeats);
}

TEST_F(RunLoopTest, RepeatingTimerFiresOncePerIntervalOnItsGrid) {
    auto target = alloc<TickTarget>();
    auto timer = every(1.0, target);
    loop().advance(0.999);
    EXPECT_TRUE(target->times.empty()) << "nothing is due before the first interval has passed";
    loop().advance(9.001);
    ASSERT_EQ(target->times.size(), 10u);
    for (std::size_t i = 0; i < target->times.size(); ++i)
        EXPECT_DOUBLE_EQ(target->times[i] - Clock::kStart, double(i + 1)) << "tick " << i;
    EXPECT_EQ(target->lastArgument.get(), timer.get()) << "the timer hands itself to a method that takes it";
    EXPECT_DOUBLE_EQ(timer->fireDate() - Clock::kStart, 11.0);
    EXPECT_DOUBLE_EQ(elapsed(), 10.0);
}

TEST_F(RunLoopTest, AnHourOfTimersIsExactAndKeepsTheLiveCount) {
    std::vector<Ref<TickTarget>> targets;
    for (int i = 0; i < 4; ++i) targets.push_back(alloc<TickTarget>());
    for (auto& t : targets) every(1.0, t);
    EXPECT_EQ(NSTimer::liveTimerCount(), 4u);
    loop().advance(3600);
    for (auto& t : targets) EXPECT_EQ(t->times.size(), 3600u);
    EXPECT_EQ(NSTimer::liveTimerCount(), 4u) << "repeating timers are never dropped by running";
    EXPECT_EQ(loop().pendingCount(), 4u);
}

TEST_F(RunLoopTest, TimersOfDifferentIntervalsInterleaveInTimeOrder) {
    std::vector<std::string> order;
    auto fast = alloc<TickTarget>();
    auto slow = alloc<TickTarget>();
    fast->onTick = [&] { order.push_back("fast@" + std::to_string(int(elapsed() * 10))); };
    slow->onTick = [&] { order.push_back("slow@" + std::to_string(int(elapsed() * 10))); };
    every(1.5, slow);
    every(1.0, fast);
    loop().advance(3.0);
    // At 3.0 both are due; the slow timer's tick for 3.0 was queued at 1.5, before the fast one's (queued at 2.0).
    EXPECT_EQ(order, (std::vector<std::string>{"fast@10", "slow@15", "fast@20", "slow@30", "fast@30"}));
}

TEST_F(RunLoopTest, SameInstantWorkRunsInSchedulingOrder) {
    std::vector<int> order;
    const double at = Clock::now() + 2;
    for (int i = 0; i < 5; ++i) loop().scheduleAt(at, [&order, i] { order.push_back(i); });
    loop().scheduleAt(at - 1, [&order] { order.push_back(-1); });
    loop().advance(2);
    EXPECT_EQ(order, (std::vector<int>{-1, 0, 1, 2, 3, 4}));
}

TEST_F(RunLoopTest, CancelledWorkNeverRuns) {
    int ran = 0;
    auto token = loop().scheduleAfter(1, [&] { ++ran; });
    EXPECT_TRUE(loop().isScheduled(token));
    EXPECT_TRUE(loop().cancel(token));
    EXPECT_FALSE(loop().cancel(token)) << "a second cancel finds nothing";
    loop().advance(5);
    EXPECT_EQ(ran, 0);
    EXPECT_FALSE(loop().isScheduled(token));
}

TEST_F(RunLoopTest, OneShotTimerFiresOnceAndInvalidatesItself) {
    auto target = alloc<TickTarget>();
    auto timer = every(0.5, target, false);
    loop().advance(3);
    EXPECT_EQ(target->times.size(), 1u);
    EXPECT_FALSE(timer->isValid());
    EXPECT_EQ(NSTimer::liveTimerCount(), 0u);
}

TEST_F(RunLoopTest, TimerKeepsItsTargetAliveUntilInvalidated) {
    Weak<TickTarget> weak;
    Ref<NSTimer> timer;
    {
        auto target = alloc<TickTarget>();
        weak = target;
        timer = every(1.0, target);
    }
    loop().advance(2);
    ASSERT_FALSE(weak.expired()) << "only the timer holds the target, and it must";
    EXPECT_EQ(weak.lock()->times.size(), 2u);
    timer->invalidate();
    EXPECT_TRUE(weak.expired());
    EXPECT_FALSE(timer->isValid());
    EXPECT_EQ(NSTimer::liveTimerCount(), 0u);
    loop().advance(2);  // nothing left to fire, nothing to crash on
    EXPECT_EQ(loop().pendingCount(), 0u);
}

TEST_F(RunLoopTest, ResetReleasesTargetsAndRewindsTheClock) {
    Weak<TickTarget> weak;
    {
        auto target = alloc<TickTarget>();
        weak = target;
        every(1.0, target);
        platform::performSelectorAfterDelay(target, sel("ping"), nullptr, 10);
    }
    loop().advance(3);
    const auto objectsBefore = platform::liveObjectCount();
    platform::resetRunLoop();
    EXPECT_TRUE(weak.expired());
    EXPECT_LT(platform::liveObjectCount(), objectsBefore);
    EXPECT_EQ(NSTimer::liveTimerCount(), 0u);
    EXPECT_EQ(loop().pendingCount(), 0u);
    EXPECT_EQ(Clock::now(), Clock::kStart);
}

TEST_F(RunLoopTest, ResetParticipantsRunInOrderBeforeTheQueueIsDropped) {
    // Participants stay for the life of the process, so these only record while the test listens.
    static bool listening = false;
    static std::vector<std::string> calls;
    static std::vector<std::size_t> pendingSeen;
    for (const char* name : {"first", "second"})
        platform::addRunLoopResetParticipant([name] {
            if (!listening) return;
            calls.push_back(name);
            pendingSeen.push_back(RunLoop::main().pendingCount());
        });
    loop().scheduleAfter(5, [] {});
    listening = true;
    platform::resetRunLoop();
    platform::resetRunLoop();
    listening = false;
    EXPECT_EQ(calls, (std::vector<std::string>{"first", "second", "first", "second"}));
    EXPECT_EQ(pendingSeen, (std::vector<std::size_t>{1, 1, 0, 0})) << "the scheduled work is still queued when they run";
    EXPECT_EQ(loop().pendingCount(), 0u);
}

TEST_F(RunLoopTest, TargetMayInvalidateItsTimerFromTheTick) {
    auto target = alloc<TickTarget>();
    Ref<NSTimer> timer = every(1.0, target);
    target->onTick = [&] {
        if (target->times.size() == 3) timer->invalidate();
    };
    loop().advance(10);
    EXPECT_EQ(target->times.size(), 3u);
    EXPECT_EQ(loop().pendingCount(), 0u);
}

TEST_F(RunLoopTest, ZeroDelayPerformRunsOnALaterTurnNeverInline) {
    auto target = alloc<TickTarget>();
    platform::performSelectorAfterDelay(target, sel("ping"), nullptr, 0);
    EXPECT_TRUE(target->times.empty()) << "a zero delay must not run inside the call";
    Weak<TickTarget> weak = target;
    target.reset();
    EXPECT_FALSE(weak.expired()) << "the pending perform keeps its target";
    EXPECT_EQ(loop().drain(), 1u);
    EXPECT_TRUE(weak.expired()) << "and lets it go once it ran";
    EXPECT_DOUBLE_EQ(elapsed(), 0.0) << "draining does not move time";
}

TEST_F(RunLoopTest, PerformPassesItsObjectAndRunsAfterTheDelay) {
    auto target = alloc<TickTarget>();
    auto payload = alloc<NSObject>();
    platform::performSelectorAfterDelay(target, sel("tick:"), payload, 0.25);
    loop().drain();
    EXPECT_TRUE(target->times.empty());
    loop().advance(0.25);
    ASSERT_EQ(target->times.size(), 1u);
    EXPECT_EQ(target->lastArgument, payload);
    EXPECT_EQ(platform::performSelectorAfterDelay(nullptr, sel("ping"), nullptr, 0), 0u);
}

TEST_F(RunLoopTest, WorkQueuedDuringATurnRunsInALaterTurnOfTheSameDrain) {
    std::vector<std::uint64_t> turns;
    loop().scheduleAfter(0, [&] {
        turns.push_back(loop().turnCount());
        platform::dispatchMain([&] { turns.push_back(loop().turnCount()); });
    });
    EXPECT_EQ(loop().drain(), 2u);
    ASSERT_EQ(turns.size(), 2u);
    EXPECT_EQ(turns[1], turns[0] + 1);
}

TEST_F(RunLoopTest, TurnObserversRunAtTheStartOfEveryTurn) {
    std::vector<std::string> log;
    auto token = platform::addTurnObserver([&] { log.push_back("turn"); });
    auto target = alloc<TickTarget>();
    target->onTick = [&] { log.push_back("tick"); };
    every(1.0, target);
    loop().advance(2.5);
    loop().drain();  // idle: still a turn, so observers see changes made between turns
    platform::removeTurnObserver(token);
    EXPECT_EQ(log, (std::vector<std::string>{"turn", "tick", "turn", "tick", "turn", "turn"}));
}

TEST_F(RunLoopTest, BackgroundWorkRunsOnAnotherThreadAndHandsOffToMain) {
    const auto mainThread = std::this_thread::get_id();
    std::atomic<bool> ranElsewhere{false};
    std::vector<std::string> log;
    platform::dispatchBackground([&] {
        ranElsewhere = std::this_thread::get_id() != mainThread;
        std::string thumbnail = "made off main";
        platform::dispatchMain([&log, thumbnail] { log.push_back(thumbnail); });
    });
    EXPECT_TRUE(log.empty()) << "the hand-off waits for the main loop";
    loop().drain();
    EXPECT_TRUE(ranElsewhere);
    EXPECT_EQ(log, std::vector<std::string>{"made off main"});
    EXPECT_EQ(platform::backgroundPendingCount(), 0u);
}

TEST_F(RunLoopTest, HandOffsArriveInSubmissionOrderAndChainsFinishInOneDrain) {
    std::vector<int> order;
    for (int i = 0; i < 50; ++i)
        platform::dispatchBackground([&order, i] { platform::dispatchMain([&order, i] { order.push_back(i); }); });
    // main → background → main → background → main, all settled by one drain
    std::vector<std::string> chain;
    platform::dispatchMain([&] {
        chain.push_back("main 1");
        platform::dispatchBackground([&] {
            platform::dispatchMain([&] {
                chain.push_back("main 2");
                platform::dispatchBackground([&] { platform::dispatchMain([&] { chain.push_back("main 3"); }); });
            });
        });
    });
    loop().drain();
    ASSERT_EQ(order.size(), 50u);
    for (int i = 0; i < 50; ++i) EXPECT_EQ(order[i], i);
    EXPECT_EQ(chain, (std::vector<std::string>{"main 1", "main 2", "main 3"}));
    EXPECT_EQ(loop().pendingCount(), 0u);
}

TEST_F(RunLoopTest, BackgroundFailureSurfacesOnMain) {
    platform::dispatchBackground([] { throw std::runtime_error("export failed"); });
    EXPECT_THROW(loop().drain(), std::runtime_error);
    EXPECT_NO_THROW(loop().drain()) << "reported once";
}

TEST_F(RunLoopTest, MisuseIsLoud) {
    EXPECT_THROW(loop().advance(-1), platform::RuntimeError);
    loop().scheduleAfter(0, [&] { loop().drain(); });
    EXPECT_THROW(loop().drain(), platform::RuntimeError);
    EXPECT_FALSE(loop().isInTurn());
}

TEST_F(RunLoopTest, SettingTheClockPastTicksSkipsThemInsteadOfBursting) {
    auto target = alloc<TickTarget>();
    auto timer = every(1.0, target);
    Clock::setNow(Clock::kStart + 5.5);
    loop().drain();
    EXPECT_EQ(target->times.size(), 1u) << "the overdue tick fires once";
    EXPECT_DOUBLE_EQ(timer->fireDate() - Clock::kStart, 6.0);
    loop().advance(1);
    EXPECT_EQ(target->times.size(), 2u);
}

}  // namespace
