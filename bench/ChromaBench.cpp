// The colour picker's two hot paths, each beside the work it cannot avoid, in the same run:
//
//  - One pan event on the saturation/brightness square, from the touch to the stored and announced colour with
//    every colour row's preview refreshed (four rows on the page), beside the two preference writes alone (the
//    domain's plist file read, changed and written, then CFPreferencesSetAppValue). Target: at most 1.5 × the writes.
//  - The square's image for a new hue, through the picker's own setHue (the codec's kernel and the image the image
//    view shows), beside a 256 KB malloc + memset + free. Target: at most 4 × the memset.
#include "prefs/cells/ChromaPickerView.h"
#include "prefs/cells/VNTChromaCell.h"
#include "prefs/cells/VNTChromaViewController.h"

#include "platform/core/CFPreferences.h"
#include "platform/core/DictionaryFile.h"
#include "platform/core/RunLoop.h"
#include "platform/core/Runtime.h"
#include "platform/harness/TouchDriver.h"
#include "platform/host/PSSpecifier.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UIViewController.h"
#include "platform/ui/UIWindow.h"
#include "tests/support/TemporaryRoot.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>

namespace {

constexpr const char* kDomain = "com.Zorvanic.VantilePrefs";
constexpr const char* kFile = "/var/mobile/Library/Preferences/com.Zorvanic.VantilePrefs.plist";
constexpr const char* kKeys[] = {"vantileCellsChroma", "vantileCellsFontChroma", "vantileStatusONChroma",
                                 "vantileStatusOFFChroma"};
constexpr std::size_t kSquareBytes = 256 * 256 * 4;

struct Picker {
    testing_support::TemporaryRoot root{"chroma-bench"};
    Ref<UIWindow> window;
    std::vector<Ref<PSTableCell>> rows;
    Ref<VNTChromaViewController> picker;

    Picker() {
        root.useAsDeviceRoot();
        platform::runtime::enableClassGroup("Preferences");
        // A domain with its file, as a user who has stored colours has it.
        Value::Dictionary domain{{"toggleDefaultTheme", Value(true)}, {"toggleHaptics", Value(true)}};
        for (const char* key : kKeys) domain[key] = Value("336699FF");
        platform::writeDictionaryToFile(kFile, domain);

        window = alloc<UIWindow>();
        window->initWithFrame(UIScreen::mainScreen()->bounds());
        auto page = alloc<UIViewController>();
        page->init();
        window->setRootViewController(page);
        window->makeKeyAndVisible();
        for (const char* key : kKeys) {
            auto s = PSSpecifier::preferenceSpecifierNamedTargetSetGetDetailCellEdit(
                "", nullptr, nullptr, nullptr, nullptr, PSSpecifier::PSButtonCell, nullptr);
            s->setPropertyForKey(Property(std::string(key)), "key");
            s->setPropertyForKey(Property(std::string(kDomain)), "defaults");
            s->setPropertyForKey(Property(std::string("FFFFFF")), "default");
            s->setPropertyForKey(Property(std::string("com.Zorvanic.VantilePrefs/settingschanged")), "PostNotification");
            auto row = alloc<VNTChromaCell>();
            row->initWithStyleReuseIdentifierSpecifier(UITableViewCellStyleDefault, "VNTChromaCell", s);
            page->view()->addSubview(row);
            rows.push_back(row);
        }
        PSSpecifier::Properties properties = rows[0]->specifier()->properties();
        picker = alloc<VNTChromaViewController>();
        picker->initWithProperties(properties);
        picker->setModalPresentationStyle(UIModalPresentationOverCurrentContext);
        page->presentViewControllerAnimatedCompletion(picker, false);
        platform::RunLoop::main().advance(1);
        window->layoutIfNeeded();
    }
    ~Picker() {
        window->setRootViewController(nullptr);
        platform::runtime::disableAllClassGroups();
    }
};

Picker& picker() {
    static std::unique_ptr<Picker> p;
    if (!p) p = std::make_unique<Picker>();
    return *p;
}

CGPoint inWindow(const Ref<UIView>& view, CGFloat x, CGFloat y, const Ref<UIView>& window) {
    return view->convertPointToView(CGPointMake(x, y), window);
}

void PanEventOnTheSquare(benchmark::State& state) {
    auto& p = picker();
    auto square = p.picker->pickerView();
    platform::TouchDriver finger(p.window);
    finger.down(inWindow(square, 100, 100, p.window));
    finger.move(inWindow(square, 120, 120, p.window));
    long i = 0;
    for (auto _ : state) {
        // Every move lands on another point, so every event stores a new colour.
        const CGFloat x = 20 + static_cast<CGFloat>(i % 190);
        finger.move(inWindow(square, x, 230 - x, p.window));
        ++i;
    }
    finger.up();
    benchmark::DoNotOptimize(CFPreferencesCopyAppValue(kKeys[0], kDomain));
}
BENCHMARK(PanEventOnTheSquare);

void TheTwoPreferenceWritesAlone(benchmark::State& state) {
    picker();
    long i = 0;
    char text[16];
    for (auto _ : state) {
        std::snprintf(text, sizeof text, "%06lXFF", (i++ * 0x010203) & 0xFFFFFF);
        auto file = platform::dictionaryWithContentsOfFile(kFile);
        if (file) {
            (*file)[kKeys[0]] = Value(text);
            platform::writeDictionaryToFile(std::string("file://") + kFile, *file);
        }
        CFPreferencesSetAppValue(kKeys[0], Value(text), kDomain);
    }
}
BENCHMARK(TheTwoPreferenceWritesAlone);

void SquareImageForANewHue(benchmark::State& state) {
    auto square = picker().picker->pickerView();
    long i = 0;
    for (auto _ : state) {
        square->setHue(static_cast<float>(i++ % 359 + 1) / 360);
        benchmark::DoNotOptimize(square->imageView()->image());
    }
}
BENCHMARK(SquareImageForANewHue);

void MemsetSquareSizedBuffer(benchmark::State& state) {
    for (auto _ : state) {
        void* buffer = std::malloc(kSquareBytes);
        std::memset(buffer, static_cast<int>(state.iterations() & 0xFF), kSquareBytes);
        benchmark::DoNotOptimize(buffer);
        benchmark::ClobberMemory();
        std::free(buffer);
    }
}
BENCHMARK(MemsetSquareSizedBuffer);

}  // namespace

BENCHMARK_MAIN();
