// Opening the add-on's pane: from the tap on its Settings row to the pushed page laid out, rendering excluded.
// Target: at most 8.3 ms of model and layout work (half a frame at 60 Hz).
//
// Method: the simulated phone with the build's package installed into a temporary device root, as a user has it,
// Settings launched and settled. The tap goes to the root list's row as a touch's selection does; the push and its
// transition run on the virtual clock, then the window is laid out. The pane's code is loaded from the installed
// bundle with dlopen, once per process, so the first opening is a case of its own that runs once, before the case
// with the code already loaded; going back to the root page between iterations is outside the measured time.
//
// This program does not link the preference bundle's objects: the pane it opens is the real VantilePrefs library
// of the build, as the device opens it. The counter "pane" is 1 when the bundle's principal class was pushed and 0
// when the host's error page stood in for it (a bundle whose code lacks its principal class).
#include "platform/core/NSBundle.h"
#include "platform/core/NSMutableArray.h"
#include "platform/core/Runtime.h"
#include "platform/host/PSBundleErrorController.h"
#include "platform/host/PSSpecifier.h"
#include "platform/host/PSUIPrefsListController.h"
#include "platform/ui/NSIndexPath.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UIWindow.h"
#include "sim/device/SimulatedDevice.h"
#include "sim/install/PackageInstaller.h"
#include "tests/support/TemporaryRoot.h"

#include <benchmark/benchmark.h>

#include <iostream>
#include <memory>

namespace {

constexpr const char* kPaneBundle = "/Library/PreferenceBundles/VantilePrefs.bundle";

struct Phone {
    testing_support::TemporaryRoot root{"pane-bench"};
    std::optional<sim::SimulatedDevice> device;
};

std::unique_ptr<Phone>& phone() {
    static std::unique_ptr<Phone> p;
    return p;
}

std::optional<std::string> setUp() {
    auto deb = sim::install::defaultPackage();
    if (!deb) return std::string("the build made no Vantile.deb");
    phone() = std::make_unique<Phone>();
    auto installed = sim::install::installPackage(*deb, phone()->root.path());
    if (installed.error) return *installed.error;
    phone()->device.emplace(phone()->root.path());
    sim::LaunchOptions options;
    options.loadTweak = false;
    if (auto error = phone()->device->launch(options)) return error;
    phone()->device->advance(1);
    return std::nullopt;
}

// The tap on the "Vantile" row, the push, and the layout of the page it pushed; answers whether the pane came.
bool openPane() {
    auto& device = *phone()->device;
    auto root = device.rootController();
    const auto& list = root->specifiersIvar();
    for (std::size_t i = 0; i < list->count(); ++i) {
        if (list->objectAtIndexAs<PSSpecifier>(i)->name() != "Vantile") continue;
        auto path = root->indexPathForIndex(static_cast<long>(i));
        platform::msgSend<void>(root, sel("tableView:didSelectRowAtIndexPath:"), root->table(),
                                NSIndexPath::indexPathForRowInSection(path->second, path->first));
        device.runUntilIdle();
        device.window()->layoutIfNeeded();
        return !cast<PSBundleErrorController>(device.visibleController());
    }
    return false;
}

void back() {
    phone()->device->popToRoot();
    phone()->device->advance(1);
}

void BM_OpenPaneFirstLoad(benchmark::State& state) {
    if (auto bundle = NSBundle::bundleWithPath(kPaneBundle); !bundle || bundle->isLoaded()) {
        state.SkipWithError("the pane's bundle is missing or already loaded");
        return;
    }
    bool pane = false;
    for (auto _ : state) pane = openPane();
    state.counters["pane"] = pane;
    back();  // the timing stopped with the loop
}
BENCHMARK(BM_OpenPaneFirstLoad)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_OpenPaneLoaded(benchmark::State& state) {
    bool pane = false;
    for (auto _ : state) {
        pane = openPane();
        state.PauseTiming();
        back();
        state.ResumeTiming();
    }
    state.counters["pane"] = pane;
}
BENCHMARK(BM_OpenPaneLoaded)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    if (auto error = setUp()) {
        std::cerr << "PaneOpenBench: " << *error << "\n";
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    phone()->device.reset();
    phone().reset();
    return 0;
}
