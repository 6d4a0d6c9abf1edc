// The drawer group: what a person does with the pane's slide-out drawer (drag its handle, flick it, tap its strip,
// choose a segment by its title), and how a scenario makes the device's program starts fail.

#include "sim/scenario/ScenarioCommand.h"
#include "sim/scenario/ScenarioErrors.h"
#include "sim/scenario/ScenarioSession.h"
#include "sim/scenario/ScenarioValues.h"
#include "sim/scenario/ViewFinder.h"

#include "platform/core/Runtime.h"
#include "platform/harness/TouchDriver.h"
#include "platform/system/ProcessSpawn.h"
#include "platform/ui/UISegmentedControl.h"
#include "platform/ui/UIWindow.h"

#include <algorithm>
#include <cmath>

namespace sim::scenario {

namespace {

// The drawer's handle is the strip along its left edge.
constexpr CGFloat kHandleWidth = 30;
constexpr double kDrawerDragSeconds = 0.6;
constexpr int kDrawerDragSteps = 12;
// A flick: a short, fast stroke.
constexpr CGFloat kFlickDistance = 60;
constexpr double kFlickSeconds = 0.1;
constexpr int kFlickSteps = 4;
constexpr CGFloat kFlickSpeed = 1500;

// The drawer on the window: the front-most view of the drawer frame's class among the window's own subviews,
// since the pane puts it there. Found by the run-time's class name: its code is the bundle's.
Ref<UIView> drawerOn(const Ref<UIWindow>& window) {
    const Class drawerClass = objc_getClass("VNTDrawerFrameView");
    if (!drawerClass) throw StepError("no drawer: the pane's bundle is not loaded (open the pane first)");
    const auto& subviews = window->subviews();
    for (auto it = subviews.rbegin(); it != subviews.rend(); ++it)
        if ((*it)->isKindOfClass(drawerClass) && !(*it)->isHidden()) return *it;
    throw StepError("no drawer is on screen (it is on the pane's root page)");
}

// Where a finger takes the handle: the middle of its part on screen, at the pill's height.
CGPoint handlePoint(const Ref<UIWindow>& window, const Ref<UIView>& drawer) {
    const CGRect handle = drawer->convertRectToView(CGRectMake(0, 0, kHandleWidth, drawer->bounds().height()), window);
    const CGFloat left = std::max(handle.minX(), window->bounds().minX());
    const CGFloat right = std::min(handle.maxX(), window->bounds().maxX());
    if (right <= left) throw StepError("the drawer's handle is off screen");
    return CGPointMake((left + right) / 2, handle.midY());
}

std::vector<CGPoint> straightPath(CGPoint from, CGFloat dx, int steps) {
    std::vector<CGPoint> path;
    for (int i = 0; i <= steps; ++i) path.push_back(CGPointMake(from.x + dx * i / steps, from.y));
    return path;
}

CGFloat number(const std::string& text, const char* what) {
    auto value = parseNumber(text);
    if (!value || !std::isfinite(*value)) throw StepError(std::string("wants ") + what + ", not " + inQuotes(text));
    return *value;
}

void cmdDragDrawer(ScenarioSession& s, const Step& step) {
    auto window = s.requireWindow();
    const CGFloat dx = number(step.words[1], "a distance in points");
    const CGFloat velocity = step.words.size() > 2 ? number(step.words[2], "a velocity in points per second") : 0;
    const CGPoint from = handlePoint(window, drawerOn(window));
    platform::TouchDriver(window).drag(straightPath(from, dx, kDrawerDragSteps), kDrawerDragSeconds, CGPointMake(velocity, 0));
}

void cmdCancelDrawerDrag(ScenarioSession& s, const Step& step) {
    auto window = s.requireWindow();
    const CGFloat dx = number(step.words[1], "a distance in points");
    const CGPoint from = handlePoint(window, drawerOn(window));
    platform::TouchDriver(window).dragAndCancel(straightPath(from, dx, kDrawerDragSteps), kDrawerDragSeconds);
}

void cmdFlickDrawer(ScenarioSession& s, const Step& step) {
    const std::string& direction = step.words[1];
    if (direction != "left" && direction != "right") throw StepError("wants left or right, not " + inQuotes(direction));
    auto window = s.requireWindow();
    const CGFloat sign = direction == "left" ? -1 : 1;
    const CGPoint from = handlePoint(window, drawerOn(window));
    platform::TouchDriver(window).drag(straightPath(from, sign * kFlickDistance, kFlickSteps), kFlickSeconds,
                                       CGPointMake(sign * kFlickSpeed, 0));
}

void cmdTapDrawer(ScenarioSession& s, const Step&) {
    auto window = s.requireWindow();
    platform::TouchDriver(window).tap(handlePoint(window, drawerOn(window)));
}

// A finger on the segment of that title, of the front-most visible segmented control that has one.
void cmdSegment(ScenarioSession& s, const Step& step) {
    auto window = s.requireWindow();
    const std::string& title = step.words[1];
    auto views = visibleViews(window);
    for (auto it = views.rbegin(); it != views.rend(); ++it) {
        auto control = cast<UISegmentedControl>(it->view);
        if (!control) continue;
        for (long i = 0; i < control->numberOfSegments(); ++i) {
            if (control->titleForSegmentAtIndex(i) != title) continue;
            const CGRect segment = control->convertRectToView(control->frameOfSegment(i), window);
            platform::TouchDriver(window).tap(CGPointMake(segment.midX(), segment.midY()));
            return;
        }
    }
    throw StepError("no segmented control on screen has a segment " + inQuotes(title) + "; on screen: " +
                    joined(visibleTexts(window)));
}

void cmdSpawnFails(ScenarioSession& s, const Step& step) {
    s.phone().setSpawnFailure(onOff(step, 1) ? platform::posix::kEAGAIN : 0);
}

}  // namespace

const std::vector<ScenarioCommand>& drawerCommands() {
    static const std::vector<ScenarioCommand> kRows = {
        {{"drag-drawer", "DX [VELOCITY]", "drag the drawer's handle DX points across (negative: to the left, which opens it) and let go moving at VELOCITY points per second across (default 0, at rest)"}, 1, 2, cmdDragDrawer},
        {{"flick-drawer", "left|right", "a short fast stroke on the drawer's handle: left opens, right closes"}, 1, 1, cmdFlickDrawer},
        {{"cancel-drawer-drag", "DX", "drag the drawer's handle DX points across, then the system cancels the touch (an incoming call): the drawer stays where it was left"}, 1, 1, cmdCancelDrawerDrag},
        {{"tap-drawer", "", "tap the drawer's strip on the screen's right edge (or its handle when open): it opens or closes"}, 0, 0, cmdTapDrawer},
        {{"segment", "\"TITLE\"", "tap the segment of that title in the front-most segmented control that has one (the drawer's Social, Settings, Themes)"}, 1, 1, cmdSegment},
        {{"spawn-fails", "on|off", "every program start the device is asked for fails (on) or succeeds again (off)"}, 1, 1, cmdSpawnFails, true},
    };
    return kRows;
}

}  // namespace sim::scenario
