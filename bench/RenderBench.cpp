// Full frames of a dashboard-like screen of about 200 views (40 cards of 5 views in a 4 × 10 grid on a notched
// phone, every card on screen): the layout pass plus the render, and the render alone, at 1× and at 3×.
// The target for layout + render at 1× is one 120 Hz frame, 8.3 ms.

#include "platform/harness/Renderer.h"
#include "platform/ui/UIScreen.h"
#include "tests/support/DashboardFixture.h"

#include <benchmark/benchmark.h>

namespace {

struct Screen {
    Ref<vantile::testing::TestWindow> window;
    std::size_t views = 0;
};

std::size_t countViews(const Ref<UIView>& v) {
    std::size_t n = 1;
    for (const auto& s : v->subviews()) n += countViews(s);
    return n;
}

Screen makeScreen() {
    UIScreen::setDeviceProfile("iphone-x");
    Screen s;
    s.window = vantile::testing::makeWindow(1);
    const char* symbols[] = {"gear", "timer", "person.crop.circle", "square.stack.fill", "smiley"};
    const char* titles[] = {"General", "Screen Time", "Passcode", "Tweaks", "Accessibility"};
    const CGFloat w = (375 - 25) / 4.0, h = 70;
    for (int i = 0; i < 40; ++i) {
        const CGRect frame{{5 + (i % 4) * (w + 5), 50 + (i / 4) * (h + 5)}, {w, h}};
        vantile::testing::addCard(s.window, frame, symbols[i % 5], titles[i % 5], i % 2 ? "3 installed" : "");
    }
    s.views = countViews(s.window);
    s.window->layoutIfNeeded();
    return s;
}

void forceLayout(const Ref<UIView>& window) {
    // A new generation makes the next pass solve every constraint again, as after a change of the tree.
    UIView::bumpLayoutGeneration();
    window->setNeedsLayout();
    window->layoutIfNeeded();
}

void BM_Layout(benchmark::State& state) {
    Screen s = makeScreen();
    for (auto _ : state) forceLayout(s.window);
    state.counters["views"] = static_cast<double>(s.views);
}

void BM_LayoutAndRender(benchmark::State& state) {
    Screen s = makeScreen();
    const double scale = static_cast<double>(state.range(0));
    Bitmap frame;  // one frame buffer, reused as a display reuses it
    for (auto _ : state) {
        forceLayout(s.window);
        platform::harness::renderViewInto(s.window, frame, {.scale = scale});
        benchmark::DoNotOptimize(frame.pixels.data());
    }
    state.counters["views"] = static_cast<double>(s.views);
}

void BM_Render(benchmark::State& state) {
    Screen s = makeScreen();
    const double scale = static_cast<double>(state.range(0));
    Bitmap frame;
    for (auto _ : state) {
        platform::harness::renderViewInto(s.window, frame, {.scale = scale});
        benchmark::DoNotOptimize(frame.pixels.data());
    }
    state.counters["views"] = static_cast<double>(s.views);
}

}  // namespace

BENCHMARK(BM_Layout)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LayoutAndRender)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Render)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
