// One simulated hour of the dashboard showing the four status cards: 3600 one-second ticks of the virtual clock,
// each running the grid's refresh and the four cards' polls (the Wi-Fi address comes and goes every minute, the
// radios flip every five), with a layout pass per tick as the display would ask. Rendering is not part of it.
//
// Reported beside the CPU time of the hour: the growth of the heap in use and of the resident set over the hour
// (both should stay flat: the targets are < 1 s of CPU and < 1 MB of growth), the card objects alive and the
// timers alive at the end.

#include "tweak/cards/CardStartup.h"
#include "tweak/cards/RadioFlags.h"
#include "tweak/dashboard/GridPreferences.h"
#include "tweak/dashboard/VantileBaseView.h"
#include "tweak/dashboard/VantileCollectionView.h"
#include "tweak/cards/VantileCardCell.h"

#include "common/Keys.h"
#include "platform/core/DeviceRoot.h"
#include "platform/core/HBPreferences.h"
#include "platform/core/NSTimer.h"
#include "platform/core/RunLoop.h"
#include "platform/core/Runtime.h"
#include "platform/system/BSDNetwork.h"
#include "platform/ui/UICollectionView.h"
#include "platform/ui/UIScreen.h"
#include "tests/support/DashboardFixture.h"
#include "tests/support/TemporaryRoot.h"

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace {

double heapInUse() { return static_cast<double>(::mallinfo2().uordblks); }

double residentBytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE));
}

// Card objects alive: the collection view's cells that are status cards, reached through the timers that hold
// them (a card left behind by a reload would still be counted, as its timer keeps it).
std::size_t liveCards(const Ref<UICollectionView>& collection) {
    std::size_t n = 0;
    for (const auto& cell : collection->visibleCells())
        if (cast<VantileCardCell>(cell)) ++n;
    return n;
}

void BM_StatusCardsHour(benchmark::State& state) {
    testing_support::TemporaryRoot device("status-bench");
    device.useAsDeviceRoot();
    UIScreen::setDeviceProfile("iphone-x");
    Value::Array titles{Value("Airplane Mode"), Value("Bluetooth"), Value("Wi-Fi"), Value("Cellular Data")};
    HBPreferences::preferencesForIdentifier(vantile::kDomain)
        ->setObjectForKey(Value(std::move(titles)), vantile::key::vantileEnabledArray);
    for (const auto& card : vantile::cards::cardFileStartups())
        if (card.row->isStatus()) card.run();
    vantile::dashboard::startup();
    platform::bsd::setSimulatedInterfaces({{"lo0", platform::bsd::kAFInet, "127.0.0.1"},
                                           {"en0", platform::bsd::kAFInet6, "fe80::1"},
                                           {"pdp_ip0", platform::bsd::kAFInet, "10.64.0.3"}});

    auto window = vantile::testing::makeWindow(1);
    window->addSubview(vantile::testing::makeDashboardView());
    window->layoutIfNeeded();
    const auto grid = VantileBaseView::vantileCollectionView();
    const auto collection = grid->vantileSettingsCollectionView();
    platform::RunLoop& loop = platform::RunLoop::main();

    auto hour = [&] {
        for (int second = 0; second < 3600; ++second) {
            if (second % 60 == 0)
                platform::bsd::setSimulatedIPv4Address(
                    "en0", (second / 60) % 2 ? std::optional<std::string>("192.168.1.20") : std::nullopt);
            if (second % 300 == 0) {
                vantile::isAirplaneModeOn = !vantile::isAirplaneModeOn;
                vantile::isBluetoothOn = !vantile::isBluetoothOn;
            }
            loop.advance(1.0);
            window->layoutIfNeeded();
        }
    };
    hour();  // the warm-up hour fills the caches (fonts, text layouts) that stay for the process
    const std::size_t built = collection->createdCellCount();
    const double heapBefore = heapInUse();
    const double residentBefore = residentBytes();
    for (auto _ : state) hour();
    state.counters["heapGrowthBytes"] = heapInUse() - heapBefore;
    state.counters["residentGrowthBytes"] = residentBytes() - residentBefore;
    state.counters["cardsBuilt"] = static_cast<double>(collection->createdCellCount());
    state.counters["cardsOnScreen"] = static_cast<double>(liveCards(collection));
    state.counters["timersAlive"] = static_cast<double>(NSTimer::liveTimerCount());
    state.counters["objectsAlive"] = static_cast<double>(platform::liveObjectCount());
    if (collection->createdCellCount() != built) state.SkipWithError("cards were rebuilt during the hour");
    platform::resetRunLoop();
}

BENCHMARK(BM_StatusCardsHour)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
