#pragma once

// Screens for renderer tests, snapshots and benchmarks: a window standing in for the device's (the window class
// of the toolkit is not needed to draw) and a dashboard-like grid of category cards built as the cards build
// themselves — a rounded clipping tile, a coloured base filling it by constraints, a 60-point icon, a bold title of
// up to two lines and a small subtitle.

#include "platform/ui/UIView.h"

#include <string>
#include <vector>

class UIImageView;
class UILabel;

namespace vantile::testing {

// A root view that answers isWindow(), so the renderer adds the status bar and home indicator.
class TestWindow : public UIView {
public:
    bool isWindow() const override { return true; }
};

struct CardViews {
    Ref<UIView> container, base;
    Ref<UIImageView> icon;
    Ref<UILabel> title, subtitle;
};

// A window of the main screen's size with the light grey (or black, dark) page colour.
Ref<TestWindow> makeWindow(long style = 1);
// The dashboard as the root page makes it: "VantileBaseView" created by name with the main screen's bounds, which
// builds its hint and grid. The class is the tweak's, so only programs holding the tweak's code can call this.
Ref<UIView> makeDashboardView();
// One card of `frame` inside `parent`, with a system symbol icon and the given texts.
CardViews addCard(const Ref<UIView>& parent, CGRect frame, const std::string& symbol, const std::string& title,
                  const std::string& subtitle = "");
// `count` cards two to a row from y = 50, item width = screen width × 0.5 − 10, height 120, spacing 10 — the
// dashboard grid's geometry — each with 5 views. Titles cycle through the Settings categories.
std::vector<CardViews> addCardGrid(const Ref<UIView>& parent, int count);

}  // namespace vantile::testing
