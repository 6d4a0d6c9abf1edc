// One drag-changed event of the pane's drawer: the finger's move through the touch driver, the drawer's move
// (clamped at its ends every other event, which resets the recogniser's translation), and the layout pass the
// driver runs over the window. Target: at most 0.2 ms of model and layout work.
//
// Method: the pane's root controller builds its drawer on a key window of the default screen, with the bundle the
// build installs in a temporary device root (the Default theme's gradients, icons and menus); a finger goes down
// on the handle and moves 10 points so the drag has begun. Each iteration then moves the finger once, alternating
// between a point inside the drawer's travel and one beyond its opened end.
#include "platform/core/DeviceRoot.h"
#include "platform/core/NSBundle.h"
#include "platform/core/RunLoop.h"
#include "platform/core/Runtime.h"
#include "platform/harness/TouchDriver.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UIWindow.h"
#include "platform/ui/UIPanGestureRecognizer.h"
#include "prefs/drawer/VNTDrawerView.h"
#include "prefs/pane/VNTPrimraryController.h"
#include "tests/support/TemporaryRoot.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

constexpr const char* kBundle = "/Library/PreferenceBundles/VantilePrefs.bundle";

void BM_DrawerDragChanged(benchmark::State& state) {
    testing_support::TemporaryRoot root("drawer-bench");
    root.useAsDeviceRoot();
    const std::filesystem::path built = std::filesystem::path(VANTILE_BUILD_DIR) / "device" / (kBundle + 1);
    std::filesystem::create_directories((root.path() / (kBundle + 1)).parent_path());
    std::error_code ec;
    std::filesystem::copy(built, root.path() / (kBundle + 1), std::filesystem::copy_options::recursive, ec);
    platform::runtime::enableClassGroup("Preferences");

    auto window = alloc<UIWindow>();
    window->initWithFrame(UIScreen::mainScreen()->bounds());
    window->makeKeyAndVisible();
    auto controller = cast<VNTPrimraryController>(platform::runtime::createInstance(objc_getClass("VNTPrimraryController")));
    controller->init();
    platform::msgSend<void>(controller, sel("setupDrawer"));
    auto drawer = VNTPrimraryController::drawerView();
    window->layoutIfNeeded();

    platform::TouchDriver finger(window);
    const CGPoint start = drawer->convertPointToView(CGPointMake(10, drawer->bounds().midY()), window);
    finger.down(start);
    finger.wait(0.02);
    finger.move(CGPointMake(start.x - 15, start.y));
    finger.wait(0.02);
    const CGPoint inside = CGPointMake(start.x - 120, start.y);
    const CGPoint beyond = CGPointMake(start.x - 400, start.y);
    // The drag must be under way, or the loop would time a touch nobody handles.
    finger.move(inside);
    if (drawer->center().x != drawer->closedCenter().x - 120) state.SkipWithError("the drawer does not follow the finger");
    // Once clamped, the reset translation makes the inside point read as the start again: the drawer swings
    // between its two ends, clamping on every other event.
    bool far = false;
    for (auto _ : state) {
        far = !far;
        finger.move(far ? beyond : inside);
        benchmark::DoNotOptimize(drawer->center());
    }
    finger.cancel();
    drawer->removeFromSuperview();
    window = nullptr;
    platform::resetRunLoop();
    platform::runtime::disableAllClassGroups();
}
BENCHMARK(BM_DrawerDragChanged)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
