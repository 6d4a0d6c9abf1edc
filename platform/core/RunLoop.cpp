#include "platform/core/RunLoop.h"

#include "platform/core/Runtime.h"
#include "platform/core/TurnObservers.h"

#include <cmath>
#include <condition_variable>
#include <deque>
#include <exception>
#include <map>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <utility>
#include <vector>

namespace platform {

namespace {

// A loop that keeps re-queuing work at the same instant never settles; in tests that is a hang, so it becomes a
// loud error instead.
constexpr std::size_t kMaxTurnsAtOneInstant = 1'000'000;

struct Key {
    double when;
    RunLoop::Token token;
    bool operator<(const Key& other) const {
        if (when != other.when) return when < other.when;
        return token < other.token;
    }
};

struct LoopState {
    mutable std::mutex mutex;
    std::map<Key, std::function<void()>> queue;
    std::unordered_map<RunLoop::Token, Key> byToken;
    RunLoop::Token nextToken = 1;
    std::uint64_t turns = 0;
    bool inTurn = false;
};

LoopState& state() {
    static LoopState s;
    return s;
}

// Function-local, so participants registering from other files' start-up find it ready.
std::vector<std::function<void()>>& resetParticipants() {
    static std::vector<std::function<void()>> participants;
    return participants;
}

// The one background queue of the process: a single worker thread, started on first use, running work in
// submission order.
class BackgroundWorker {
public:
    ~BackgroundWorker() {
        {
            std::lock_guard lock(m_mutex);
            m_stopping = true;
        }
        m_wake.notify_all();
        if (m_thread.joinable()) m_thread.join();
    }

    void submit(std::function<void()> work) {
        {
            std::lock_guard lock(m_mutex);
            if (!m_thread.joinable()) m_thread = std::thread([this] { run(); });
            m_tasks.push_back(std::move(work));
            ++m_outstanding;
        }
        m_wake.notify_all();
    }

    // Blocks until every submitted piece of work has finished, then rethrows the first failure of any of them.
    void waitIdle() {
        if (std::this_thread::get_id() == m_thread.get_id())
            throw RuntimeError("the run loop was driven from background work, which would wait for itself");
        std::unique_lock lock(m_mutex);
        m_idle.wait(lock, [this] { return m_outstanding == 0; });
        if (m_failure) {
            auto failure = std::exchange(m_failure, nullptr);
            std::rethrow_exception(failure);
        }
    }

    std::size_t outstanding() {
        std::lock_guard lock(m_mutex);
        return m_outstanding;
    }

private:
    void run() {
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_wake.wait(lock, [this] { return m_stopping || !m_tasks.empty(); });
            if (m_tasks.empty()) return;
            auto work = std::move(m_tasks.front());
            m_tasks.pop_front();
            lock.unlock();
            std::exception_ptr failure;
            try {
                work();
            } catch (...) {
                failure = std::current_exception();
            }
            work = nullptr;  // captured objects die here, off the lock
            lock.lock();
            if (failure && !m_failure) m_failure = failure;
            if (--m_outstanding == 0) m_idle.notify_all();
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<std::function<void()>> m_tasks;
    std::size_t m_outstanding = 0;
    bool m_stopping = false;
    std::exception_ptr m_failure;
    std::thread m_thread;
};

BackgroundWorker& worker() {
    static BackgroundWorker w;
    return w;
}

// Takes the earliest work due at or before `limit`; nothing when there is none.
std::optional<std::pair<double, std::function<void()>>> takeDue(double limit) {
    auto& s = state();
    std::lock_guard lock(s.mutex);
    if (s.queue.empty()) return std::nullopt;
    auto first = s.queue.begin();
    if (first->first.when > limit) return std::nullopt;
    std::pair<double, std::function<void()>> taken{first->first.when, std::move(first->second)};
    s.byToken.erase(first->first.token);
    s.queue.erase(first);
    return taken;
}

void runTurn(const std::function<void()>& work) {
    auto& s = state();
    s.inTurn = true;
    ++s.turns;
    struct EndTurn {
        ~EndTurn() { state().inTurn = false; }
    } endTurn;
    runTurnObservers();
    if (work) work();
}

void checkNotInTurn(const char* what) {
    if (state().inTurn) throw RuntimeError(std::string(what) + " was called from inside a run-loop turn");
}

}  // namespace

RunLoop& RunLoop::main() {
    static RunLoop loop;
    return loop;
}

void RunLoop::advance(double seconds) {
    checkNotInTurn("RunLoop::advance");
    if (!(seconds >= 0)) throw RuntimeError("RunLoop::advance needs a non-negative amount of time");
    const double target = Clock::now() + seconds;
    std::size_t atInstant = 0;
    double instant = Clock::now();
    for (;;) {
        worker().waitIdle();
        auto due = takeDue(target);
        if (!due) break;
        if (due->first > Clock::now()) Clock::setNow(due->first);
        if (Clock::now() != instant) {
            instant = Clock::now();
            atInstant = 0;
        }
        if (++atInstant > kMaxTurnsAtOneInstant) throw RuntimeError("the run loop does not settle at one instant");
        runTurn(due->second);
    }
    if (Clock::now() < target) Clock::setNow(target);
    drain();
}

std::size_t RunLoop::drain() {
    checkNotInTurn("RunLoop::drain");
    std::size_t ran = 0;
    for (;;) {
        worker().waitIdle();
        auto due = takeDue(Clock::now());
        if (!due) break;
        if (++ran > kMaxTurnsAtOneInstant) throw RuntimeError("the run loop does not settle at one instant");
        runTurn(due->second);
    }
    if (ran == 0) runTurn(nullptr);
    return ran;
}

RunLoop::Token RunLoop::scheduleAt(double when, std::function<void()> work) {
    if (std::isnan(when)) throw RuntimeError("RunLoop::scheduleAt needs a time");
    // Past times are clamped so that such work queues behind what is already due now, in scheduling order.
    when = std::max(when, Clock::now());
    auto& s = state();
    std::lock_guard lock(s.mutex);
    Token token = s.nextToken++;
    Key key{when, token};
    s.queue.emplace(key, std::move(work));
    s.byToken.emplace(token, key);
    return token;
}

RunLoop::Token RunLoop::scheduleAfter(double delay, std::function<void()> work) {
    if (std::isnan(delay)) throw RuntimeError("RunLoop::scheduleAfter needs a delay");
    return scheduleAt(Clock::now() + std::max(delay, 0.0), std::move(work));
}

bool RunLoop::cancel(Token token) {
    auto& s = state();
    std::function<void()> dropped;  // destroyed after the lock: it may hold the last reference to an object
    std::lock_guard lock(s.mutex);
    auto it = s.byToken.find(token);
    if (it == s.byToken.end()) return false;
    auto entry = s.queue.find(it->second);
    dropped = std::move(entry->second);
    s.queue.erase(entry);
    s.byToken.erase(it);
    return true;
}

bool RunLoop::isScheduled(Token token) const {
    auto& s = state();
    std::lock_guard lock(s.mutex);
    return s.byToken.count(token) != 0;
}

std::size_t RunLoop::pendingCount() const {
    auto& s = state();
    std::lock_guard lock(s.mutex);
    return s.queue.size();
}

std::optional<double> RunLoop::nextDueTime() const {
    auto& s = state();
    std::lock_guard lock(s.mutex);
    if (s.queue.empty()) return std::nullopt;
    return s.queue.begin()->first.when;
}

std::uint64_t RunLoop::turnCount() const { return state().turns; }

bool RunLoop::isInTurn() const { return state().inTurn; }

RunLoop::Token performSelectorAfterDelay(const id& target, SEL selector, const id& object, double delay) {
    if (!target || !selector) return 0;
    return RunLoop::main().scheduleAfter(delay, [target, selector, object] {
        performAction(target.get(), selector, object);
    });
}

void dispatchMain(std::function<void()> work) { RunLoop::main().scheduleAt(Clock::now(), std::move(work)); }

void dispatchBackground(std::function<void()> work) { worker().submit(std::move(work)); }

std::size_t backgroundPendingCount() { return worker().outstanding(); }

void resetRunLoop() {
    checkNotInTurn("resetRunLoop");
    worker().waitIdle();
    for (const auto& onReset : resetParticipants()) onReset();
    auto& s = state();
    std::map<Key, std::function<void()>> dropped;
    {
        std::lock_guard lock(s.mutex);
        dropped.swap(s.queue);
        s.byToken.clear();
    }
    dropped.clear();
    s.turns = 0;
    Clock::setNow(Clock::kStart);
}

void addRunLoopResetParticipant(std::function<void()> onReset) { resetParticipants().push_back(std::move(onReset)); }

}  // namespace platform
