// The touch group: what a finger does on the screen, through the platform's touch driver and hit-testing, and
// `wait`, the only other command that moves the virtual clock.

#include "sim/scenario/ScenarioCommand.h"
#include "sim/scenario/ScenarioErrors.h"
#include "sim/scenario/ScenarioSession.h"
#include "sim/scenario/ScenarioValues.h"
#include "sim/scenario/ViewFinder.h"

#include "platform/ui/NSIndexPath.h"
#include "platform/harness/TouchDriver.h"
#include "platform/ui/UINavigationBar.h"
#include "platform/ui/UIScrollView.h"
#include "platform/ui/UISlider.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UITableViewCell.h"
#include "platform/ui/UITextField.h"
#include "platform/ui/UITextView.h"
#include "platform/ui/UIWindow.h"

#include <algorithm>
#include <cmath>

namespace sim::scenario {

namespace {

// A drag lasts long enough for the grid's and the table's animations to be seen moving, in enough steps that a
// recogniser sees a gesture rather than a jump.
constexpr double kDragSeconds = 0.6;
constexpr int kDragSteps = 12;

std::vector<CGPoint> straightPath(CGPoint from, CGPoint to) {
    std::vector<CGPoint> path;
    for (int i = 0; i <= kDragSteps; ++i) {
        double t = static_cast<double>(i) / kDragSteps;
        path.push_back(CGPointMake(from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t));
    }
    return path;
}

void cmdTap(ScenarioSession& s, const Step& step) {
    CGPoint point = s.targetPoint(step.words[1]);
    platform::TouchDriver(s.requireWindow()).tap(point);
}

void cmdDrag(ScenarioSession& s, const Step& step) {
    CGPoint from = s.targetPoint(step.words[1]);
    CGPoint to = s.targetPoint(step.words[2]);
    platform::TouchDriver(s.requireWindow()).drag(straightPath(from, to), kDragSeconds, CGPointMake(0, 0));
}

void cmdReorder(ScenarioSession& s, const Step& step) {
    auto window = s.requireWindow();
    const std::string& title = step.words[1];
    const std::string& sectionName = step.words[2];
    if (sectionName != "selected" && sectionName != "available")
        throw StepError("wants selected or available, not " + inQuotes(sectionName));
    long section = sectionName == "selected" ? 0 : 1;
    auto index = parseInteger(step.words[3]);
    if (!index || *index < 0) throw StepError("wants a position from 0, not " + inQuotes(step.words[3]));

    auto visibleTable = findFrontmostOfClass(window, "UITableView");
    auto table = visibleTable ? cast<UITableView>(visibleTable->view) : nullptr;
    if (!table) throw StepError("no table is on screen (open the card editor first)");
    if (table->numberOfSections() <= section) throw StepError("the table on screen has no " + sectionName + " section");

    // The row of that card among the rows on screen; when it is not there, the table is scrolled through from the
    // top, as the user would look for it.
    auto rowOnScreen = [&]() -> Ref<UITableViewCell> {
        auto shown = visibleViews(window);
        for (const auto& c : table->visibleCells())
            for (const auto& v : shown)
                if (v.view->isDescendantOfView(c) && shownText(v.view) == title) return c;
        return nullptr;
    };
    Ref<UITableViewCell> cell = rowOnScreen();
    if (!cell && table->isScrollEnabled()) {
        const CGPoint start = table->contentOffset();
        const CGFloat lo = table->minimumContentOffset().y, hi = table->maximumContentOffset().y;
        const CGFloat page = std::max<CGFloat>(table->bounds().height() * 0.75, 44);
        for (CGFloat y = lo; !cell; y = std::min(y + page, hi)) {
            table->setContentOffset(CGPointMake(start.x, y));
            window->layoutIfNeeded();
            cell = rowOnScreen();
            if (y >= hi) break;
        }
        if (!cell) table->setContentOffset(start);
    }
    if (!cell) throw StepError("the table has no row " + inQuotes(title) + " on screen or further along");
    // The handle is grabbed at the row's middle, so a row cut by the table's edge is scrolled fully into view.
    CGRect shownPart = table->bounds();
    if (table->isScrollEnabled() && (cell->frame().minY() < shownPart.minY() || cell->frame().maxY() > shownPart.maxY())) {
        CGFloat lo = table->minimumContentOffset().y, hi = std::max(lo, table->maximumContentOffset().y);
        table->setContentOffset(
            CGPointMake(shownPart.origin.x, std::clamp(cell->frame().midY() - shownPart.height() / 2, lo, hi)));
        window->layoutIfNeeded();
    }
    auto sourcePath = table->indexPathForRowAtPoint(CGPointMake(cell->frame().midX(), cell->frame().midY()));
    auto handle = cell->reorderControl();
    if (!sourcePath || !handle) throw StepError("the row " + inQuotes(title) + " cannot be dragged (no reorder handle)");

    // The slot to drop into, as the table measures it: the top of the row that will follow, or the end of the
    // section, with the dragged row itself left out. Grabbing the handle at the row's middle puts the row's centre
    // under the finger, so releasing on the slot drops it there.
    std::vector<long> rows;
    for (long r = 0; r < table->numberOfRowsInSection(section); ++r)
        if (!(section == sourcePath->section && r == sourcePath->row)) rows.push_back(r);
    if (*index > static_cast<long long>(rows.size()))
        throw StepError("position " + std::to_string(*index) + " is past the end of " + sectionName + " (" +
                        std::to_string(rows.size()) + " other rows)");
    CGFloat slotY;
    if (*index < static_cast<long long>(rows.size()))
        slotY = table->rectForRowAtIndexPath({section, rows[static_cast<std::size_t>(*index)]}).minY();
    else if (!rows.empty())
        slotY = table->rectForRowAtIndexPath({section, rows.back()}).maxY();
    else
        slotY = table->rectForHeaderInSection(section).maxY();

    CGRect handleRect = handle->convertRectToView(handle->bounds(), window);
    CGPoint from = CGPointMake(handleRect.midX(), cell->convertPointToView(CGPointMake(0, cell->bounds().height() / 2), window).y);
    platform::TouchDriver finger(window);
    finger.down(from);
    // A slot off screen is brought into view while the row is held, as the table scrolls under a finger that
    // waits at its edge; the row then travels the rest of the way on screen.
    CGRect visible = table->bounds();
    if (slotY < visible.minY() || slotY > visible.maxY()) {
        CGFloat lo = table->minimumContentOffset().y, hi = std::max(lo, table->maximumContentOffset().y);
        table->setContentOffset(CGPointMake(visible.origin.x, std::clamp(slotY - visible.height() / 2, lo, hi)));
        finger.wait(kDragSeconds / 2);
    }
    CGPoint to = table->convertPointToView(CGPointMake(0, slotY), window);
    to.x = from.x;
    auto path = straightPath(from, to);
    for (std::size_t i = 1; i < path.size(); ++i) {
        finger.wait(kDragSeconds / kDragSteps);
        finger.move(path[i], CGPointMake(0, 0));
    }
    finger.up();
}

// `scroll DY` moves down the content, `scroll DX DY` across and down: a grid that flows sideways scrolls with
// `scroll 300 0`.
void cmdScroll(ScenarioSession& s, const Step& step) {
    const bool across = step.words.size() == 3;
    auto dx = across ? parseNumber(step.words[1]) : std::optional<double>(0);
    auto dy = parseNumber(step.words.back());
    if (!dx) throw StepError("wants a number of points, not " + inQuotes(step.words[1]));
    if (!dy) throw StepError("wants a number of points, not " + inQuotes(step.words.back()));
    auto window = s.requireWindow();
    Ref<UIScrollView> scroller;
    auto views = visibleViews(window);
    for (auto it = views.rbegin(); it != views.rend() && !scroller; ++it)
        if (auto v = cast<UIScrollView>(it->view); v && v->isScrollEnabled()) scroller = v;
    if (!scroller) throw StepError("nothing on screen scrolls");
    CGPoint offset = scroller->contentOffset();
    CGPoint lo = scroller->minimumContentOffset(), hi = scroller->maximumContentOffset();
    offset.x = std::clamp(offset.x + *dx, lo.x, std::max(lo.x, hi.x));
    offset.y = std::clamp(offset.y + *dy, lo.y, std::max(lo.y, hi.y));
    scroller->setContentOffset(offset);
}

// The keyboard: what is typed goes to the first responder, as the device's keyboard sends it.
void cmdType(ScenarioSession& s, const Step& step) {
    s.requireWindow();
    auto responder = UIResponder::currentFirstResponder();
    if (auto field = cast<UITextField>(responder)) {
        field->insertText(step.words[1]);
        return;
    }
    if (auto textView = cast<UITextView>(responder)) {
        textView->insertText(step.words[1]);
        return;
    }
    throw StepError("nothing takes typing: no text field or editable text view is being edited (tap one first)");
}

void cmdReturn(ScenarioSession& s, const Step&) {
    s.requireWindow();
    auto responder = UIResponder::currentFirstResponder();
    if (auto field = cast<UITextField>(responder)) {
        field->pressReturn();
        return;
    }
    if (auto textView = cast<UITextView>(responder)) {
        textView->insertText("\n");
        return;
    }
    throw StepError("nothing takes the return key: no text field or editable text view is being edited");
}

// The slider that belongs to a target (its row's title, or the slider's own value text).
Ref<UISlider> sliderFor(ScenarioSession& s, const std::string& target) {
    auto window = s.requireWindow();
    auto found = findControlFor(window, target, "UISlider");
    if (!found) throw StepError("no slider on screen belongs to " + inQuotes(target) + "; on screen: " +
                                joined(visibleTexts(window)));
    return cast<UISlider>(found->view);
}

// A finger drags the thumb to where the value lies on the track, as a person moves a slider.
void cmdSlide(ScenarioSession& s, const Step& step) {
    auto slider = sliderFor(s, step.words[1]);
    auto value = parseNumber(step.words[2]);
    if (!value || !std::isfinite(*value)) throw StepError("wants a number, not " + inQuotes(step.words[2]));
    if (*value < slider->minimumValue() || *value > slider->maximumValue())
        throw StepError(step.words[2] + " is outside the slider's range " +
                        std::to_string(slider->minimumValue()) + " to " + std::to_string(slider->maximumValue()));
    auto window = s.requireWindow();
    const CGFloat radius = UISlider::kThumbSize / 2;
    const CGFloat span = std::max<CGFloat>(0, slider->bounds().width() - 2 * radius);
    const double range = slider->maximumValue() - slider->minimumValue();
    const double fraction = range > 0 ? (*value - slider->minimumValue()) / range : 0;
    const CGPoint from = slider->convertPointToView(slider->thumbCenter(), window);
    const CGPoint to =
        slider->convertPointToView(CGPointMake(radius + span * fraction, slider->bounds().height() / 2), window);
    platform::TouchDriver(window).drag(straightPath(from, to), kDragSeconds, CGPointMake(0, 0));
}

void cmdToggle(ScenarioSession& s, const Step& step) {
    auto window = s.requireWindow();
    auto found = findControlFor(window, step.words[1], "UISwitch");
    if (!found) throw StepError("no switch on screen belongs to " + inQuotes(step.words[1]) + "; on screen: " +
                                joined(visibleTexts(window)));
    platform::TouchDriver(window).tap(found->centre());
}

void cmdBack(ScenarioSession& s, const Step&) {
    auto found = findFrontmostOfClass(s.requireWindow(), "UINavigationBar");
    auto bar = found ? cast<UINavigationBar>(found->view) : nullptr;
    if (!bar || !bar->tapBackButton()) throw StepError("there is no back button on screen");
}

void cmdWait(ScenarioSession& s, const Step& step) {
    auto seconds = parseDuration(step.words[1]);
    if (!seconds) throw StepError("wants a duration such as 1s or 250ms, not " + inQuotes(step.words[1]));
    if (*seconds > kMaxWaitSeconds)
        throw StepError("waits at most " + std::string(kMaxWaitText) + " at a time, not " + inQuotes(step.words[1]));
    s.phone().advance(*seconds);
}

}  // namespace

const std::vector<ScenarioCommand>& touchCommands() {
    static const std::vector<ScenarioCommand> kRows = {
        {{"tap", "TARGET", "tap the front-most visible view showing TARGET: a text (label, button title, card title), a system symbol's name (gear), an image file's name (done.png), or @X,Y in points"}, 1, 1, cmdTap},
        {{"drag", "TARGET TARGET", "a drag through the touch driver from one target to another"}, 2, 2, cmdDrag},
        {{"reorder", "\"TITLE\" selected|available INDEX", "in the card editor, drag that card's row by its handle to that section at position INDEX (0 is the top)"}, 3, 3, cmdReorder},
        {{"scroll", "[DX] DY", "scroll the front-most scrollable view by DY points (positive: further down the content), and by DX across (positive: further right)"}, 1, 2, cmdScroll},
        {{"toggle", "TARGET", "tap the switch of the row showing TARGET (its title), or of the navigation bar with bar"}, 1, 1, cmdToggle},
        {{"slide", "TARGET VALUE", "drag the thumb of the slider of the row showing TARGET to VALUE (within the slider's range)"}, 2, 2, cmdSlide},
        {{"type", "\"TEXT\"", "type TEXT with the keyboard into the text field or text view being edited (tap it first)"}, 1, 1, cmdType},
        {{"return", "", "press the keyboard's return key: a text field ends editing (its row stores the text), a text view gets a new line"}, 0, 0, cmdReturn},
        {{"back", "", "press the back button of the front-most navigation bar"}, 0, 0, cmdBack},
        {{"wait", "DURATION", "advance the virtual clock (1s, 250ms, 2m; at most 24 hours at a time); timers, animations and deferred work run"}, 1, 1, cmdWait},
    };
    return kRows;
}

}  // namespace sim::scenario
