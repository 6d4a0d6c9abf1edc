// The layout pass of a dashboard-like screen of about 200 views: 40 cards in a grid, each a frame-set container
// with a constrained base, icon, title and subtitle, as the card template builds them.

#include "platform/core/Runtime.h"
#include "platform/layout/LayoutEngine.h"
#include "platform/ui/NSLayoutConstraint.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UIView.h"

#include <benchmark/benchmark.h>

namespace {

class BenchWindow : public UIView {
    VT_OBJECT(BenchWindow, UIView)
public:
    bool isWindow() const override { return true; }
};

class BenchLabel : public UIView {
    VT_OBJECT(BenchLabel, UIView)
public:
    CGSize intrinsicContentSize() override { return {60, 17}; }
};

}  // namespace

VT_REGISTER_CLASS(BenchWindow)
VT_REGISTER_CLASS(BenchLabel)

namespace {

template <class V = UIView>
Ref<V> make(CGRect frame = CGRectZero) {
    auto v = alloc<V>();
    v->initWithFrame(frame);
    return v;
}

Ref<UIView> constrained(const Ref<UIView>& parent, Ref<UIView> v = nullptr) {
    if (!v) v = make();
    v->setTranslatesAutoresizingMaskIntoConstraints(false);
    parent->addSubview(v);
    return v;
}

struct Screen {
    Ref<BenchWindow> window;
    Ref<UIView> grid;
    Ref<NSLayoutConstraint> gridTop;
    std::size_t views = 0;
};

Screen buildScreen(int cards) {
    Screen s;
    CGRect bounds = UIScreen::mainScreen()->bounds();
    s.window = make<BenchWindow>(bounds);
    auto base = make(bounds);
    s.window->addSubview(base);
    s.grid = constrained(base);
    s.gridTop = s.grid->topAnchor().constraintEqualToAnchorConstant(base->topAnchor(), 50);
    NSLayoutConstraint::activateConstraints(
        {s.gridTop, s.grid->leadingAnchor().constraintEqualToAnchorConstant(base->leadingAnchor(), 5),
         s.grid->trailingAnchor().constraintEqualToAnchorConstant(base->trailingAnchor(), -5),
         s.grid->bottomAnchor().constraintEqualToAnchorConstant(base->bottomAnchor(), -40)});
    s.views = 3;
    CGFloat w = bounds.size.width * 0.5 - 10;
    for (int i = 0; i < cards; ++i) {
        CGRect cell = CGRectMake((i % 2) * (w + 10), (i / 2) * 130.0, w, 120);
        auto content = make(cell);
        s.grid->addSubview(content);
        auto container = make(content->bounds());
        content->addSubview(container);
        auto cellBase = constrained(container);
        NSLayoutConstraint::activateConstraints(
            {cellBase->topAnchor().constraintEqualToAnchor(container->topAnchor()),
             cellBase->leadingAnchor().constraintEqualToAnchor(container->leadingAnchor()),
             cellBase->trailingAnchor().constraintEqualToAnchor(container->trailingAnchor()),
             cellBase->bottomAnchor().constraintEqualToAnchor(container->bottomAnchor())});
        auto icon = constrained(cellBase);
        NSLayoutConstraint::activateConstraints(
            {icon->widthAnchor().constraintEqualToConstant(60), icon->heightAnchor().constraintEqualToConstant(60),
             icon->topAnchor().constraintEqualToAnchorConstant(cellBase->topAnchor(), 15),
             icon->centerXAnchor().constraintEqualToAnchor(cellBase->centerXAnchor())});
        auto title = constrained(cellBase, make<BenchLabel>());
        NSLayoutConstraint::activateConstraints(
            {title->topAnchor().constraintEqualToAnchorConstant(icon->bottomAnchor(), 7),
             title->leadingAnchor().constraintEqualToAnchorConstant(cellBase->leadingAnchor(), 5),
             title->trailingAnchor().constraintEqualToAnchorConstant(cellBase->trailingAnchor(), -5),
             title->centerXAnchor().constraintEqualToAnchor(cellBase->centerXAnchor())});
        auto subtitle = constrained(cellBase, make<BenchLabel>());
        NSLayoutConstraint::activateConstraints(
            {subtitle->topAnchor().constraintEqualToAnchorConstant(title->bottomAnchor(), 3),
             subtitle->widthAnchor().constraintEqualToConstant(40),
             subtitle->heightAnchor().constraintEqualToConstant(10),
             subtitle->centerXAnchor().constraintEqualToAnchor(cellBase->centerXAnchor())});
        s.views += 6;
    }
    return s;
}

// A full pass after a change that moves everything (the grid's top edge), as after a rotation or a reload.
void BM_LayoutPassDashboard(benchmark::State& state) {
    Screen s = buildScreen(static_cast<int>(state.range(0)));
    s.window->layoutIfNeeded();
    CGFloat top = 50;
    for (auto _ : state) {
        top = top == 50 ? 51 : 50;
        s.gridTop->setConstant(top);
        s.window->layoutIfNeeded();
        benchmark::DoNotOptimize(s.grid->frame());
    }
    state.counters["views"] = static_cast<double>(s.views);
    state.counters["variables"] = static_cast<double>(platform::layout::LayoutEngine::lastVariableCount());
}
BENCHMARK(BM_LayoutPassDashboard)->Arg(33)->Unit(benchmark::kMicrosecond);

// A pass with nothing to do: the cost every frame pays before drawing.
void BM_LayoutPassClean(benchmark::State& state) {
    Screen s = buildScreen(33);
    s.window->layoutIfNeeded();
    for (auto _ : state) {
        s.window->layoutIfNeeded();
        benchmark::DoNotOptimize(s.grid->frame());
    }
}
BENCHMARK(BM_LayoutPassClean)->Unit(benchmark::kMicrosecond);

// Building the screen and its first layout.
void BM_BuildAndLayoutDashboard(benchmark::State& state) {
    for (auto _ : state) {
        Screen s = buildScreen(33);
        s.window->layoutIfNeeded();
        benchmark::DoNotOptimize(s.grid->frame());
    }
}
BENCHMARK(BM_BuildAndLayoutDashboard)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
