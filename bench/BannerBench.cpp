// The pane root's cost per scroll event (updateBanner, the fades and the layout the event causes), and one wheel of
// the birthday picker coming to rest (combine, clamp, reselect, store the preference) beside that one preference
// write alone.

#include "common/Keys.h"
#include "platform/core/Clock.h"
#include "platform/core/HBPreferences.h"
#include "platform/core/NSBundle.h"
#include "platform/core/NSDate.h"
#include "platform/core/RunLoop.h"
#include "platform/core/Runtime.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UIWindow.h"
#include "prefs/pane/VNTDatePickerController.h"
#include "prefs/pane/VNTPrimraryController.h"
#include "prefs/pane/ZRVCDatePicker.h"
#include "tests/support/TemporaryRoot.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

constexpr std::string_view kBundle = "/Library/PreferenceBundles/VantilePrefs.bundle";

// A device root with the bundle as the build installs it, a stored theme, and the pane's root page on screen.
class Pane : public testing_support::TemporaryRoot {
public:
    Pane() : TemporaryRoot("banner-bench") {
        useAsDeviceRoot();
        const auto built = std::filesystem::path(VANTILE_BUILD_DIR) / "device" / std::string(kBundle).substr(1);
        const auto target = path() / std::string(kBundle).substr(1);
        std::filesystem::create_directories(target.parent_path());
        std::filesystem::copy(built, target, std::filesystem::copy_options::recursive);
        platform::runtime::enableClassGroup("Preferences");
        platform::recordClassOfBundle(objc_getClass("VNTPrimraryController"), NSBundle::bundleWithPath(kBundle));
        HBPreferences::preferencesForIdentifier(vantile::kDomain)->setBoolForKey(true, "toggleDefaultTheme");
    }
    ~Pane() {
        if (window) window->setRootViewController(nullptr);
        platform::resetRunLoop();
        platform::runtime::disableAllClassGroups();
        platform::flushBundleCaches();
    }
    void open() {
        root = cast<VNTPrimraryController>(platform::runtime::createInstance(objc_getClass("VNTPrimraryController")));
        root->setBundlePath(std::string(kBundle));
        root->init();
        window = alloc<UIWindow>();
        window->initWithFrame(CGRectMake(0, 0, 375, 667));
        auto navigation = alloc<UINavigationController>();
        navigation->initWithRootViewController(root);
        window->setRootViewController(navigation);
        window->makeKeyAndVisible();
        window->layoutIfNeeded();
    }
    Ref<VNTPrimraryController> root;
    Ref<UIWindow> window;
};

void BM_PaneScrollEvent(benchmark::State& state) {
    Pane pane;
    pane.open();
    auto table = pane.root->table();
    // Alternating offsets across the fades' range, so the icon and greeting change on most events.
    const CGFloat offsets[] = {-420, -370, -120, -65, -30, 40};
    std::size_t i = 0;
    for (auto _ : state) {
        table->setContentOffset(CGPointMake(0, offsets[i++ % std::size(offsets)]));
        pane.window->layoutIfNeeded();
    }
}
BENCHMARK(BM_PaneScrollEvent)->Unit(benchmark::kMicrosecond);

void BM_WheelComesToRest(benchmark::State& state) {
    Pane pane;
    auto card = alloc<VNTDatePickerController>();
    card->init();
    card->view();
    auto picker = VNTDatePickerController::datePicker();
    const long month = picker->monthComponent();
    long real = 0;
    for (auto _ : state) {
        real = (real + 1) % 12;
        const long row = picker->selectedRowInComponent(month) - picker->realSelectedRowInComponent(month) + real;
        picker->pickerViewDidSelectRowInComponent(picker, row, month);
    }
}
BENCHMARK(BM_WheelComesToRest)->Unit(benchmark::kMicrosecond);

// The one write a resting wheel makes, alone: a fresh preferences object storing the birthday string.
void BM_BirthdayPreferenceWriteAlone(benchmark::State& state) {
    Pane pane;
    const char* values[] = {"5Mar", "6Mar"};
    std::size_t i = 0;
    for (auto _ : state) {
        auto preferences = alloc<HBPreferences>();
        preferences->initWithIdentifier(vantile::kDomain);
        preferences->setObjectForKey(Value(values[i++ % 2]), vantile::key::userBirthdayDate);
    }
}
BENCHMARK(BM_BirthdayPreferenceWriteAlone)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
