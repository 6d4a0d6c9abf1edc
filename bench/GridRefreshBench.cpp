// One refresh tick of the dashboard grid with all 23 cards selected: the preference check that starts every turn of
// the run loop, the stored list read on a fresh preferences object, the reload (every visible card asks for the list
// again and is handed out again), and the layout pass. Rendering is not part of it.

#include "tweak/cards/CardStartup.h"
#include "tweak/cards/VantileCatalogue.h"
#include "tweak/dashboard/GridPreferences.h"
#include "tweak/dashboard/VantileBaseView.h"
#include "tweak/dashboard/VantileCollectionView.h"

#include "common/Keys.h"
#include "platform/core/DeviceRoot.h"
#include "platform/core/HBPreferences.h"
#include "platform/core/PreferenceDomain.h"
#include "platform/core/Runtime.h"
#include "platform/ui/UICollectionView.h"
#include "platform/ui/UIScreen.h"
#include "tests/support/DashboardFixture.h"
#include "tests/support/TemporaryRoot.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>

namespace {

void BM_GridRefreshTick(benchmark::State& state) {
    testing_support::TemporaryRoot device("grid-bench");
    device.useAsDeviceRoot();
    UIScreen::setDeviceProfile("iphone-x");
    Value::Array titles;
    for (const auto& title : vantile::catalogueTitles()) titles.emplace_back(title);
    HBPreferences::preferencesForIdentifier(vantile::kDomain)
        ->setObjectForKey(Value(std::move(titles)), vantile::key::vantileEnabledArray);
    vantile::dashboard::startup();
    for (const auto& card : vantile::cards::cardFileStartups()) card.run();

    auto window = vantile::testing::makeWindow(1);
    window->addSubview(vantile::testing::makeDashboardView());
    window->layoutIfNeeded();
    const auto grid = VantileBaseView::vantileCollectionView();
    const std::size_t built = grid->vantileSettingsCollectionView()->createdCellCount();

    for (auto _ : state) {
        platform::checkPreferenceChanges();
        platform::msgSend(grid.get(), sel("refreshVantileCollectionView"));
        window->layoutIfNeeded();
    }
    if (grid->vantileSettingsCollectionView()->createdCellCount() != built) state.SkipWithError("cards were rebuilt");
    state.counters["visibleCards"] = static_cast<double>(grid->vantileSettingsCollectionView()->visibleCells().size());
}

BENCHMARK(BM_GridRefreshTick)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
