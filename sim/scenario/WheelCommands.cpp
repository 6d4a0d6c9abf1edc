// The wheel group: what a finger does to the wheels of a picker and to a list it pulls, always through the touch
// driver, so a wheel comes to rest and tells its delegate as it does under a person's thumb.

#include "sim/scenario/WheelCommands.h"

#include "sim/scenario/ScenarioCommand.h"
#include "sim/scenario/ScenarioErrors.h"
#include "sim/scenario/ScenarioSession.h"
#include "sim/scenario/ScenarioValues.h"
#include "sim/scenario/ViewFinder.h"

#include "platform/core/Runtime.h"
#include "platform/harness/TouchDriver.h"
#include "platform/ui/UIPickerView.h"
#include "platform/ui/UIScrollView.h"
#include "platform/ui/UIWindow.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>

namespace sim::scenario {

namespace {

// A slow turn: the finger moves a row at a time and stops before it lifts, so the wheel rests where it was taken.
constexpr double kStepSeconds = 0.05;
// How far `pick` looks for a title from the row in the band, each way.
constexpr long kPickReach = 400;

Ref<UIPickerView> frontPicker(ScenarioSession& s) {
    auto found = findFrontmostOfClass(s.requireWindow(), "UIPickerView");
    if (!found) throw StepError("no wheel picker is on screen");
    return cast<UIPickerView>(found->view);
}

long columnOf(const Ref<UIPickerView>& picker, const std::string& word) {
    auto column = parseInteger(word);
    if (!column || *column < 0 || *column >= picker->numberOfComponents())
        throw StepError("wants a column from 0 to " + std::to_string(picker->numberOfComponents() - 1) + ", not " +
                        inQuotes(word));
    return static_cast<long>(*column);
}

// The wheel's centre in window coordinates.
CGPoint wheelCentre(const Ref<UIPickerView>& picker, long column, const Ref<UIWindow>& window) {
    const CGRect f = picker->frameForComponent(column);
    return picker->convertPointToView(CGPointMake(f.midX(), f.midY()), window);
}

// What the row shows: its view's text, or the delegate's title when the row is off screen.
std::optional<std::string> rowTitle(const Ref<UIPickerView>& picker, long row, long column) {
    if (auto view = picker->viewForRowForComponent(row, column))
        if (auto text = shownText(view)) return text;
    auto d = picker->delegate();
    if (d && d->respondsToSelector(sel("pickerView:titleForRow:forComponent:")))
        return platform::msgSend<std::string, Ref<UIPickerView>, long, long>(
            d.get(), sel("pickerView:titleForRow:forComponent:"), picker, row, column);
    return std::nullopt;
}

// A finger turns the wheel by `rows` (positive: later rows come into the band) and lets go without a flick, then
// the clock runs until the wheel rests.
void turn(ScenarioSession& s, const Ref<UIPickerView>& picker, long column, long rows) {
    auto window = s.requireWindow();
    const CGPoint start = wheelCentre(picker, column, window);
    const CGFloat rowHeight = picker->rowSizeForComponent(column).height;
    platform::TouchDriver finger(window);
    finger.down(start);
    const long steps = std::max(1L, std::abs(rows));
    for (long i = 1; i <= steps; ++i) {
        finger.wait(kStepSeconds);
        const CGFloat moved = rowHeight * static_cast<CGFloat>(rows) * static_cast<CGFloat>(i) / static_cast<CGFloat>(steps);
        finger.move(CGPointMake(start.x, start.y - moved), CGPointMake(0, 0));
    }
    finger.up();
    s.phone().advance(UIPickerView::kMaxGlideSeconds + 0.1);
}

void cmdSpin(ScenarioSession& s, const Step& step) {
    auto picker = frontPicker(s);
    const long column = columnOf(picker, step.words[1]);
    auto rows = parseInteger(step.words[2]);
    if (!rows || std::abs(*rows) > kPickReach)
        throw StepError("wants a number of rows from -" + std::to_string(kPickReach) + " to " +
                        std::to_string(kPickReach) + ", not " + inQuotes(step.words[2]));
    turn(s, picker, column, static_cast<long>(*rows));
}

void cmdFlick(ScenarioSession& s, const Step& step) {
    auto picker = frontPicker(s);
    const long column = columnOf(picker, step.words[1]);
    auto speed = parseNumber(step.words[2]);
    if (!speed || !std::isfinite(*speed) || std::abs(*speed) > 20000)
        throw StepError("wants a speed in points per second up to 20000, not " + inQuotes(step.words[2]));
    auto window = s.requireWindow();
    const CGPoint start = wheelCentre(picker, column, window);
    // A short, fast stroke released at that speed: upwards for a positive speed, bringing later rows.
    const CGFloat direction = *speed >= 0 ? -1 : 1;
    std::vector<CGPoint> path;
    for (int i = 0; i <= 4; ++i) path.push_back(CGPointMake(start.x, start.y + direction * 10 * i));
    platform::TouchDriver(window).drag(path, 0.08, CGPointMake(0, direction * std::abs(*speed)));
    s.phone().advance(UIPickerView::kMaxGlideSeconds + 0.1);
}

void cmdPick(ScenarioSession& s, const Step& step) {
    auto picker = frontPicker(s);
    const std::string& title = step.words[1];
    // The nearest row with that title, in any column, the shorter way round.
    std::optional<std::pair<long, long>> best;
    for (long column = 0; column < picker->numberOfComponents(); ++column) {
        const long here = picker->selectedRowInComponent(column);
        if (here < 0) continue;
        for (long distance = 0; distance <= kPickReach; ++distance) {
            bool found = false;
            for (long sign : {1L, -1L}) {
                const long row = here + sign * distance;
                if (row < 0 || row >= picker->numberOfRowsInComponent(column)) continue;
                if (rowTitle(picker, row, column) == title) {
                    if (!best || distance < std::abs(best->second)) best = std::make_pair(column, sign * distance);
                    found = true;
                    break;
                }
            }
            if (found) break;
        }
    }
    if (!best) throw StepError("no wheel on screen has a row " + inQuotes(title));
    if (best->second != 0) turn(s, picker, best->first, best->second);
}

// The list's finger: drags the front-most scrolling view by DY points (positive pulls the content down, as a
// thumb moving down the screen does) and keeps holding it until `lift`.
std::unique_ptr<platform::TouchDriver>& heldFinger() {
    static auto* finger = new std::unique_ptr<platform::TouchDriver>();
    return *finger;
}

void cmdPull(ScenarioSession& s, const Step& step) {
    auto dy = parseNumber(step.words[1]);
    if (!dy || !std::isfinite(*dy) || std::abs(*dy) > 2000)
        throw StepError("wants a number of points up to 2000, not " + inQuotes(step.words[1]));
    auto window = s.requireWindow();
    // The list is the outermost scrolling view in front: a grid or a wheel inside a row scrolls on its own.
    Ref<UIScrollView> scroller;
    auto views = visibleViews(window);
    for (auto it = views.rbegin(); it != views.rend() && !scroller; ++it) {
        auto v = cast<UIScrollView>(it->view);
        if (!v || !v->isScrollEnabled()) continue;
        bool nested = false;
        for (auto up = v->superview(); up && !nested; up = up->superview()) nested = cast<UIScrollView>(up) != nullptr;
        if (!nested) scroller = v;
    }
    if (!scroller) throw StepError("nothing on screen scrolls");
    if (heldFinger() && heldFinger()->isTouching()) heldFinger()->up();
    const CGRect shown = scroller->convertRectToView(scroller->bounds(), window);
    const CGFloat x = shown.midX();
    // The finger goes down on a part of the list that no inner scrolling view or control takes: the first such
    // point from the bottom up for a pull down, from the top down for a push up, leaving room for the stroke.
    auto ownsTouchAt = [&](CGFloat y) {
        auto hit = window->hitTest(CGPointMake(x, y));
        Ref<UIScrollView> nearest;
        for (auto v = hit; v && !nearest; v = v->superview()) nearest = cast<UIScrollView>(v);
        return nearest == scroller;
    };
    const CGFloat room = static_cast<CGFloat>(std::abs(*dy)) + UIScrollView::kPanThreshold + 4;
    std::optional<CGFloat> start;
    if (*dy >= 0) {
        for (CGFloat y = shown.maxY() - room; y >= shown.minY() && !start; y -= 8)
            if (ownsTouchAt(y)) start = y;
    } else {
        for (CGFloat y = shown.minY() + room; y <= shown.maxY() && !start; y += 8)
            if (ownsTouchAt(y)) start = y;
    }
    if (!start) throw StepError("the list on screen has no free place to hold for a stroke of " + step.words[1] + " points");
    const CGFloat from = *start;
    heldFinger() = std::make_unique<platform::TouchDriver>(window);
    heldFinger()->down(CGPointMake(x, from));
    // Past the pan threshold first, so the whole distance moves the list.
    const CGFloat sign = *dy >= 0 ? 1 : -1;
    const int steps = 12;
    for (int i = 1; i <= steps; ++i) {
        heldFinger()->wait(0.05);
        const CGFloat moved = sign * UIScrollView::kPanThreshold + static_cast<CGFloat>(*dy) * i / steps;
        heldFinger()->move(CGPointMake(x, from + moved), CGPointMake(0, 0));
    }
}

void cmdLift(ScenarioSession& s, const Step&) {
    s.requireWindow();
    if (!heldFinger() || !heldFinger()->isTouching()) throw StepError("no finger is held on the screen (pull first)");
    heldFinger()->up();
    heldFinger().reset();
}

}  // namespace

void expectWheel(ScenarioSession& s, const Step& step) {
    auto picker = frontPicker(s);
    const long column = columnOf(picker, step.words[2]);
    const long row = picker->selectedRowInComponent(column);
    const std::string shown = row < 0 ? std::string("(no rows)") : rowTitle(picker, row, column).value_or("");
    if (shown != step.words[3])
        throw ExpectationFailed("wheel " + step.words[2], inQuotes(step.words[3]), inQuotes(shown));
}

const std::vector<ScenarioCommand>& wheelCommands() {
    static const std::vector<ScenarioCommand> kRows = {
        {{"spin", "COLUMN ROWS", "turn column COLUMN (0 is the leftmost) of the front-most wheel picker by ROWS rows with a finger (positive: later rows), let it rest"}, 2, 2, cmdSpin},
        {{"flick", "COLUMN SPEED", "flick that column at SPEED points per second (positive: later rows) and let it glide to rest"}, 2, 2, cmdFlick},
        {{"pick", "\"TITLE\"", "turn the wheel that has a row TITLE nearest the band (the shorter way) until that row rests in the band"}, 1, 1, cmdPick},
        {{"pull", "DY", "hold a finger on the front-most list and drag it DY points (positive: pulls the content down), holding until lift"}, 1, 1, cmdPull},
        {{"lift", "", "lift the finger that pull holds; the list springs back as it does"}, 0, 0, cmdLift},
    };
    return kRows;
}

}  // namespace sim::scenario
