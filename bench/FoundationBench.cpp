// Costs of the foundation services on the paths the add-on uses every second or at every load.

#include "platform/core/NSNotificationCenter.h"
#include "platform/core/NSTimer.h"
#include "platform/core/RunLoop.h"
#include "platform/core/Runtime.h"
#include "platform/core/StringFormat.h"
#include "platform/core/StringsTable.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

class Poller : public NSObject {
    VT_OBJECT(Poller, NSObject)
public:
    void poll(id) { ++polls; }
    void changed() { ++polls; }
    long polls = 0;
};

}  // namespace

VT_REGISTER_CLASS(Poller, [](Class c) {
    platform::runtime::addMethod<&Poller::poll>(c, "poll:");
    platform::runtime::addMethod<&Poller::changed>(c, "changed");
})

namespace {

// A simulated hour with the grid's refresh timer and the poll timers of the four radio cards: 5 × 3600 ticks.
void BM_SimulatedHourOfPollTimers(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        platform::resetRunLoop();
        auto poller = alloc<Poller>();
        for (int i = 0; i < 5; ++i)
            NSTimer::scheduledTimerWithTimeIntervalTargetSelectorUserInfoRepeats(1.0, poller, sel("poll:"), nullptr,
                                                                                  true);
        state.ResumeTiming();
        platform::RunLoop::main().advance(3600);
        benchmark::DoNotOptimize(poller->polls);
    }
    platform::resetRunLoop();
    state.SetItemsProcessed(state.iterations() * 5 * 3600);
}
BENCHMARK(BM_SimulatedHourOfPollTimers)->Unit(benchmark::kMillisecond);

// An idle drain: what every scenario step pays when nothing is due.
void BM_IdleDrain(benchmark::State& state) {
    platform::resetRunLoop();
    for (auto _ : state) benchmark::DoNotOptimize(platform::RunLoop::main().drain());
}
BENCHMARK(BM_IdleDrain);

// A post to the default centre with 20 observers of which one matches, as for the colour update.
void BM_PostToDefaultCentre(benchmark::State& state) {
    auto center = NSNotificationCenter::defaultCenter();
    std::vector<Ref<Poller>> observers;
    for (int i = 0; i < 20; ++i) {
        observers.push_back(alloc<Poller>());
        center->addObserverSelectorNameObject(observers.back(), sel("changed"),
                                              i == 0 ? "colorupdate" : "other" + std::to_string(i), nullptr);
    }
    for (auto _ : state) center->postNotificationNameObject("colorupdate", nullptr);
    for (auto& o : observers) center->removeObserver(o);
}
BENCHMARK(BM_PostToDefaultCentre);

// Parsing a card-text table of 40 entries, as each card file does once at load.
void BM_ParseStringsTable(benchmark::State& state) {
    std::string text = "/* Cards */\n";
    for (int i = 0; i < 40; ++i) text += "\"key" + std::to_string(i) + "\" = \"Value number " + std::to_string(i) + "\";\n";
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    for (auto _ : state) benchmark::DoNotOptimize(platform::parseStringsTable(bytes));
    state.SetBytesProcessed(state.iterations() * static_cast<long>(bytes.size()));
}
BENCHMARK(BM_ParseStringsTable);

void BM_StringWithFormatColour(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(platform::stringWithFormat("%02lX%02lX%02lX%02lX", 255L, 128L, 0L, 255L));
}
BENCHMARK(BM_StringWithFormatColour);

}  // namespace

BENCHMARK_MAIN();
